#include "compare/SourceLines.h"

#include <algorithm>

#include "files/FileRead.h"
#include "orvo/SourcePlace.h"

namespace orvo::compare {
namespace {

// Largest included file read for the text of its lines: real headers are far
// smaller, and a device or a huge file costs no more than this.
constexpr std::size_t kMaxHeaderBytes = std::size_t{64} << 20;

std::vector<std::size_t> lineStarts(std::string_view text) {
  std::vector<std::size_t> starts = {0};
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
    starts.push_back(at + 1);
  return starts;
}

}  // namespace

SourceLines::SourceLines(std::string_view input) : m_Input(input), m_Starts(lineStarts(input)) {}

std::size_t SourceLines::startOf(int line) const {
  if (line < 1 || line > static_cast<int>(m_Starts.size())) return m_Input.size();
  return m_Starts[static_cast<std::size_t>(line - 1)];
}

std::string SourceLines::lineIn(std::string_view text, const std::vector<std::size_t>& starts, int line) {
  if (line < 1 || line > static_cast<int>(starts.size())) return {};
  const std::size_t from = starts[static_cast<std::size_t>(line - 1)];
  const std::size_t to = std::min(text.find_first_of("\r\n", from), text.size());
  return std::string(text.substr(from, std::min(to - from, SourcePlace::kMaxLineTextBytes)));
}

std::string SourceLines::mainLine(int line) const { return lineIn(m_Input, m_Starts, line); }

std::string SourceLines::fileLine(const std::string& path, int line) {
  auto found = m_Files.find(path);
  if (found == m_Files.end()) {
    File file;
    if (files::readWholeFile(path, kMaxHeaderBytes, file.text)) file.text.clear();
    file.starts = lineStarts(file.text);
    found = m_Files.emplace(path, std::move(file)).first;
  }
  return lineIn(found->second.text, found->second.starts, line);
}

}  // namespace orvo::compare
