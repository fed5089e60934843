// The orvo-pp command-line contract: streams, options, exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

const std::string kPp = ORVO_PP_BINARY;

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(OrvoPp, EmptyInputPrintsNothing) {
  const CommandResult r = runCommand(kPp, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST(OrvoPp, WritesTheEngineOutputUnchangedOrConverted) {
  const std::string input = "a  b\nc\r\nd";
  EXPECT_EQ(runCommand(kPp, input).out, input);
  EXPECT_EQ(runCommand(kPp + " -", input).out, input);
  EXPECT_EQ(runCommand(kPp + " --crlf", input).out, "a  b\r\nc\r\nd");
}

TEST(OrvoPp, ReadsFileAndWritesOutputFile) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "x\n");
  const auto out = dir.path() / "out.txt";
  const CommandResult r = runCommand(kPp + " -o " + quoted(out) + " " + quoted(dir.path() / "in.c"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(readFile(out), "x\n");
}

TEST(OrvoPp, ParseErrorGoesToStandardErrorWithPosition) {
  TempDir dir;
  writeFile(dir.path() / "bad.c", "a\n/* open\n");
  const auto out = dir.path() / "out.txt";
  const CommandResult r =
      runCommand(kPp + " -o " + quoted(out) + " " + quoted(dir.path() / "bad.c"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(out)) << "nothing may reach OUT after an error";
  EXPECT_EQ(r.err.rfind((dir.path() / "bad.c").string() + ":2:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(": error: "), std::string::npos) << r.err;
}

TEST(OrvoPp, ErrorDirectivePointsAtItselfUnderTheStdinName) {
  CommandResult r = runCommand(kPp, "#error  stop here\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "<stdin>:1:1: error:   stop here\n"
            "    1 | #error  stop here\n"
            "      | ^~~~~~\n");

  r = runCommand(kPp, "ok\n#endif\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("<stdin>:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(": error: incomplete\n"), std::string::npos) << r.err;
}

TEST(OrvoPp, WarningsGoToStandardErrorOnly) {
  const CommandResult r = runCommand(kPp, "a\n#warning look out\nb\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "a\nb\n");
  EXPECT_EQ(r.err.rfind("<stdin>:2:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(": warning:  look out\n"), std::string::npos) << r.err;
}

TEST(OrvoPp, IncludeDirectoriesAndSourceDirectory) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "inc");
  std::filesystem::create_directories(dir.path() / "src");
  writeFile(dir.path() / "inc" / "a.h", "int a;\n");
  writeFile(dir.path() / "src" / "b.h", "int b;\n");
  writeFile(dir.path() / "src" / "main.c", "#include <a.h>\n#include \"b.h\"\n");
  const CommandResult r =
      runCommand(kPp + " -I " + quoted(dir.path() / "inc") + " " + quoted(dir.path() / "src" / "main.c"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "int a;\n\nint b;\n\n");
}

// An include directory that is not there is skipped with one warning, and
// the run goes on to the end, as GNU cpp goes on without it.
TEST(OrvoPp, MissingIncludeDirectoryIsSkippedWithOneWarning) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "inc");
  writeFile(dir.path() / "inc" / "a.h", "int a;\n");
  writeFile(dir.path() / "main.c", "#include <a.h>\n#include <a.h>\n");
  const CommandResult r = runCommand(kPp + " -I /nonexistent/orvo-dir -I " +
                                     quoted(dir.path() / "inc") + " " + quoted(dir.path() / "main.c"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "int a;\n\nint a;\n\n");
  EXPECT_EQ(r.err, (dir.path() / "main.c").string() +
                       ":1:1: warning: #include search skips include directory "
                       "/nonexistent/orvo-dir: it does not exist\n"
                       "    1 | #include <a.h>\n"
                       "      | ^~~~~~~~~~~~~~\n");
}

TEST(OrvoPp, UsageErrorsExitWithTwo) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "x\n");
  const std::string in = quoted(dir.path() / "in.c");
  for (const std::string& args :
       {std::string("--bogus"), std::string("-o"), std::string("-I"), in + " " + in,
        quoted(dir.path() / "missing.c"), quoted(dir.path()), std::string("--max-output x"),
        std::string("--max-output -1"),
        "-o " + quoted(dir.path() / "no" / "such" / "dir" / "out") + " " + in}) {
    const CommandResult r = runCommand(kPp + " " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(r.err.rfind("orvo-pp: ", 0), 0u) << args << ": " << r.err;
    EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
  }
}

TEST(OrvoPp, OutputLimitEndsTheRun) {
  const std::string input = "abcdef\nghijkl\n";
  CommandResult r = runCommand(kPp + " --max-output 10", input);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "<stdin>:2:1: error: output exceeds the limit of 10 bytes\n"
                   "    2 | ghijkl\n"
                   "      | ^~~~~~\n")
      << "points at the text whose output crossed the limit";
  r = runCommand(kPp + " --max-output 14", input);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, input);
}

TEST(OrvoPp, HelpAndVersion) {
  const CommandResult help = runCommand(kPp + " --help");
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"-I DIR", "-o OUT", "--crlf", "--all-messages", "--no-caret", "--color[=WHEN]",
                             "--max-output", "--help", "--version"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  const CommandResult version = runCommand(kPp + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orvo-pp ", 0), 0u);
}

}  // namespace
}  // namespace orvo::test
