#include "compare/FileIdentity.h"

#include <filesystem>
#include <system_error>

namespace orvo::compare {

namespace {

std::string canonical(const std::string& name) {
  std::error_code error;
  std::string key = std::filesystem::weakly_canonical(name, error).string();
  return error || key.empty() ? name : key;
}

}  // namespace

FileIdentity::FileIdentity(const std::string& inputName, const std::string& inputPath) {
  m_Files.push_back(File{{inputName, inputName}, {true, true}});
  // A name no path can be, so that no other file takes the input's number.
  m_ByKey[std::string(1, '\0') + inputName] = 0;
  if (!inputPath.empty()) m_ByKey[canonical(inputPath)] = 0;
  m_ByName[kMainSide][inputName] = 0;
  m_ByName[kStandardSide][inputName] = 0;
}

int FileIdentity::idOf(Side side, const std::string& name) {
  if (const auto known = m_ByName[side].find(name); known != m_ByName[side].end())
    return known->second;
  auto [found, added] = m_ByKey.try_emplace(canonical(name), static_cast<int>(m_Files.size()));
  if (added) m_Files.emplace_back();
  File& file = m_Files[static_cast<std::size_t>(found->second)];
  if (file.names[side].empty()) file.names[side] = name;
  m_ByName[side][name] = found->second;
  return found->second;
}

const std::string& FileIdentity::shownName(int id) const {
  const File& file = m_Files[static_cast<std::size_t>(id)];
  return file.names[kMainSide].empty() ? file.names[kStandardSide] : file.names[kMainSide];
}

}  // namespace orvo::compare
