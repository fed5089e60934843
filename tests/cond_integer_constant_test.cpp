#include <gtest/gtest.h>

#include <boost/lexical_cast.hpp>
#include <climits>

#include "grammar/IntegerConstant.h"

namespace orvo {
namespace {

TEST(IntegerConstant, ConvertsByLeadingDigit) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"42", 42},
      {"2147483647", INT_MAX},
      // Hexadecimal and octal stop at the first character outside their base.
      {"0x10", 16},
      {"0X1f", 31},
      {"0x10UL", 16},
      {"017", 15},
      {"017L", 15},
      {"08", 0},
      {"0e5", 0},
      // Beyond the int range: clamped, also where strtol itself overflows.
      {"0xFFFFFFFF", INT_MAX},
      {"0x80000000", INT_MAX},
      {"0x1FFFFFFFFFFFFFFFFFFF", INT_MAX},
      {"040000000000", INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(IntegerConstantValue(c.text), c.value) << c.text;
}

TEST(IntegerConstant, DecimalTextMustBeAPlainInt) {
  for (const char* text : {"10L", "'a'", "L'a'", "1e5", "2147483648", "5u", "12f"})
    EXPECT_THROW(IntegerConstantValue(text), boost::bad_lexical_cast) << text;
}

}  // namespace
}  // namespace orvo
