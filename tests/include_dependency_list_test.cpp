// The list of files a run's include directives looked for: each once, in the
// order first met, nested ones and missing ones included.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "orvo/Run.h"
#include "tests/support/Command.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;
using Status = IncludedFile::Status;

const fs::path kData = fs::path(ORVO_TEST_DATA) / "include";

struct Expected {
  std::string name;
  fs::path path;
  Status status;
};

void expectFiles(const RunResult& result, const std::vector<Expected>& expected) {
  ASSERT_EQ(result.includedFiles.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(result.includedFiles[i].name, expected[i].name) << i;
    EXPECT_EQ(result.includedFiles[i].path, expected[i].path.string()) << i;
    EXPECT_EQ(result.includedFiles[i].status, expected[i].status) << i;
  }
}

RunOptions fromSource(const fs::path& dir) {
  RunOptions options;
  options.sourceDir = dir.string();
  return options;
}

TEST(IncludedFiles, NestedRepeatedAndMissingFilesListedOnce) {
  const fs::path basic = kData / "basic";
  const RunResult result = runPreprocessor(
      "#include \"outer.h\"\n#include <guard.h>\n#include <none.h>\n#include <guard.h>\n"
      "#include <a.h>\n#include <none.h>\n#if 0\n#include <skipped.h>\n#endif\n",
      fromSource(basic));
  ASSERT_TRUE(result.ok()) << result.error->text;
  expectFiles(result, {{"outer.h", basic / "outer.h", Status::Loaded},
                       {"a.h", basic / "a.h", Status::Loaded},
                       {"guard.h", basic / "guard.h", Status::Loaded},
                       {"none.h", "", Status::NotFound}});
}

TEST(IncludedFiles, UnreadableFilesAndRunsEndedByAnErrorAreListed) {
  TempDir dir;
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling.h");
  RunResult result = runPreprocessor("#include <dangling.h>\n", fromSource(dir.path()));
  ASSERT_TRUE(result.ok());
  expectFiles(result, {{"dangling.h", dir.path() / "dangling.h", Status::Unreadable}});

  const fs::path cycle = kData / "cycle";
  result = runPreprocessor("#include \"ping.h\"\n", fromSource(cycle));
  ASSERT_FALSE(result.ok());
  expectFiles(result, {{"ping.h", cycle / "ping.h", Status::Loaded},
                       {"pong.h", cycle / "pong.h", Status::Loaded}});
}

}  // namespace
}  // namespace orvo::test
