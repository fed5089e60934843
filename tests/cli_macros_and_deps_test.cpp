// orvo-pp's -D, -U and --deps: the spellings a user types, where their
// messages go, and the dependency listing.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

const std::string kPp = ORVO_PP_BINARY;

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

TEST(OrvoPpMacros, AttachedAndSeparateSpellings) {
  const CommandResult r =
      runCommand(kPp + " -DA -D B=2 -D'F(x)=<x>' -U__cplusplus -U C -DC=3 -- -", "A B F(1) __cplusplus C\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 2 <1>  __cplusplus 3\n");
  EXPECT_EQ(r.err, "");
}

TEST(OrvoPpMacros, MessagesNameTheCommandLine) {
  CommandResult r = runCommand(kPp + " -D 'F(x'", "x\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "<command line>: error: '-D F(x': ')' expected after the parameter list\n");

  r = runCommand(kPp + " -D __LINE__=7", "__LINE__\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1\n");
  EXPECT_EQ(r.err.rfind("<command line>: warning: '-D __LINE__=7' has no effect", 0), 0u) << r.err;

  // A message about the input keeps its line with definitions in front of it.
  r = runCommand(kPp + " -DA -DB", "a\nb\n#endif\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("<stdin>:2:", 0), 0u) << r.err;

  for (const char* missing : {"-D", "-U"}) {
    r = runCommand(kPp + " " + missing, "x\n");
    EXPECT_EQ(r.status, 2) << missing;
    EXPECT_EQ(r.err.rfind(std::string("orvo-pp: option '") + missing + "' needs an argument", 0),
              0u)
        << r.err;
  }
}

TEST(OrvoPpDeps, ListsNestedAndMissingIncludesOnce) {
  TempDir dir;
  fs::create_directories(dir.path() / "inc" / "sub");
  fs::create_directories(dir.path() / "src");
  writeFile(dir.path() / "inc" / "a.h",
            "#ifndef A_H\n#define A_H\n#include \"b.h\"\n#include <gone.h>\n#endif\n");
  writeFile(dir.path() / "inc" / "sub" / "b.h", "#include <a.h>\n#include <gone.h>\n");
  writeFile(dir.path() / "src" / "local.h", "int l;\n");
  writeFile(dir.path() / "src" / "main.c",
            "#include <a.h>\n#include \"local.h\"\n#ifdef WITH_EXTRA\n#include <extra.h>\n#endif\n");
  const std::string args = " -I " + quoted(dir.path() / "inc") + " " + quoted(dir.path() / "src" / "main.c");
  const std::string expected = (dir.path() / "inc" / "a.h").string() + "\n" +
                               (dir.path() / "inc" / "sub" / "b.h").string() + "\n" +
                               "not found: gone.h\n" + (dir.path() / "src" / "local.h").string() +
                               "\n";

  CommandResult r = runCommand(kPp + " --deps" + args);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, expected);
  // Each directive that names the missing file is warned about.
  EXPECT_EQ(r.err.find("error"), std::string::npos) << r.err;
  const std::string warning = "warning: include file not found: gone.h";
  EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(warning, r.err.find(warning) + 1), std::string::npos) << r.err;

  // -D reaches the conditions that choose the includes; -o takes the list.
  const fs::path out = dir.path() / "deps.txt";
  r = runCommand(kPp + " --deps -DWITH_EXTRA -o " + quoted(out) + args);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(readFile(out), expected + "not found: extra.h\n");
}

}  // namespace
}  // namespace orvo::test
