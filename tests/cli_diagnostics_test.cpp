// How orvo-pp shows messages: GCC-style places, include chains, the source
// line with a caret, colours, and the exit status they lead to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

const std::string kPp = ORVO_PP_BINARY;

std::string quoted(const std::filesystem::path& path) {
  std::string text = path.string();
  text.insert(0, 1, '\'');
  return text + '\'';
}

// main.c includes a.h, which includes b.h; b.h stops its parse at an
// unmatched #endif, so its last line is lost.
class IncludedError : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir.path() / "main.c", "m\n#include \"a.h\"\nend\n");
    writeFile(dir.path() / "a.h", "#include \"b.h\"\n");
    writeFile(dir.path() / "b.h", "kept\n\t#endif\nlost\n");
  }
  std::string main() const { return quoted(dir.path() / "main.c"); }
  std::string file(const char* name) const { return (dir.path() / name).string(); }

  TempDir dir;
};

TEST_F(IncludedError, IsPrintedWithItsChainAndCaretAndExitsWithOneAfterWritingTheOutput) {
  const CommandResult r = runCommand(kPp + " " + main());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "m\nkept\n\n\nend\n");
  std::string expected;
  for (const std::string& line :
       {"In file included from " + file("main.c") + ":2:",
        "In file included from " + file("a.h") + ":1:",
        file("b.h") + ":2:2: error: incomplete", std::string("    2 | \t#endif"),
        std::string("      | \t^~~~~~")})
    expected += line + "\n";
  // The plain explanation follows as a note at the same place.
  EXPECT_EQ(r.err.substr(0, expected.size()), expected);
  EXPECT_EQ(r.err.substr(expected.size()).rfind(file("b.h") + ":2:2: note: reading stopped", 0), 0u)
      << r.err;
}

TEST_F(IncludedError, WritesTheOutputFileToo) {
  const auto out = dir.path() / "out.txt";
  const CommandResult r = runCommand(kPp + " -o " + quoted(out) + " " + main());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(readFile(out), "m\nkept\n\n\nend\n");
}

TEST_F(IncludedError, CaretAndColourOptions) {
  CommandResult r = runCommand(kPp + " --no-caret " + main());
  EXPECT_EQ(r.err.find(" | "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(":2:2: error: incomplete\n"), std::string::npos) << r.err;

  // Standard error is a file here, so auto means no colour.
  for (const char* plain : {"", "--color=auto ", "--color=never "}) {
    r = runCommand(kPp + " " + plain + main());
    EXPECT_EQ(r.err.find('\033'), std::string::npos) << plain;
  }
  for (const char* coloured : {"--color ", "--color=always "}) {
    r = runCommand(kPp + " " + coloured + main());
    EXPECT_NE(r.err.find("\033[1;31merror:\033[0m"), std::string::npos) << coloured << r.err;
  }
  r = runCommand(kPp + " --color=sometimes " + main());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
}

TEST(OrvoPpMessages, IncludeChainIsNamedOnlyWhenTheFileChanges) {
  TempDir dir;
  writeFile(dir.path() / "w.h", "#warning one\n#warning two\n");
  writeFile(dir.path() / "main.c", "#include \"w.h\"\n#warning three\n#include \"w.h\"\n");
  const CommandResult r = runCommand(kPp + " --no-caret " + quoted(dir.path() / "main.c"));
  EXPECT_EQ(r.status, 0);
  const std::string main = (dir.path() / "main.c").string();
  const std::string header = (dir.path() / "w.h").string();
  std::string expected;
  for (const std::string& line :
       {"In file included from " + main + ":1:", header + ":1:10: warning:  one",
        header + ":2:10: warning:  two", main + ":2:10: warning:  three",
        "In file included from " + main + ":3:", header + ":1:10: warning:  one",
        header + ":2:10: warning:  two"})
    expected += line + "\n";
  EXPECT_EQ(r.err, expected);
}

TEST(OrvoPpMessages, WarningsKeepStatusZeroAndNotesNeedAllMessages) {
  CommandResult r = runCommand(kPp + " --no-caret", "a\n#warning look out\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "<stdin>:2:10: warning:  look out\n");

  const std::string rescanned = "#define h(x) x\nq h(#) a\n";
  r = runCommand(kPp, rescanned);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = runCommand(kPp + " --all-messages", rescanned);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("<stdin>:2:3: note: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("      |   ^~~~\n"), std::string::npos) << r.err;
}

TEST(OrvoPpMessages, NotesFollowTheirMessageWithACaretAtTheirOwnPlaceOnly) {
  const CommandResult r = runCommand(kPp, "#define F(a, b) a + b\n#if (1\n#endif\n");
  EXPECT_EQ(r.status, 1);
  std::string expected;
  for (const char* line :
       {"<stdin>:2:6: error: ) expected", "    2 | #if (1", "      |      ^",
        "<stdin>:2:5: note: to match this '('", "    2 | #if (1", "      |     ^",
        "<stdin>:2:5: note: a ')' is missing to close the parentheses opened here"})
    expected += std::string(line) + "\n";
  EXPECT_EQ(r.err, expected);

  const CommandResult warned = runCommand(kPp + " --no-caret", "#define F(a, b) a\nF(1)\n");
  EXPECT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err,
            "<stdin>:2:1: warning: macro \"F\" requires 2 arguments, but only 1 given\n"
            "<stdin>:1:9: note: macro \"F\" defined here\n");
}

TEST(OrvoPpMessages, LoneCarriageReturnEndsALineAsInTheWindow) {
  const CommandResult r = runCommand(kPp, "#define A 1\rA\r\nb\r#error at 4\r");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("<stdin>:4:1: error:  at 4\n", 0), 0u) << r.err;
  const CommandResult ok = runCommand(kPp, "a\rb\n");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, "a\nb\n");
}

TEST(OrvoPpMessages, PlaceFarIntoAVeryLongLineIsShownWithoutItsLine) {
  const CommandResult r = runCommand(kPp, std::string(100000, 'x') + " #error far\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "<stdin>:1:100002: error:  far\n");
}

TEST(OrvoPpMessages, ControlBytesOfTheInputAreNotSentToTheTerminal) {
  const CommandResult r = runCommand(kPp, "#error \033[2J\x07gone\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find('\033'), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x07'), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("error:  ?[2J?gone\n"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orvo::test
