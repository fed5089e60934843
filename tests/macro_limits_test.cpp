// Definitions whose expansion would never end, or would grow exponentially,
// end the run with a message, and quickly.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

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
      // A rescan whose text keeps changing, one name at a time.
      {Chain(false, 300, 1), "macro rescan still changes its text after 256 passes"},
      // Exponential growth: by the number of nested parses, or by the bytes
      // they produce.
      {Chain(true, 40), "macro expansion needs more than 32768 rescans"},
      {Chain(true, 9, 10), "macro expansion needs more than 32768 rescans"},
      {Chain(true, 40, 2, std::string(4096, 'y')),
       "macro expansion produces more than 524288 bytes"},
  };
  for (const auto& c : cases) {
    const RunResult result = TimedRun(c.input);
    ASSERT_FALSE(result.ok()) << c.input;
    EXPECT_EQ(result.error->text, c.error);
  }
}

TEST(MacroLimits, BoundedExpansionsStillComplete) {
  // Each object-like macro expands once per rescan, so the chain stays short.
  std::string chain = "x x";
  for (int i = 0; i < 40; ++i) chain += " a" + std::to_string(i);
  const RunResult objects = TimedRun(Chain(false, 40));
  ASSERT_TRUE(objects.ok()) << objects.error->text;
  EXPECT_EQ(objects.output, chain);

  // Twelve doublings (8192 tokens) are within the limits.
  const RunResult functions = TimedRun(Chain(true, 12));
  ASSERT_TRUE(functions.ok()) << functions.error->text;
  EXPECT_EQ(functions.output.size(), 20478u);

  const std::string nested = "min(min(min(min(min(min(a,b),c),d),e),f),g)";
  const RunResult mins = TimedRun(crlf({"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))", nested}));
  ASSERT_TRUE(mins.ok()) << mins.error->text;
  EXPECT_EQ(mins.output.find("min"), std::string::npos) << mins.output;
}

}  // namespace
}  // namespace orvo
