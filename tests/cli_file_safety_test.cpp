// orvo-pp and the files it reads and writes: OUT survives a failed write,
// the input is not overwritten by mistake, and every I/O message says why.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
  // A file with a second name is written in place, with its room checked
  // before the old text is touched.
  fs::create_hard_link(dir.path() / "out.c", dir.path() / "twin.c");
  const CommandResult r = runCommand("(ulimit -f 100; exec " + kPp + " -o " +
                                     quoted(dir.path() / "out.c") + " " +
                                     quoted(dir.path() / "in.c") + ")");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orvo-pp: cannot write '" + (dir.path() / "out.c").string() +
                       "': File too large\n");
  EXPECT_EQ(readFile(dir.path() / "twin.c"), "old output\n");
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"in.c", "out.c", "twin.c"}));
}

// OUT is written as cp writes its target: through symbolic links (a
// dangling one creates the file it names), into the one file all its hard
// links share, with its permission bits kept.
TEST(OrvoPpFiles, ReplacedOutputKeepsItsModeAndLinks) {
  struct Case {
    const char* name;
    std::vector<std::string> names;  // what the folder holds afterwards
  } cases[] = {
      {"link to a file", {"in.c", "link.c", "real.c"}},
      {"link to a link to a file", {"in.c", "link.c", "middle.c", "real.c"}},
      {"dangling link", {"in.c", "link.c", "real.c"}},
      {"hard link", {"in.c", "link.c", "real.c"}},
  };
  for (const Case& c : cases) {
    const std::string name = c.name;
    TempDir dir;
    writeFile(dir.path() / "in.c", "#define A new\nA\n");
    if (name != "dangling link") {
      writeFile(dir.path() / "real.c", "old\n");
      fs::permissions(dir.path() / "real.c", fs::perms(0640));
    }
    if (name == "hard link") {
      fs::create_hard_link(dir.path() / "real.c", dir.path() / "link.c");
    } else if (name == "link to a link to a file") {
      fs::create_symlink(dir.path() / "real.c", dir.path() / "middle.c");
      fs::create_symlink("middle.c", dir.path() / "link.c");
    } else {
      fs::create_symlink("real.c", dir.path() / "link.c");
    }
    const CommandResult r = runCommand(kPp + " -o " + quoted(dir.path() / "link.c") + " " +
                                       quoted(dir.path() / "in.c"));
    EXPECT_EQ(r.status, 0) << name << ": " << r.err;
    EXPECT_EQ(readFile(dir.path() / "real.c"), "new\n") << name;
    EXPECT_EQ(readFile(dir.path() / "link.c"), "new\n") << name;
    if (name == "hard link") {
      EXPECT_TRUE(fs::equivalent(dir.path() / "real.c", dir.path() / "link.c"));
    } else {
      EXPECT_TRUE(fs::is_symlink(dir.path() / "link.c")) << name;
    }
    if (name != "dangling link") {
      EXPECT_EQ(fs::status(dir.path() / "real.c").permissions(), fs::perms(0640)) << name;
    }
    EXPECT_EQ(namesIn(dir.path()), c.names) << name;
  }

  TempDir dir;
  writeFile(dir.path() / "in.c", "x\n");
  // A link that only the system can follow, to a pipe.
  const CommandResult piped =
      runCommand("(" + kPp + " -o /dev/stdout " + quoted(dir.path() / "in.c") + " 2>&1 | cat)");
  EXPECT_EQ(piped.out, "x\n");
  fs::create_symlink("b.c", dir.path() / "a.c");
  fs::create_symlink("a.c", dir.path() / "b.c");
  const CommandResult loop =
      runCommand(kPp + " -o " + quoted(dir.path() / "a.c") + " " + quoted(dir.path() / "in.c"));
  EXPECT_EQ(loop.status, 2);
  EXPECT_EQ(loop.err, "orvo-pp: cannot write '" + (dir.path() / "a.c").string() +
                          "': Too many levels of symbolic links\n");
}

// The tests below act as a user who is not the superuser, who may write
// anything: as themselves when they are not, else as "nobody".
std::optional<std::string> asOrdinaryUser() {
  if (geteuid() != 0) return "";
  if (std::system("command -v setpriv >/dev/null 2>&1") != 0) return std::nullopt;
  return "setpriv --reuid=65534 --regid=65534 --clear-groups ";
}

// A file the user may not write is refused, as cp and cpp -o refuse it,
// even where the folder would let a new file take its name; a writable file
// in a folder the user may not write is written in place.
TEST(OrvoPpFiles, OutputTheUserMayNotWriteIsRefused) {
  const std::optional<std::string> user = asOrdinaryUser();
  if (!user) GTEST_SKIP() << "needs setpriv to drop the superuser's rights";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const fs::path own = dir.path() / "own";
  const fs::path closed = dir.path() / "closed";
  fs::create_directories(own);
  fs::create_directories(closed);
  writeFile(dir.path() / "in.c", "#define A new\nA\n");
  writeFile(own / "ro.c", "old\n");
  writeFile(closed / "rw.c", "old\n");
  // The user's own folder and files, in a folder of the superuser's.
  if (geteuid() == 0) {
    ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown((own / "ro.c").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown((closed / "rw.c").c_str(), 65534, 65534), 0);
  } else {
    fs::permissions(closed, fs::perms(0555));
  }
  fs::permissions(own / "ro.c", fs::perms(0444));
  fs::permissions(closed / "rw.c", fs::perms(0644));

  const CommandResult refused =
      runCommand(*user + kPp + " -o " + quoted(own / "ro.c") + " " + quoted(dir.path() / "in.c"));
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "orvo-pp: cannot write '" + (own / "ro.c").string() + "': Permission denied\n");
  EXPECT_EQ(readFile(own / "ro.c"), "old\n");
  EXPECT_EQ(namesIn(own), std::vector<std::string>{"ro.c"});

  const CommandResult inPlace = runCommand(*user + kPp + " -o " + quoted(closed / "rw.c") + " " +
                                           quoted(dir.path() / "in.c"));
  EXPECT_EQ(inPlace.status, 0) << inPlace.err;
  EXPECT_EQ(readFile(closed / "rw.c"), "new\n");
  fs::permissions(closed, fs::perms(0755));
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
