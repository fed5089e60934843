// Hostile inputs end quickly, either with output or with a message, and
// every byte of a text line that reaches the output arrives unchanged.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <random>
#include <string>

#include "support/RunHelpers.h"

namespace orvo::test {
namespace {

// Runs `input`, checks that it ended within `milliseconds` (scaled for
// sanitizer builds) and that an error, if any, says something.
RunResult BoundedRun(const std::string& input, int milliseconds) {
  const auto begin = std::chrono::steady_clock::now();
  RunResult result = runPreprocessor(input, {});
  EXPECT_LT(std::chrono::steady_clock::now() - begin, budget(milliseconds));
  if (!result.ok()) {
    EXPECT_FALSE(result.error->text.empty());
    EXPECT_EQ(result.output, "");
  }
  return result;
}

TEST(HostileInput, DeepParenthesesInAMacroArgumentEndWithAMessage) {
  const int kLevels = 100000;
  const std::string input = "#define f(x) x\r\nf(" + std::string(kLevels, '(') + "1" +
                            std::string(kLevels, ')') + ")\r\n";
  const RunResult result = BoundedRun(input, 2000);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->text.rfind("nesting too deep", 0), 0u) << result.error->text;
}

TEST(HostileInput, RandomBytesEndInOutputOrAMessage) {
  std::mt19937 random(20240917);
  std::string bytes(std::size_t{1} << 20, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  BoundedRun(bytes, 5000);

  // The same without the bytes that end a run early, so that the run goes
  // deep into the text.
  for (char& byte : bytes) {
    if (byte == '#' || byte == '\r' || byte == '\\' || byte == '"' || byte == '\'') byte = ' ';
  }
  BoundedRun(bytes, 5000);
}

TEST(HostileInput, SixMegabyteLinePassesThroughUnchanged) {
  std::string line;
  const std::string word = std::string(63, 'w') + ' ';
  while (line.size() < (std::size_t{6} << 20)) line += word;
  line += "end\r\n";
  const RunResult result = BoundedRun(line, 5000);
  ASSERT_TRUE(result.ok()) << result.error->text;
  EXPECT_TRUE(result.output == line) << "output differs from the input line";
}

// Text lines whose bytes are not plain ASCII reach the output byte for byte.
TEST(HostileInput, UnusualBytesInTextLinesAreKept) {
  const std::string lines[] = {
      std::string("a\0b\r\n", 5),
      std::string("\0\r\n", 3),
      "caf\xc3\xa9 \xff\xfe\x80 x\r\n",
      "\x01\x02\x7f\x1b[0m y\r\n",
      std::string("\"str\0ing\" '\xe9'\r\n", 15),
      "a\tb  \v\f c\r\n",
  };
  for (const std::string& line : lines) {
    const RunResult result = BoundedRun(line, 1000);
    ASSERT_TRUE(result.ok()) << result.error->text;
    EXPECT_TRUE(result.output == line) << "output differs for a line of " << line.size()
                                       << " bytes";
  }
  // A macro's replacement text carries such bytes unchanged too.
  EXPECT_EQ(pp(std::string("#define X a\0\xff b\r\nX\r\n", 20)), std::string("a\0\xff b\r\n", 7));
}

// A backslash that ends no line joins nothing, so it stays where it is;
// one before a line break still joins the lines.
TEST(HostileInput, BackslashInsideALineIsKept) {
  const struct {
    std::string input, output;
  } cases[] = {
      {"a\\b \\ c\r\n", "a\\b \\ c\r\n"},
      {"path\\", "path\\"},
      {"#define P C:\\dir\r\nP\r\n", "C:\\dir\r\n"},
      {"#define Q(x) x\\x\r\nQ(1)\r\n", "1\\1 \r\n"},
      {"#define I(x) x\r\nI(a\\ b)\r\n", "a\\ b \r\n"},
      {"int \\\r\n x;\r\n", "intx;\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
}

// A carriage return that does not begin a line end is no token of any kind:
// the run ends with a message rather than guessing what was meant.
TEST(HostileInput, LoneCarriageReturnEndsTheRunWithAMessage) {
  for (const std::string input : {"x\r", "a\rb\r\n", "\r"}) {
    const RunResult result = BoundedRun(input, 1000);
    EXPECT_FALSE(result.ok()) << "output: " << result.output;
  }
}

}  // namespace
}  // namespace orvo::test
