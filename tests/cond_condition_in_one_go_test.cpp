// The condition of #if and #elif is first read without the expression
// productions. Wherever that reading gives up or goes through, the run must
// end exactly as the productions alone end it: the same output, the same
// error and the same messages at the same places.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

// The productions alone run in the reference mode.
std::string RunWith(std::string_view input, bool fast) {
  RunOptions options;
  options.mode = fast ? Mode::Fast : Mode::Reference;
  return test::RunSummary(runPreprocessor(input, options));
}

// A user macro counts as 1 in a condition, whatever it stands for.
constexpr std::string_view kDefinitions =
    "#define ONE 1\n#define ZERO 0\n#define F(x) x\n";

TEST(ConditionInOneGo, EvaluatesAsTheProductions) {
  const struct {
    const char* condition;
    bool taken;
  } cases[] = {
      {"ONE && ZERO || !ZERO", true},
      {"ONE && NONE", false},
      {"ZERO", true},
      {"(ONE + 2) * 3 - 4 / 2 % 3 == 7", true},
      {"1 << 3 >> 1 == 4 && (5 & 3 | 8 ^ 2) == 11", true},
      {"-1 < 0 && ~0 == -1 && +3 >= 3 && 2 <= 2 && 3 > 2", true},
      {"defined ONE && defined(ZERO) && !defined NONE", true},
      {"UNDEFINED", false},
      {"F", true},
      {"010 == 8", true},
      {"0 == 00", true},
      {"2147483647 + 1 < 0", true},
      {"-2147483647 - 1 == 1 << 31", true},
      {"ONE ? 0 : 1", false},
      {"((((ONE))))", true},
      {"0x10 == 16", true},
  };
  for (const auto& c : cases) {
    const std::string input = std::string(kDefinitions) + "#if " + c.condition +
                              "\nyes\n#else\nno\n#endif\n#if 0\n#elif " + c.condition +
                              "\nelif\n#endif\n";
    const std::string expected = c.taken ? "yes" : "no";
    RunOptions options;
    const RunResult result = runPreprocessor(input, options);
    EXPECT_NE(result.output.find(expected), std::string::npos) << c.condition << "\n" << result.output;
    EXPECT_EQ(result.output.find("elif") != std::string::npos, c.taken) << c.condition;
    EXPECT_EQ(RunWith(input, true), RunWith(input, false)) << c.condition;
  }
}

TEST(ConditionInOneGo, LeavesErrorsAndOddTextToTheProductions) {
  const char* const conditions[] = {
      "1 / 0", "1 % (ONE - 1)", "1 +", "(1", "1 2", "1 )", "", "99999999999", "'a' == 97",
      "ONE /* comment */ && 1", "ONE // comment", "1 \\\n + 1", "__LINE__ > 1", "F(1)",
      "defined", "defined(", "1 ? 2", "1L == 1", "1 = 1", "#", "\"s\"", "ONE ## ZERO",
  };
  for (const char* condition : conditions) {
    const std::string input =
        std::string(kDefinitions) + "#if " + condition + "\nyes\n#endif\nafter\n";
    EXPECT_EQ(RunWith(input, true), RunWith(input, false)) << condition;
  }
}

// A condition from a small grammar of operands and operators, now and
// then with a token too many or too few.
std::string RandomCondition(std::mt19937& random, int depth) {
  static const std::vector<std::string> operands = {
      "0", "1", "7", "010", "ONE", "ZERO", "NONE", "x", "defined ONE", "defined(NONE)", "F",
  };
  static const std::vector<std::string> binary = {
      "||", "&&", "|", "^", "&", "==", "!=", "<", ">", "<=", ">=", "<<", ">>", "+", "-", "*", "/",
      "%",
  };
  static const std::vector<std::string> unary = {"-", "+", "~", "!"};
  static const std::vector<std::string> odd = {"", ")", "(", "?", ":", "=", "/* c */", "#", "'a'",
                                               "1.5", "\\\n"};
  const auto pick = [&](const std::vector<std::string>& pool) -> const std::string& {
    return pool[random() % pool.size()];
  };
  std::string text;
  const auto append = [&text](std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) text.append(piece);
  };
  if (random() % 5 == 0) append({pick(unary)});
  if (depth > 0 && random() % 4 == 0) {
    append({"(", RandomCondition(random, depth - 1), ")"});
  } else {
    append({pick(operands)});
  }
  if (random() % 30 == 0) append({" ", pick(odd)});
  if (depth > 0 && random() % 2 == 0)
    append({" ", pick(binary), " ", RandomCondition(random, depth - 1)});
  return text;
}

TEST(ConditionInOneGo, RandomConditionsGiveTheSameResultBothWays) {
  std::mt19937 random(20261211);
  for (int k = 0; k < 2000; ++k) {
    const std::string condition = RandomCondition(random, 3);
    const std::string elifCondition = RandomCondition(random, 2);
    std::string input(kDefinitions);
    for (const std::string_view piece :
         {std::string_view("#if "), std::string_view(condition),
          std::string_view(k % 3 == 0 ? " \t\na\n#elif " : " \na\n#elif "),
          std::string_view(elifCondition), std::string_view(k % 5 == 0 ? "\r\nb\n#endif\n" : "\nb\n#endif\n")})
      input.append(piece);
    ASSERT_EQ(RunWith(input, true), RunWith(input, false)) << "program " << k << ":\n" << input;
  }
}

}  // namespace
}  // namespace orvo
