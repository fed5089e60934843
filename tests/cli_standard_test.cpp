// orvo-pp --standard and --compare as a user runs them: messages in the
// usual form, exit statuses, and differences as text and JSON lines.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "orvo/Run.h"
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
       1, "in.c:3:1: difference: #if V > 3 (line 2): here V counts as 1 (a defined macro's value is "
          "not used), so `V > 3` is 0: not taken; in standard C V is 5, so it is 1: taken\n"
          "    big\n  orvo:       (nothing)\n  standard C: big\n"},
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

// --compare on inputs with errors: standard C's messages with their places
// and include chains, the error named in the row's reason, exit status 2
// whenever standard C reports an error.
TEST(CliStandard, CompareReportsErrorsOfEitherRun) {
  struct Case {
    std::string name;
    std::string input;
    int status;
    std::vector<std::string> out;  // parts of standard output, in order
    std::vector<std::string> err;  // parts of standard error, in order
  };
  const std::vector<Case> cases = {
      {"an unclosed #if",
       "int a;\n#if (1\nx\n#endif\n",
       2,
       {"in.c:2:1: difference: here the run ends at this line with error: ) expected, and nothing is "
        "written; standard C: error: expected ')' in preprocessor expression, and it writes nothing "
        "after it\n"
        "    #if (1\n"},
       {"in.c:2:6: error: ) expected [orvo]\n    2 | #if (1\n",
        "in.c:2:7: error: expected ')' in preprocessor expression [standard C]\n    2 | #if (1\n"
        "      |       ^\n",
        "orvo-pp: standard C reports an error in this input (see above)\n"}},
      {"an error in a header two levels down, the same in both runs",
       "#include \"outer.h\"\nint main;\n",
       2,
       {},
       {"In file included from in.c:1:\nIn file included from inc/outer.h:2:\ninc/bad.h:1:6: error: ) "
        "expected [orvo]",
        "In file included from in.c:1:\nIn file included from inc/outer.h:2:\ninc/bad.h:1:7: error: "
        "expected ')' in preprocessor expression [standard C]"}},
      {"a row in a header names its file and include chain",
       "#include \"outer.h\"\nint main;\n#define DECL(t, n) t n;\nDECL(int, x)\n",
       1,
       {"In file included from in.c:1:\nIn file included from inc/outer.h:2:\n"
        "inc/bad.h:5:1: difference: here the call NEG(-1) gives '--'",
        "in.c:4:1: difference: here the call DECL(int, x) gives 'intx'"},
       {}},
      {"a file that includes itself",
       "a\n#include \"in.c\"\nb\n",
       2,
       {"in.c:2:1: difference: here the run ends at this line with error: #include nested too deeply "
        "(more than 200 levels): in.c, and nothing is written; standard C: error: #include nested too "
        "deeply, and it goes on\n"},
       {"error: #include nested too deeply [standard C]"}},
      {"a variadic call: no message text inside the reason",
       "#define LOG(...) printf(__VA_ARGS__)\nLOG(\"%d\\n\", x);\n",
       1,
       {"in.c:2:1: difference: here LOG is no variadic macro: its ... takes no extra arguments and "
        "__VA_ARGS__ stays as written, so the call passes 2 arguments to a macro that takes 1 (a "
        "warning); standard C passes the extra arguments as __VA_ARGS__\n"},
       {"in.c:2:1: warning: macro \"LOG\" passed 2 arguments, but takes just 1 [orvo]"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "inc");
    writeFile(dir.path() / "inc" / "outer.h", "int outer;\n#include \"bad.h\"\n");
    writeFile(dir.path() / "inc" / "bad.h",
              "#if (B\nint in;\n#endif\n#define NEG(x) -x\nint n = NEG(-1);\n");
    // Without the error when the case has none in the header.
    if (c.name.find("a row in a header") != std::string::npos)
      writeFile(dir.path() / "inc" / "bad.h", "int in;\n\n\n#define NEG(x) -x\nint n = NEG(-1);\n");
    writeFile(dir.path() / "in.c", c.input);
    const CommandResult result =
        runCommand("cd " + dir.path().string() + " && " + kOrvoPp + " --compare -I inc in.c");
    EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.out << result.err;
    std::size_t at = 0;
    for (const std::string& part : c.out) {
      at = result.out.find(part, at);
      EXPECT_NE(at, std::string::npos) << c.name << ": " << part << "\n---\n" << result.out;
    }
    at = 0;
    for (const std::string& part : c.err) {
      at = result.err.find(part, at);
      EXPECT_NE(at, std::string::npos) << c.name << ": " << part << "\n---\n" << result.err;
    }
  }
}

// -o and --crlf apply to the list of differences as to any result; --deps,
// which lists one run's files, is refused.
TEST(CliStandard, CompareHonoursOutputOptions) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "#define DECL(t, n) t n;\nDECL(int, x)\n");
  const std::string compare = "cd " + dir.path().string() + " && " + kOrvoPp + " --compare in.c";
  const CommandResult plain = runCommand(compare);
  ASSERT_EQ(plain.status, 1);
  ASSERT_NE(plain.out.find("difference:"), std::string::npos);

  const CommandResult written = runCommand(compare + " -o list.txt");
  EXPECT_EQ(written.status, 1);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(readFile(dir.path() / "list.txt"), plain.out);

  const CommandResult crlf = runCommand(compare + " --crlf");
  EXPECT_EQ(crlf.status, 1);
  EXPECT_EQ(crlf.out, convertLineEnds(plain.out));

  const CommandResult deps = runCommand(compare + " --deps");
  EXPECT_EQ(deps.status, 2);
  EXPECT_EQ(deps.out, "");
  EXPECT_NE(deps.err.find("options '--deps' and '--compare' exclude each other"), std::string::npos)
      << deps.err;

  // A fatal standard error reads as such: the standard run ended, exit 2.
  const CommandResult stopped = runCommand(compare + " --max-output 4");
  EXPECT_EQ(stopped.status, 2);
  EXPECT_NE(stopped.err.find("output exceeds the limit of 4 bytes [standard C"), std::string::npos)
      << stopped.err;
}

TEST(CliStandard, StandardAndCompareExcludeEachOther) {
  const CommandResult result = runCommand(kOrvoPp + " --standard --compare");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("exclude each other"), std::string::npos);
}

}  // namespace
}  // namespace orvo::test
