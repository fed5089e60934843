#include "grammar/IncludeSearch.h"

#include <boost/filesystem.hpp>
#include <utility>

#include "base/Message.h"

namespace orvo {

namespace fs = boost::filesystem;

IncludeName SplitIncludeName(const std::string& name) {
  const std::size_t slash = name.rfind(kPathSeparator);
  if (slash == std::string::npos) return {"", name};
  return {name.substr(0, slash + 1), name.substr(slash + 1)};
}

std::string JoinDirectory(const std::string& directory, const std::string& part) {
  if (directory.empty()) return part;
  if (part.empty()) return directory;
  const bool directoryEnds = directory.back() == kPathSeparator;
  const bool partStarts = part.front() == kPathSeparator;
  if (directoryEnds && partStarts) return directory + part.substr(1);
  if (directoryEnds || partStarts) return directory + part;
  return directory + kPathSeparator + part;
}

void IncludeSearch::requireDirectory(const std::string& directory, const std::string& candidate) {
  if (m_CheckedDirectories.count(directory) != 0) return;
  if (!directory.empty() && !fs::exists(directory)) {
    throw fs::filesystem_error(
        "boost::filesystem::is_directory", fs::path(directory),
        boost::system::errc::make_error_code(boost::system::errc::no_such_file_or_directory));
  }
  if (directory.empty() || !fs::is_directory(directory))
    throw CVL_Message((candidate + " is not a directory").c_str());
  m_CheckedDirectories.insert(directory);
}

std::vector<IncludeSearch::SkippedFolder> IncludeSearch::takeSkippedFolders() {
  return std::exchange(m_Skipped, {});
}

std::optional<std::string> IncludeSearch::find(const std::string& directory,
                                               const std::string& leaf) {
  auto known = m_Canonical.find(directory);
  if (known == m_Canonical.end()) {
    boost::system::error_code ec;
    const fs::path canonical = fs::canonical(directory, ec);
    std::optional<std::string> resolved;
    if (!ec) resolved = canonical.string();
    known = m_Canonical.emplace(directory, std::move(resolved)).first;
  }
  if (!known->second) return std::nullopt;  // not there: nothing to find
  std::set<const Listing*> visited;
  return walk(directory, *known->second, leaf, 0, visited);
}

std::optional<std::string> IncludeSearch::walk(const std::string& directory,
                                               const std::string& canonical,
                                               const std::string& leaf, int level,
                                               std::set<const Listing*>& visited) {
  const Listing& entries = listing(canonical);
  if (!visited.insert(&entries).second) return std::nullopt;  // reached again through a link

  for (const Entry& entry : entries) {
    const std::string path = JoinDirectory(directory, entry.name);
    if (!entry.canonical.empty()) {
      if (level >= kMaxSearchDepth) {
        throw CVL_Message(("#include search deeper than " + std::to_string(kMaxSearchDepth) +
                           " directory levels at " + path)
                              .c_str());
      }
      if (auto found = walk(path, entry.canonical, leaf, level + 1, visited)) return found;
    } else if (entry.name == leaf) {
      return path;
    }
  }
  return std::nullopt;
}

const IncludeSearch::Listing& IncludeSearch::listing(const std::string& canonical) {
  const auto cached = m_Listings.find(canonical);
  if (cached != m_Listings.end()) return cached->second;

  Listing entries;
  // A folder that cannot be read is searched as empty and reported once;
  // the search goes on in the others.
  boost::system::error_code listError;
  fs::directory_iterator item(canonical, listError);
  for (; !listError && item != fs::directory_iterator(); item.increment(listError)) {
    boost::system::error_code ec;
    Entry entry{item->path().filename().string(), std::string()};
    if (fs::is_directory(item->status(ec))) {
      const fs::path resolved = fs::canonical(item->path(), ec);
      if (!ec) entry.canonical = resolved.string();
    }
    entries.push_back(std::move(entry));
  }
  if (listError) {
    entries.clear();
    m_Skipped.push_back(SkippedFolder{canonical, listError.message()});
  }
  return m_Listings.emplace(canonical, std::move(entries)).first->second;
}

}  // namespace orvo
