// The character classes of the scanner expressions (\w, \s, \d,
// [[:xdigit:]]) as a table over the 256 byte values, taken from the regular
// expression library's own traits so that hand-written matchers classify
// every byte exactly as the compiled expressions do.
#pragma once

#include <array>
#include <cstdint>
#include <locale>

namespace orvo {

class CVL_ByteClasses {
 public:
  // The classes as the library's traits see them under `locale`.
  explicit CVL_ByteClasses(const std::locale& locale);

  bool word(char c) const { return has(c, kWord); }
  bool space(char c) const { return has(c, kSpace); }
  bool digit(char c) const { return has(c, kDigit); }
  bool xdigit(char c) const { return has(c, kXdigit); }

 private:
  static constexpr std::uint8_t kWord = 1, kSpace = 2, kDigit = 4, kXdigit = 8;

  bool has(char c, std::uint8_t cls) const {
    return (m_Classes[static_cast<unsigned char>(c)] & cls) != 0;
  }

  std::array<std::uint8_t, 256> m_Classes{};
};

}  // namespace orvo
