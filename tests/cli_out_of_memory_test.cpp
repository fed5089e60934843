// orvo-pp under an address-space limit: memory running out ends the run
// with a message at its place and status 1, never with an abort.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "orvo/Run.h"
#include "tests/support/Command.h"

namespace orvo::test {
namespace {

const std::string kPp = ORVO_PP_BINARY;

TEST(OrvoPpMemory, RunOutOfMemoryEndsWithAnErrorNotAnAbort) {
#ifdef ORVO_SANITIZED
  GTEST_SKIP() << "the sanitizers reserve more address space than any useful limit";
#else
  // Each runs past 80 MB within a few tenths of a second.
  std::string definitions;
  for (int n = 0; n < 100000; ++n) {
    const std::string next = std::to_string(n + 1);
    definitions += "#define G" + std::to_string(n) + "(a,b) a##b + G" + next + "(a,b)\n";
  }
  std::string output = "#define A " + std::string(65536, 'x') + "\n";
  for (int line = 0; line < 100; ++line) {
    for (int i = 0; i < 100; ++i) output += "A ";
    output += "\n";
  }
  TempDir dir;
  for (const auto& [name, input] : {std::pair{"definitions.c", definitions},
                                    std::pair{"output.c", output}}) {
    writeFile(dir.path() / name, input);
    const CommandResult r = runCommand("(ulimit -v 80000; exec " + kPp + " --no-caret '" +
                                       (dir.path() / name).string() + "')");
    EXPECT_EQ(r.status, 1) << name << ": " << r.err;
    EXPECT_EQ(r.out, "") << name;
    const std::string expected = ": error: out of memory while preprocessing this line\n";
    // At its place; or, where memory runs out again while the place is
    // worked out (the reference mode's matcher leaves less room), without it.
    const bool placed = r.err.rfind((dir.path() / name).string() + ":", 0) == 0;
    EXPECT_TRUE(placed || r.err.rfind("orvo-pp: error:", 0) == 0) << r.err;
    if (modeFromEnvironment() == Mode::Fast) {
      EXPECT_TRUE(placed) << r.err;
    }
    ASSERT_GE(r.err.size(), expected.size()) << r.err;
    EXPECT_EQ(r.err.substr(r.err.size() - expected.size()), expected) << r.err;
  }
#endif
}

}  // namespace
}  // namespace orvo::test
