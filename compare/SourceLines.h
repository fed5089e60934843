// The text of input lines for the places of differences: the main input's
// from memory, an included file's read once from the disk.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::compare {

class SourceLines {
 public:
  explicit SourceLines(std::string_view input);

  // Byte offset where line `line` (from 1) of the main input begins; the
  // input's size past its end.
  std::size_t startOf(int line) const;
  // Line `line` of the main input, without its line break, cut after
  // SourcePlace::kMaxLineTextBytes.
  std::string mainLine(int line) const;
  // Line `line` of the file at `path`; empty when it cannot be read.
  std::string fileLine(const std::string& path, int line);

 private:
  static std::string lineIn(std::string_view text, const std::vector<std::size_t>& starts, int line);

  std::string_view m_Input;
  std::vector<std::size_t> m_Starts;
  struct File {
    std::string text;
    std::vector<std::size_t> starts;
  };
  std::map<std::string, File> m_Files;
};

}  // namespace orvo::compare
