// orvo-pp and the files it reads and writes: OUT survives a failed write,
// the input is not overwritten by mistake, and every I/O message says why.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

const std::string kPp = ORVO_PP_BINARY;

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Names in the folder, so a test sees a temporary file left behind.
std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(OrvoPpFiles, FailedWriteLeavesTheOldOutputAndNoTemporaryFile) {
  TempDir dir;
  // 2 MB of output, far past the file-size limit below (in blocks of 512 or
  // 1024 bytes, depending on the shell).
  std::string input;
  for (int line = 0; line < 20000; ++line) input += std::string(99, 'a') + "\n";
  writeFile(dir.path() / "in.c", input);
  // With the signal ignored by the caller, and with its default action.
  for (const std::string setup : {"ulimit -f 100; trap '' XFSZ;", "ulimit -f 100;"}) {
    writeFile(dir.path() / "out.c", "old output\n");
    const CommandResult r = runCommand("(" + setup + " exec " + kPp + " -o " +
                                       quoted(dir.path() / "out.c") + " " +
                                       quoted(dir.path() / "in.c") + ")");
    EXPECT_EQ(r.status, 2) << setup;
    EXPECT_EQ(r.err, "orvo-pp: cannot write '" + (dir.path() / "out.c").string() +
                         "': File too large\n")
        << setup;
    EXPECT_EQ(readFile(dir.path() / "out.c"), "old output\n") << setup;
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"in.c", "out.c"})) << setup;
  }
}

TEST(OrvoPpFiles, ReplacedOutputKeepsItsModeAndLinks) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "#define A new\nA\n");
  writeFile(dir.path() / "real.c", "old\n");
  fs::permissions(dir.path() / "real.c", fs::perms(0640));
  fs::create_symlink("real.c", dir.path() / "link.c");
  const CommandResult r =
      runCommand(kPp + " -o " + quoted(dir.path() / "link.c") + " " + quoted(dir.path() / "in.c"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.c"));
  EXPECT_EQ(readFile(dir.path() / "real.c"), "new\n");
  EXPECT_EQ(fs::status(dir.path() / "real.c").permissions(), fs::perms(0640));
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"in.c", "link.c", "real.c"}));
}

TEST(OrvoPpFiles, OutputNamingTheInputIsRefusedUnlessForced) {
  TempDir dir;
  const fs::path in = dir.path() / "s.c";
  const std::string source = "#define A 1\nA\n";
  writeFile(in, source);
  // The same file under its own name, another spelling and a hard link.
  fs::create_hard_link(in, dir.path() / "hard.c");
  for (const fs::path& out : {in, dir.path() / "." / "s.c", dir.path() / "hard.c"}) {
    const CommandResult r = runCommand(kPp + " " + quoted(in) + " -o " + quoted(out));
    EXPECT_EQ(r.status, 2) << out;
    EXPECT_EQ(r.err, "orvo-pp: input file '" + in.string() +
                         "' is the same as the output file (--force writes it anyway)\n");
    EXPECT_EQ(readFile(in), source);
  }
  const CommandResult forced = runCommand(kPp + " --force " + quoted(in) + " -o " + quoted(in));
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(readFile(in), "1\n");
}

TEST(OrvoPpFiles, InputAndOutputMessagesGiveTheReason) {
  TempDir dir;
  writeFile(dir.path() / "in.c", "x\n");
  const std::string in = quoted(dir.path() / "in.c");
  const fs::path missing = dir.path() / "missing.c";
  const fs::path noFolder = dir.path() / "no" / "out.c";
  struct Case {
    std::string args;
    std::string err;
  } cases[] = {
      {quoted(missing), "orvo-pp: cannot read '" + missing.string() + "': No such file or directory\n"},
      {quoted(dir.path()), "orvo-pp: cannot read '" + dir.path().string() + "': Is a directory\n"},
      {in + " -o " + quoted(noFolder),
       "orvo-pp: cannot write '" + noFolder.string() + "': No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const CommandResult r = runCommand(kPp + " " + c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(OrvoPpFiles, InputOverTheLimitIsRefusedFromItsSize) {
  TempDir dir;
  const fs::path big = dir.path() / "big.c";
  writeFile(big, "");
  // Sparse: no disk space and nothing to read, so only the size can refuse it.
  fs::resize_file(big, (std::uintmax_t{1} << 31) + 1);
  const auto start = std::chrono::steady_clock::now();
  const CommandResult r = runCommand(kPp + " " + quoted(big));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orvo-pp: cannot read '" + big.string() +
                       "': file too large (2147483649 bytes; a run reads at most 2147483647)\n");
}

TEST(OrvoPpFiles, MaxOutputTakesItsValueAttachedToo) {
  const CommandResult r = runCommand(kPp + " --max-output=5", "abcdef\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("error: output exceeds the limit of 5 bytes"), std::string::npos) << r.err;
  EXPECT_EQ(runCommand(kPp + " --max-output=7", "abcdef\n").out, "abcdef\n");
  EXPECT_EQ(runCommand(kPp + " --max-output=", "x").status, 2);
}

}  // namespace
}  // namespace orvo::test
