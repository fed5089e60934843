// Working out, without parsing, what a rescan pass makes of a simple text. A
// pass copies every token with the blanks in front of it and drops the
// blanks at the end; only a name it expands, a macro call, a backslash, a
// comment, a line break or a "#" makes it write anything else.
#pragma once

#include <array>
#include <string_view>

namespace orvo {
namespace pass_bytes {

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

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline bool DigitsOnly(std::string_view word) {
  for (const char c : word)
    if (!IsDigit(c)) return false;
  return true;
}

// Calls `run(begin, end)` for each run of word bytes in `text`, in order,
// until one returns false; false then.
template <class Run>
bool ForEachWordRun(std::string_view text, const Run& run) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsWordByte(text[i])) {
      ++i;
      continue;
    }
    const std::size_t begin = i;
    while (i < text.size() && IsWordByte(text[i])) ++i;
    if (!run(begin, i)) return false;
  }
  return true;
}

// Length of `text` without the blanks at its end.
inline std::size_t LengthBeforeTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return end;
}

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

}  // namespace pass_bytes

// Whether a pass over `text` would give it back unchanged but for trailing
// blanks: it holds only blanks, operators and other single characters, so
// there is no name to expand, no number or literal to read, and nothing that
// joins or drops text (backslash, comment, line break, "#").
inline bool TextIsInert(std::string_view text) {
  for (const char c : text)
    if (pass_bytes::Is(c, pass_bytes::kNotInert)) return false;
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
  if (!pass_bytes::BytesAreCopiedThrough(text)) return false;
  return pass_bytes::ForEachWordRun(text, [&](std::size_t begin, std::size_t end) {
    const bool tailsToo = begin > 0 && (text[begin - 1] == '.' || text[begin - 1] == '+' ||
                                        text[begin - 1] == '-');
    for (std::size_t tail = begin; tail < (tailsToo ? end : begin + 1); ++tail) {
      const std::string_view word = text.substr(tail, end - tail);
      if (!pass_bytes::DigitsOnly(word) && expands(word)) return false;
    }
    return true;
  });
}

// Whether the identifier tokens a pass reads in `text` are exactly its runs
// of word bytes that begin with a letter or "_": the bytes leave the pass
// nothing else to rewrite, no quote begins a character or string literal,
// no run that begins with a digit holds more than digits (a number, never a
// name), and no "." stands right in front of a name, where a floating
// constant could reach into it.
inline bool NamesAreWholeRuns(std::string_view text) {
  if (!pass_bytes::BytesAreCopiedThrough(text)) return false;
  for (const char c : text)
    if (c == '\'' || c == '"') return false;
  return pass_bytes::ForEachWordRun(text, [&](std::size_t begin, std::size_t end) {
    const std::string_view word = text.substr(begin, end - begin);
    if (pass_bytes::IsDigit(word.front())) return pass_bytes::DigitsOnly(word);
    return begin == 0 || text[begin - 1] != '.';
  });
}

// For a text where NamesAreWholeRuns holds: calls `copy` with each stretch
// of text between names and `name` with each name, in order.
template <class Copy, class Name>
void ForEachName(std::string_view text, const Copy& copy, const Name& name) {
  std::size_t copied = 0;
  pass_bytes::ForEachWordRun(text, [&](std::size_t begin, std::size_t end) {
    if (pass_bytes::IsDigit(text[begin])) return true;
    copy(text.substr(copied, begin - copied));
    name(text.substr(begin, end - begin));
    copied = end;
    return true;
  });
  copy(text.substr(copied));
}

}  // namespace orvo
