// The characters a composite scanner passes over in front of a token.
#pragma once

#include <bitset>

namespace orvo {

class CVL_IgnoreScanner {
 public:
  // Ignores every character of the zero-terminated `chars`.
  explicit CVL_IgnoreScanner(const char* chars);

  // Advances `position` over ignored characters, stopping at `inputEnd`;
  // true if it moved.
  bool passOver(const char*& position, const char* inputEnd) const {
    const char* const start = position;
    while (position != inputEnd && ignores(*position)) ++position;
    return position != start;
  }

  bool ignores(char c) const { return m_Chars[static_cast<unsigned char>(c)]; }

 private:
  std::bitset<256> m_Chars;
};

}  // namespace orvo
