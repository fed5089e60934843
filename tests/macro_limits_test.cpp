// Definitions whose expansion would never end, or would grow exponentially,
// end the run with a message, and quickly.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "macros/ExpansionLimits.h"
#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::crlf;

// A chain of `levels` + 1 definitions in which each calls (or names) the
// one below `width` times, then a use of the last with `argument`.
std::string Chain(bool functionLike, int levels, int width = 2,
                  const std::string& argument = "1") {
  const std::string call = functionLike ? "(x)" : "";
  std::string text = "#define a0" + call + " x x\r\n";
  for (int i = 1; i <= levels; ++i) {
    text += "#define a" + std::to_string(i) + call;
    for (int n = 0; n < width; ++n) text += " a" + std::to_string(i - 1) + call;
    text += "\r\n";
  }
  return text + "a" + std::to_string(levels) + (functionLike ? "(" + argument + ")" : "");
}

// Runs `input`, checks that it took well under a second, returns the run.
RunResult TimedRun(const std::string& input) {
  const auto begin = std::chrono::steady_clock::now();
  RunResult result = runPreprocessor(input, {});
  EXPECT_LT(std::chrono::steady_clock::now() - begin, test::budget(1000)) << input;
  return result;
}

TEST(MacroLimits, EndlessExpansionEndsWithAMessage) {
  const struct {
    std::string input;
    std::string error;
  } cases[] = {
      {crlf({"#define f(x) f(x)", "f(1)"}), "macro \"f\" nests more than 200 expansions deep"},
      {crlf({"#define f(x) f(x) f(x)", "f(1)"}), "macro \"f\" nests more than 200 expansions deep"},
      {crlf({"#define f() f(", "f()"}), "macro \"f\" nests more than 200 expansions deep"},
      {crlf({"#define f(x) g(x)", "#define g(x) f(x)", "f(1)"}),
       "macro \"f\" nests more than 200 expansions deep"},
      // Exponential growth: by the number of nested parses, or by the bytes
      // they produce (a 64th of the default output limit).
      {Chain(true, 40), "macro expansion needs more than 131072 rescans"},
      {Chain(true, 9, 10), "macro expansion needs more than 131072 rescans"},
      {Chain(true, 40, 2, std::string(4096, 'y')),
       "macro expansion produces more than 4194304 bytes"},
  };
  for (const auto& c : cases) {
    const RunResult result = TimedRun(c.input);
    ASSERT_FALSE(result.ok()) << c.input;
    EXPECT_EQ(result.error->text, c.error);
  }
}

TEST(MacroLimits, BudgetsFollowTheOutputLimit) {
  RunOptions small;
  small.maxOutputBytes = std::size_t{1} << 20;
  EXPECT_EQ(runPreprocessor(Chain(true, 40), small).error->text,
            "macro expansion needs more than 4096 rescans");
  EXPECT_EQ(runPreprocessor(Chain(true, 40, 2, std::string(4096, 'y')), small).error->text,
            "macro expansion produces more than 65536 bytes");

  // Budgets set outright replace the ones the output limit gives.
  RunOptions set;
  set.maxExpansionParses = 100;
  set.maxExpandedBytes = 1000;
  EXPECT_EQ(runPreprocessor(Chain(true, 40), set).error->text,
            "macro expansion needs more than 100 rescans");
  EXPECT_EQ(runPreprocessor(Chain(true, 40, 2, std::string(600, 'y')), set).error->text,
            "macro expansion produces more than 1000 bytes");
  EXPECT_TRUE(runPreprocessor(Chain(true, 3), set).ok());
}

// No output limit lifts the budgets past what time and memory allow.
TEST(MacroLimits, BudgetsStopAtTheirCeilings) {
  struct Case {
    std::size_t maxOutputBytes;
    int parses;
    std::size_t bytes;
  } cases[] = {
      {std::size_t{256} << 20, 131072, std::size_t{4} << 20},
      {std::size_t{4} << 30, 1 << 21, std::size_t{64} << 20},
      {std::size_t{64} << 30, 1 << 21, std::size_t{1} << 30},
      {SIZE_MAX, 1 << 21, std::size_t{1} << 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(orvo::ExpansionParseBudget(c.maxOutputBytes), c.parses) << c.maxOutputBytes;
    EXPECT_EQ(orvo::ExpansionByteBudget(c.maxOutputBytes), c.bytes) << c.maxOutputBytes;
  }
}

TEST(MacroLimits, BoundedExpansionsStillComplete) {
  // Each object-like macro expands once per rescan, so the chain stays short.
  std::string chain = "x x";
  for (int i = 0; i < 40; ++i) chain += " a" + std::to_string(i);
  const RunResult objects = TimedRun(Chain(false, 40));
  ASSERT_TRUE(objects.ok()) << objects.error->text;
  EXPECT_EQ(objects.output, chain);

  // A chain of 300 names settles: each expands once per rescan.
  const RunResult longChain = TimedRun(Chain(false, 300, 1));
  ASSERT_TRUE(longChain.ok()) << longChain.error->text;
  EXPECT_EQ(longChain.output, "x x");

  // Fourteen doublings (32768 tokens) are within the limits.
  const RunResult functions = TimedRun(Chain(true, 14));
  ASSERT_TRUE(functions.ok()) << functions.error->text;
  EXPECT_EQ(functions.output.size(), 81918u);

  // A generated table passed through three macros: every pass over it is
  // charged, the result is 73 KB.
  std::string table = "(0";
  for (int i = 1; i < 12000; ++i) table += ", " + std::to_string(i);
  const RunResult wrapped = TimedRun(crlf({"#define TABLE(x) { x }",
                                           "#define DEF(name, init) int name[] = init",
                                           "#define WRAP(n, i) DEF(n, TABLE(i))",
                                           "WRAP(t, " + table + "))"}));
  ASSERT_TRUE(wrapped.ok()) << wrapped.error->text;
  const std::string expected = "intt[] = { " + table + ") }";
  EXPECT_TRUE(wrapped.output.substr(0, wrapped.output.find_last_not_of(' ') + 1) == expected)
      << wrapped.output.substr(0, 20) << "..." << wrapped.output.substr(expected.size() - 20);

  const std::string nested = "min(min(min(min(min(min(a,b),c),d),e),f),g)";
  const RunResult mins = TimedRun(crlf({"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))", nested}));
  ASSERT_TRUE(mins.ok()) << mins.error->text;
  EXPECT_EQ(mins.output.find("min"), std::string::npos) << mins.output;
}

}  // namespace
}  // namespace orvo
