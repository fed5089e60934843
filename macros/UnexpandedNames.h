// Finding, in text a rescan pass kept as it stands, a name the pass would
// have replaced had it read that far.
#pragma once

#include <string_view>

#include "macros/PassWithoutParse.h"

namespace orvo {

// The first name in `text` that `expands(name)` says a pass replaces where it
// stands, or that `calls(name)` says is a call when "(" follows it (blanks
// between are allowed); empty when there is none. Names inside character and
// string literals and inside comments are passed over, and a run of word
// bytes that begins with a digit is a number, never a name.
template <class Expands, class Calls>
std::string_view FirstNameLeftUnexpanded(std::string_view text, const Expands& expands,
                                         const Calls& calls) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      // To the closing quote, past escaped bytes; a literal left open ends
      // at its line.
      ++i;
      while (i < text.size() && text[i] != c && text[i] != '\n') i += text[i] == '\\' ? 2 : 1;
      ++i;
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      const std::size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end;
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
      continue;
    }
    if (!pass_bytes::IsWordByte(c)) {
      ++i;
      continue;
    }
    const std::size_t begin = i;
    while (i < text.size() && pass_bytes::IsWordByte(text[i])) ++i;
    if (pass_bytes::IsDigit(c)) continue;
    const std::string_view name = text.substr(begin, i - begin);
    if (expands(name)) return name;
    std::size_t next = i;
    while (next < text.size() && pass_bytes::Is(text[next], pass_bytes::kSpace)) ++next;
    if (next < text.size() && text[next] == '(' && calls(name)) return name;
  }
  return {};
}

}  // namespace orvo
