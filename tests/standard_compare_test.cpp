// Both engines over each rule's example of the differences table: each
// gives a difference named by its rule, with a reason that states both
// runs' facts. Also the token comparison itself.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>

#include "orvo/DifferenceRules.h"
#include "compare/OutputTokens.h"
#include "orvo/Comparison.h"
#include "support/Command.h"

namespace orvo::test {
namespace {

// What the reason of each rule's example must say: the rule in plain words,
// with what each run made of the line.
const std::map<std::string, std::string> kExpectedReasons = {
    {"macro-value-in-if",
     "#if V > 3 (line 2): here V counts as 1 (a defined macro's value is not used), so `V > 3` is "
     "0: not taken; in standard C V is 5, so it is 1: taken"},
    {"suffix-in-if",
     "#if 10UL > 3 (line 1): here 10UL counts as 0 (a constant with a suffix is not read as a "
     "number), so `10UL > 3` is 0: not taken; in standard C 10UL is 10, so it is 1: taken"},
    {"function-call-in-if",
     "here TWICE is not expanded in #if: TWICE counts as 1 and the text after it, '( 2 ) == 4', is "
     "written to the output (the condition is 1: taken); standard C expands the call, so "
     "`TWICE(2) == 4` is 1: taken"},
    {"spacing",
     "here the call DECL(int, x) gives 'intx', whose tokens run together: an argument loses the "
     "blanks before it and no blank keeps tokens apart; standard C gives 'int x'"},
    {"variadic",
     "here LOG is no variadic macro: its ... takes no extra arguments and __VA_ARGS__ stays as "
     "written, so the call passes 2 arguments to a macro that takes 1 (a warning); standard C "
     "passes the extra arguments as __VA_ARGS__"},
    {"predefined-values", "here __FILE__ is always 1; standard C gives the file's name, \"<input>\""},
    {"own-predefined",
     "#ifdef _Windows (line 1): here _Windows is predefined, so it is taken; standard C does not "
     "define _Windows: not taken"},
    {"recursive-include",
     "here <sys.h> is found as INC/sub/sys.h: include directories are searched with their "
     "subdirectories; standard C searches each directory itself: error: 'sys.h' file not found"},
};

TEST(CompareRuns, EachRuleOfTheTableIsNamedWithItsReason) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "sub");
  writeFile(dir.path() / "sub" / "sys.h", "int sys;\n");
  for (const compare::DifferenceRule& rule : compare::differenceRules()) {
    if (rule.example.empty()) continue;
    ASSERT_TRUE(kExpectedReasons.count(std::string(rule.id))) << rule.id;
    RunOptions options;
    options.includeDirectories = {dir.path().string()};
    const compare::Comparison comparison = compare::compareRuns(rule.example, options);
    ASSERT_FALSE(comparison.trouble) << rule.id;
    ASSERT_FALSE(comparison.differences.empty()) << rule.id;
    std::string expected = kExpectedReasons.at(std::string(rule.id));
    if (const std::size_t at = expected.find("INC"); at != std::string::npos)
      expected.replace(at, 3, dir.path().string());
    const compare::Difference& first = comparison.differences.front();
    EXPECT_EQ(first.rule, rule.id) << first.reason;
    EXPECT_EQ(first.reason, expected) << rule.id;
    for (const compare::Difference& difference : comparison.differences)
      EXPECT_NE(difference.rule, "other") << rule.id << ": " << difference.reason;
  }
}

TEST(CompareRuns, DifferencesKnowTheirPlaceAndBothLines) {
  const std::string input = "a\n#define V 2\n#if V == 2\nyes\n#else\nno\n#endif\nz\n";
  const compare::Comparison comparison = compare::compareRuns(input, {});
  ASSERT_EQ(comparison.differences.size(), 2u);
  // In input order: the branch standard C takes, then the one taken here.
  const compare::Difference& taken = comparison.differences[0];
  EXPECT_EQ(taken.mainText, "");
  EXPECT_EQ(taken.standardText, "yes");
  ASSERT_TRUE(taken.place);
  EXPECT_EQ(taken.place->line, 4);
  EXPECT_EQ(taken.place->lineText, "yes");
  EXPECT_EQ(taken.standardLine, 2);
  EXPECT_EQ(taken.rule, "macro-value-in-if");
  const compare::Difference& skipped = comparison.differences[1];
  EXPECT_EQ(skipped.mainText, "no");
  ASSERT_TRUE(skipped.place);
  EXPECT_EQ(skipped.place->line, 6);
  EXPECT_NE(skipped.reason.find("the #else on line 5 is taken here and not taken in standard C, "
                                "because of #if V == 2 (line 3)"),
            std::string::npos)
      << skipped.reason;
  // The main output's line of the difference holds its text.
  std::size_t from = 0;
  for (int line = 1; line < skipped.mainLine; ++line) from = comparison.main.output.find('\n', from) + 1;
  EXPECT_EQ(comparison.main.output.substr(from, 2), "no");
}

TEST(CompareRuns, AgreeWhereTheRulesAgree) {
  const compare::Comparison comparison =
      compare::compareRuns("#define F(x) [x]\nF( a )  b\n/* c */ d // e\n", {});
  EXPECT_TRUE(comparison.agree()) << comparison.differences.front().reason;
}

TEST(CompareRuns, ATroubledStandardRunIsNoDifference) {
  RunOptions options;
  options.maxOutputBytes = 4;
  const compare::Comparison comparison = compare::compareRuns("#define A\nlong text here\n", options);
  ASSERT_TRUE(comparison.trouble);
  EXPECT_TRUE(comparison.differences.empty());
}

// Hostile input ends the comparison with trouble, soon: the standard run
// reports its events (and gathers each expansion's result) here, which
// must not make an explosive definition run for minutes.
TEST(CompareRuns, HostileInputEndsWithTroubleSoon) {
  std::string explosive = "#define E0 x x\n";
  for (int level = 1; level <= 40; ++level)
    explosive += "#define E" + std::to_string(level) + " E" + std::to_string(level - 1) + " E" +
                 std::to_string(level - 1) + "\n";
  explosive += "E40\n";
  RunOptions smallBudget;
  smallBudget.maxExpansionParses = 300'000;
  RunOptions smallOutput;
  smallOutput.maxOutputBytes = 4096;
  const struct {
    const char* name;
    std::string input;
    RunOptions options;
    const char* trouble;
  } cases[] = {
      {"explosive", explosive, smallBudget, "macro expansion exceeds its budget"},
      {"huge output", explosive, smallOutput, "output exceeds the limit of 4096 bytes"},
      {"deep parentheses", "#if " + std::string(5000, '(') + "1" + std::string(5000, ')') + "\n#endif\n",
       {}, "parentheses nested deeper than"},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const compare::Comparison comparison = compare::compareRuns(c.input, c.options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.name;
    ASSERT_TRUE(comparison.trouble) << c.name;
    EXPECT_NE(comparison.trouble->find(c.trouble), std::string::npos) << *comparison.trouble;
  }
}

TEST(OutputTokens, SplitsAsTheCompilerWould) {
  std::string joined;
  for (const compare::OutputToken& token :
       compare::tokensOf("a+=1.5e+3 L\"s\\\"\" /* c */ x->y--1 '\\''\n// z\nq...<<=r"))
    joined += token.text + "|" + std::to_string(token.line) + " ";
  EXPECT_EQ(joined, "a|1 +=|1 1.5e+3|1 L\"s\\\"\"|1 x|1 ->|1 y|1 --|1 1|1 '\\''|1 q|3 ...|3 <<=|3 r|3 ");
}

}  // namespace
}  // namespace orvo::test
