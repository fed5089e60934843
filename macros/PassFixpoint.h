// Telling, without parsing, that a rescan pass would give a text back as it
// is. A pass copies every token with the blanks in front of it and drops the
// blanks at the end; only a name it expands, a macro call, a backslash, a
// comment, a line break or a "#" makes it write anything else.
#pragma once

#include <string_view>

namespace zemra {
namespace pass_fixpoint {

inline bool IsWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The blanks a call's name may be separated from its "(" by.
inline bool IsSpaceByte(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether the bytes alone leave the pass nothing to rewrite: no byte outside
// ASCII (whether it is part of a name depends on the locale), no backslash,
// "#" or line break, no comment start, no name directly followed by "(", and
// no blank at the end.
inline bool BytesAreCopiedThrough(std::string_view text) {
  if (text.empty() || text.back() == ' ' || text.back() == '\t') return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '#' || c == '\r' || c == '\n')
      return false;
    if (c == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*')) return false;
    if (c == '(') {
      std::size_t j = i;
      while (j > 0 && IsSpaceByte(text[j - 1])) --j;
      if (j > 0 && IsWordByte(text[j - 1])) return false;
    }
  }
  return true;
}

}  // namespace pass_fixpoint

// Whether a rescan pass over `text` would return it unchanged, with no
// message and no macro made busy; `expands(name)` tells whether the pass
// would replace an identifier `name`. Conservative: false means only that
// the pass has to run.
//
// An identifier token is a whole run of word bytes, except where a floating
// constant ends inside a run: such a constant reaches into the run across a
// ".", "+" or "-" right in front of it. Every tail of those runs is checked
// as well. A word of digits alone is read as a number, never as a name.
template <class Expands>
bool PassKeepsText(std::string_view text, const Expands& expands) {
  using pass_fixpoint::IsWordByte;
  if (!pass_fixpoint::BytesAreCopiedThrough(text)) return false;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsWordByte(text[i])) {
      ++i;
      continue;
    }
    const std::size_t begin = i;
    while (i < text.size() && IsWordByte(text[i])) ++i;
    const bool tailsToo = begin > 0 && (text[begin - 1] == '.' || text[begin - 1] == '+' ||
                                        text[begin - 1] == '-');
    for (std::size_t tail = begin; tail < (tailsToo ? i : begin + 1); ++tail) {
      const std::string_view word = text.substr(tail, i - tail);
      if (word.find_first_not_of("0123456789") == std::string_view::npos) continue;
      if (expands(word)) return false;
    }
  }
  return true;
}

}  // namespace zemra
