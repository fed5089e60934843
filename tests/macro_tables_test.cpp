// The predefined macros and the table queries that directives use: lookup
// order, undef, and the values identifiers have in conditions.
#include <gtest/gtest.h>

#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::crlf;
using test::pp;

TEST(MacroTables, PredefinedMacrosHaveFixedValues) {
  const struct {
    const char* name;
    const char* value;
  } predefined[] = {
      {"__LINE__", "1"},          {"__FILE__", "1"},          {"__DATE__", "1"},
      {"__TIME__", "1"},          {"__cplusplus", "1"},       {"__BORLANDC__", "1376"},
      {"__BCPLUSPLUS__", "1376"}, {"__TCPLUSPLUS__", "1376"}, {"__TEMPLATES__", "1"},
      {"__TLS__", "1"},           {"__TURBOC__", "1376"},     {"_WCHAR_T", "1"},
      {"_M_IX86", "300"},         {"_Windows", "1"},          {"__WIN32__", "1"},
  };
  for (const auto& macro : predefined) {
    EXPECT_EQ(pp(std::string("x = ") + macro.name + ";"), std::string("x = ") + macro.value + ";");
    // Also where "(" follows the name, and inside a rescanned replacement.
    EXPECT_EQ(pp(std::string(macro.name) + " ()"), std::string(macro.value) + "()");
    EXPECT_EQ(pp(crlf({std::string("#define M [") + macro.name + "]", "M"})),
              std::string("[") + macro.value + "]");
  }
}

TEST(MacroTables, PredefinedMacrosHideUserDefinitionsUntilUndefined) {
  EXPECT_EQ(pp(crlf({"#define __LINE__ 5", "__LINE__"})), "1");
  EXPECT_EQ(pp(crlf({"#undef __LINE__", "#define __LINE__ 7", "__LINE__"})), "\r\n7");
  // An undef removes the predefined entry and a user definition together.
  EXPECT_EQ(pp(crlf({"#define __cplusplus 2", "#undef __cplusplus", "__cplusplus"})),
            "\r\n__cplusplus");
  EXPECT_EQ(pp(crlf({"#define FOO 4", "#undef FOO", "#undef FOO", "x = FOO;"})),
            "\r\n\r\nx = FOO;");
}

TEST(MacroTables, ConditionsSeeDefinitionsButNotUserValues) {
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      {crlf({"#if __TURBOC__ == 1376", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#if defined __BORLANDC__", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#if _M_IX86 / 300 == 1", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#ifdef __TLS__", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#undef __cplusplus", "#if __cplusplus", "t", "#endif"}), "\r\n"},
      // A user macro counts as 1, whatever its replacement text.
      {crlf({"#define X 0", "#if X", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#define X 5", "#if X == 1", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#define f(x) x", "#ifdef f", "t", "#endif"}), "\r\nt\r\n"},
      {crlf({"#define f(x) x", "#undef f", "#if defined(f)", "t", "#endif"}), "\r\n\r\nt\r\n"},
      {crlf({"#if UNKNOWN", "t", "#endif"}), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
}

}  // namespace
}  // namespace orvo
