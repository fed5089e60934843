// Telling, without parsing, that a rescan pass would give a text back as it
// is. A pass copies every token with the blanks in front of it and drops the
// blanks at the end; only a name it expands, a macro call, a backslash, a
// comment, a line break or a "#" makes it write anything else.
#pragma once

#include <array>
#include <string_view>

namespace zemra {
namespace pass_fixpoint {

// What the checks below need to know of a byte.
enum ByteClass : unsigned char {
  kWord = 1,         // a byte of a name or number
  kSpace = 2,        // a blank a call's name may be separated from its "(" by
  kRewritten = 4,    // a byte a pass may rewrite around: beyond ASCII, "\\", "#", CR, LF
  kNotInert = 8,     // a byte that may begin more than a single-character token
};

constexpr std::array<unsigned char, 256> MakeByteClasses() {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    unsigned char bits = 0;
    if (alnum || c == '_') bits |= kWord;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') bits |= kSpace;
    if (c >= 0x80 || c == '\\' || c == '#' || c == '\r' || c == '\n') bits |= kRewritten;
    if (alnum || c >= 0x80 || c == '_' || c == '\\' || c == '/' || c == '#' || c == '\r' ||
        c == '\n' || c == '\'' || c == '"')
      bits |= kNotInert;
    classes[static_cast<std::size_t>(c)] = bits;
  }
  return classes;
}

inline constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

inline bool Is(char c, ByteClass bit) {
  return (kByteClasses[static_cast<unsigned char>(c)] & bit) != 0;
}

inline bool IsWordByte(char c) { return Is(c, kWord); }

// Whether the bytes alone leave the pass nothing to rewrite: no byte outside
// ASCII (whether it is part of a name depends on the locale), no backslash,
// "#" or line break, no comment start, no name directly followed by "(", and
// no blank at the end.
inline bool BytesAreCopiedThrough(std::string_view text) {
  if (text.empty() || text.back() == ' ' || text.back() == '\t') return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (Is(c, kRewritten)) return false;
    if (c == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*')) return false;
    if (c == '(') {
      std::size_t j = i;
      while (j > 0 && Is(text[j - 1], kSpace)) --j;
      if (j > 0 && IsWordByte(text[j - 1])) return false;
    }
  }
  return true;
}

}  // namespace pass_fixpoint

// Whether a pass over `text` would give it back unchanged but for trailing
// blanks: it holds only blanks, operators and other single characters, so
// there is no name to expand, no number or literal to read, and nothing that
// joins or drops text (backslash, comment, line break, "#").
inline bool TextIsInert(std::string_view text) {
  for (const char c : text)
    if (pass_fixpoint::Is(c, pass_fixpoint::kNotInert)) return false;
  return true;
}

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
