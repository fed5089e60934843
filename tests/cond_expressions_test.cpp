// Constant expressions of #if and #elif through the whole preprocessing run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::pp;
using test::ppError;

// A section whose output says which branch was taken.
std::string branchOf(const std::string& prelude, const std::string& expression) {
  const std::string out = pp(prelude + "#if " + expression + "\r\nT\r\n#else\r\nF\r\n#endif");
  if (out == "\r\nT\r\n") return "T";
  if (out == "\r\nF\r\n") return "F";
  return "unexpected output: " + out;
}

TEST(ConstantExpression, SelectsTheBranch) {
  const struct {
    const char* prelude;
    const char* expression;
    const char* branch;
  } cases[] = {
      {"", "1 ? 2 : 0", "T"},
      {"", "0 ? 2 : 0", "F"},
      {"", "0 ? 0 : 3", "T"},
      {"", "1 ? 0 : 1 ? 1 : 1", "F"},  // ?: groups to the right
      {"", "5 >= 4", "T"},
      {"", "2 >= 4", "F"},
      {"", "3 <= 3 && 2 < 3 && 4 > 3", "T"},
      {"", "-1 < 0", "T"},
      {"", "-8 >> 1 == -4", "T"},
      {"", "1 << 33 == 2", "T"},
      {"", "1 << 31 < 0", "T"},
      {"", "2147483647 + 1 < 0", "T"},
      {"", "0x7FFFFFFF * 2 == -2", "T"},
      {"", "2 - 3 - 4 == -5", "T"},
      {"", "-7 / 2 == -3 && -7 % 2 == -1 && 7 % -2 == 1", "T"},
      {"", "(-2147483647 - 1) / -1 == -2147483647 - 1", "T"},
      {"", "(-2147483647 - 1) % -1 == 0", "T"},
      {"", "6 & 3 == 2", "F"},  // == binds tighter than &
      {"", "(6 & 3) == 2 && (6 | 1) == 7 && (6 ^ 3) == 5", "T"},
      {"", "0 || 0", "F"},
      {"", "0 || 2", "T"},
      {"", "2 && 0", "F"},
      {"", "0x10 == 16", "T"},
      {"", "010 == 8", "T"},
      {"", "0xFFFFFFFF == 2147483647", "T"},
      {"", "0x10L == 16 && 017u == 15 && 08 == 0", "T"},
      {"", "!0", "T"},
      {"", "!5", "F"},
      {"", "~0 == -1", "T"},
      {"", "- - 3 == 3 && + 3 == 3", "T"},
      {"", "0", "F"},
      {"#define X 0\r\n", "X", "T"},
      {"#define X 0\r\n", "defined(X)", "T"},
      {"#define X 0\r\n", "defined X", "T"},
      {"#define X 5\r\n", "X == 1", "T"},  // a user macro's value is not its replacement
      {"#define G(a) a\r\n", "G", "T"},
      {"", "Y", "F"},
      {"", "defined Y", "F"},
      {"", "defined(2+3) == 5", "T"},
      {"", "__cplusplus", "T"},
      {"", "defined __BORLANDC__ == 1376", "T"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(branchOf(c.prelude, c.expression), c.branch) << c.prelude << "#if " << c.expression;
}

// `defined` right after a binary operator: with or without a blank before
// the parenthesis, the name defined as 1 or not defined (then 0).
TEST(ConstantExpression, DefinedAfterEveryBinaryOperator) {
  const struct {
    const char* op;
    int (*apply)(int, int);
  } operators[] = {
      {"||", [](int a, int b) { return int(a || b); }}, {"&&", [](int a, int b) { return int(a && b); }},
      {"|", [](int a, int b) { return a | b; }},        {"^", [](int a, int b) { return a ^ b; }},
      {"&", [](int a, int b) { return a & b; }},        {"==", [](int a, int b) { return int(a == b); }},
      {"!=", [](int a, int b) { return int(a != b); }}, {"<", [](int a, int b) { return int(a < b); }},
      {">", [](int a, int b) { return int(a > b); }},   {"<=", [](int a, int b) { return int(a <= b); }},
      {">=", [](int a, int b) { return int(a >= b); }}, {"<<", [](int a, int b) { return a << b; }},
      {">>", [](int a, int b) { return a >> b; }},      {"+", [](int a, int b) { return a + b; }},
      {"-", [](int a, int b) { return a - b; }},        {"*", [](int a, int b) { return a * b; }},
      {"/", [](int a, int b) { return a / b; }},        {"%", [](int a, int b) { return a % b; }},
  };
  for (const auto& o : operators) {
    for (const bool defined : {true, false}) {
      if (!defined && (std::string(o.op) == "/" || std::string(o.op) == "%")) continue;
      const std::string prelude = defined ? "#define X 1\r\n" : "";
      const std::string expected = o.apply(1, defined ? 1 : 0) != 0 ? "T" : "F";
      for (const char* operand : {"defined(X)", "defined (X)", "defined X"}) {
        const std::string expression = std::string("1 ") + o.op + " " + operand;
        EXPECT_EQ(branchOf(prelude, expression), expected) << prelude << "#if " << expression;
      }
    }
  }
}

TEST(ConstantExpression, DefinedInChainsGroupsConditionalsAndElif) {
  const std::string ab = "#define A 1\r\n#define B 1\r\n";
  const struct {
    std::string prelude;
    const char* expression;
    const char* branch;
  } cases[] = {
      {ab, "defined(A) && defined(B)", "T"},
      {"#define A 1\r\n", "defined(A) && defined(B)", "F"},
      {"", "defined(A) || defined(B) || defined(C)", "F"},
      {"#define C 1\r\n", "defined(A) || defined(B) || defined (C)", "T"},
      {ab, "(defined(A) && defined(B)) || (defined(C) && defined(D))", "T"},
      {ab, "!(defined(A) && !defined(B))", "T"},
      {ab, "defined(A) == defined(B)", "T"},
      {ab, "defined(A) ? defined(B) : defined(C)", "T"},
      {"", "defined(A) ? 1 : defined(B)", "F"},
      {"", "1 ? defined(A) : defined (B)", "F"},
      {ab, "defined(A) + defined(B) == 2", "T"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(branchOf(c.prelude, c.expression), c.branch) << c.prelude << "#if " << c.expression;

  EXPECT_EQ(pp(ab + "#if 0\r\nno\r\n#elif defined(A) && defined(B)\r\nyes\r\n#endif"),
            "\r\nyes\r\n");
  EXPECT_EQ(pp("#if 0\r\nno\r\n#elif defined(A) || defined (B)\r\nno\r\n#else\r\nyes\r\n#endif"),
            "\r\nyes\r\n");
}

TEST(ConstantExpression, EvaluatesEveryOperandSoDivisionBy0EndsTheRun) {
  for (const char* expression :
       {"7 % 0", "1/0", "0 && 1/0", "1 || 1 % 0", "1 ? 1 : 1/0", "0 ? 1/0 : 1", "1/(2-2)"}) {
    EXPECT_EQ(ppError(std::string("#if ") + expression + "\r\n#endif"), "division by 0")
        << expression;
  }
}

TEST(ConstantExpression, NonIntegerDecimalConstantsEndTheRunWithTheConversionError) {
  for (const char* expression : {"10L", "'a'", "1e5", "2147483648"}) {
    const RunResult result = runPreprocessor(std::string("#if ") + expression + "\r\n#endif", {});
    ASSERT_FALSE(result.ok()) << expression;
    EXPECT_EQ(result.error->errorClass, ErrorClass::Standard) << expression;
    EXPECT_EQ(result.error->text,
              "bad lexical cast: source type value could not be interpreted as target")
        << expression;
  }
}

TEST(ConstantExpression, ExtremeNestingEndsWithAMessageInsteadOfCrashing) {
  const int kLevels = 100000;
  std::string minuses;
  std::string parentheses;
  for (int i = 0; i < kLevels; ++i) minuses += "- ";
  parentheses = std::string(kLevels, '(') + "1" + std::string(kLevels, ')');
  for (const std::string& expression : {minuses + "1", parentheses}) {
    const RunResult result = runPreprocessor("#if " + expression + "\r\n#endif", {});
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->text.rfind("nesting too deep", 0), 0u) << result.error->text;
  }
}

// Included files are parsed in collect mode: a syntax error ends only that
// file, while a division by 0 still ends the run.
class IncludedExpression : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("orvo_cond_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  RunResult runIncluding(const std::string& fileText) {
    std::ofstream(dir_ / "expr.h", std::ios::binary) << fileText;
    RunOptions options;
    options.sourceDir = dir_.string();
    return runPreprocessor("#include \"expr.h\"\r\nok", options);
  }

  std::filesystem::path dir_;
};

TEST_F(IncludedExpression, MissingDivisorIsASyntaxErrorNotADivisionBy0) {
  const RunResult result = runIncluding("#if 1 /\r\n#endif\r\n");
  ASSERT_TRUE(result.ok()) << result.error->text;
  EXPECT_EQ(result.output, "\r\nok");
  EXPECT_FALSE(result.diagnostics.empty());
}

TEST_F(IncludedExpression, DefinedAfterOperatorsWorksInAnIncludedFile) {
  const RunResult result = runIncluding(
      "#define A 1\r\n#define B 1\r\n"
      "#if defined(A) && defined(B)\r\nboth\r\n#endif\r\n"
      "#if 1 + defined (C) == 1 || defined(D)\r\nsum\r\n#endif\r\n"
      "#if 0\r\n#elif defined(A) != defined(C)\r\nelif\r\n#endif\r\n");
  ASSERT_TRUE(result.ok()) << result.error->text;
  EXPECT_TRUE(result.diagnostics.empty()) << result.diagnostics.front().text;
  EXPECT_EQ(result.output, "\r\nboth\r\n\r\n\r\nsum\r\n\r\n\r\nelif\r\n\r\n\r\nok");
}

TEST_F(IncludedExpression, DivisionBy0EndsTheRun) {
  const RunResult result = runIncluding("#if 1 / 0\r\n#endif\r\n");
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->text, "division by 0");
}

}  // namespace
}  // namespace orvo
