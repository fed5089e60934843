// orvo-pp --standard and --compare as a user runs them: messages in the
// usual form, exit statuses, and differences as text and JSON lines.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "support/Command.h"

namespace orvo::test {
namespace {

const std::string kOrvoPp = ORVO_PP_BINARY;

TEST(CliStandard, WritesTheStandardResultAndMessages) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "#define V 5\n#if V > 3\nline __LINE__\n#endif\n#error stop\n");
  const CommandResult result = runCommand(kOrvoPp + " --standard " + (dir.path() / "in.c").string());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "line 3\n");
  EXPECT_NE(result.err.find("in.c:5:2: error: stop\n    5 | #error stop\n      |  ^"),
            std::string::npos)
      << result.err;
}

// A place and the line quoted under it are the same line: at the start of
// a line (after CR LF or LF line ends) and at the start of the file.
TEST(CliStandard, PlaceAndQuotedLineAgree) {
  const struct {
    std::string input;
    std::string expected;
  } cases[] = {
      {"#define foo  a,b\r\n#define bar(x) lose(x)\r\n#define lose(x) (1 + (x))\r\nbar(foo)",
       "uc.c:4:1: error: too many arguments provided to function-like macro invocation\n"
       "    4 | bar(foo)\n"},
      {"#define A a\n#if 1 +\n#endif\n", "uc.c:2:8: error: expected value in expression\n"
                                          "    2 | #if 1 +\n"},
      {"#error first\n", "uc.c:1:2: error: first\n    1 | #error first\n"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    writeFile(dir.path() / "uc.c", c.input);
    const CommandResult result =
        runCommand("cd " + dir.path().string() + " && " + kOrvoPp + " --standard uc.c");
    EXPECT_EQ(result.status, 1) << c.input;
    EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
  }
}

TEST(CliStandard, CompareExitsLikeDiff) {
  struct Case {
    std::string input;
    std::vector<std::string> extra;
    int status;
    std::string output;  // a part of standard output
  };
  const std::vector<Case> cases = {
      {"a b c\n", {}, 0, ""},
      {"#define V 5\n#if V > 3\nbig\n#endif\n", {},
       1, "in.c:3:1: difference: #if V > 3: here V counts 1 → 0, not taken; standard C: V is 5 → 1, "
          "taken\n    big\n  orvo:       (nothing)\n  standard C: big\n"},
      {"#define A a a a a\nA A A A\n", {"--max-output", "8"}, 2, ""},
  };
  TempDir dir;
  for (const Case& c : cases) {
    writeFile(dir.path() / "in.c", c.input);
    std::string command = "cd " + dir.path().string() + " && " + kOrvoPp + " --compare in.c";
    for (const std::string& arg : c.extra) command += " " + arg;
    const CommandResult result = runCommand(command);
    EXPECT_EQ(result.status, c.status) << c.input << result.err;
    EXPECT_NE(result.out.find(c.output), std::string::npos) << result.out;
  }
}

TEST(CliStandard, CompareWritesJsonLines) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "#define DECL(t, n) t n;\nDECL(int, x)\n__FILE__\n");
  const CommandResult result =
      runCommand(kOrvoPp + " --compare --trace=json " + (dir.path() / "in.c").string());
  EXPECT_EQ(result.status, 1);
  std::vector<nlohmann::json> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = result.out.find('\n', from)) != std::string::npos; from = end + 1)
    lines.push_back(nlohmann::json::parse(result.out.substr(from, end - from)));
  ASSERT_EQ(lines.size(), 2u) << result.out;
  EXPECT_EQ(lines[0]["rule"], "spacing");
  EXPECT_EQ(lines[0]["line"], 2);
  EXPECT_EQ(lines[0]["orvo"], "intx");
  EXPECT_EQ(lines[0]["standard"], "int x");
  EXPECT_EQ(lines[1]["rule"], "predefined-values");
}

TEST(CliStandard, StandardAndCompareExcludeEachOther) {
  const CommandResult result = runCommand(kOrvoPp + " --standard --compare");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("exclude each other"), std::string::npos);
}

}  // namespace
}  // namespace orvo::test
