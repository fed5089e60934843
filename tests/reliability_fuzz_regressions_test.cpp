// Every input the fuzzer once found troublesome (a crash, a hang, a sanitizer
// report or a run far slower than the rest) is kept in
// data/fuzz-regressions/; each must still end quickly, in output or with a
// message.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/RunHelpers.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryKeptInputEndsInOutputOrAMessage) {
  const fs::path dir = fs::path(ORVO_TEST_DATA) / "fuzz-regressions";
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const auto begin = std::chrono::steady_clock::now();
    const RunResult result = runPreprocessor(bytes.str(), {});
    EXPECT_LT(std::chrono::steady_clock::now() - begin, budget(10000)) << entry.path();
    if (!result.ok()) EXPECT_FALSE(result.error->text.empty()) << entry.path();
    ++count;
  }
  EXPECT_GT(count, 0) << "no inputs in " << dir;
}

}  // namespace
}  // namespace orvo::test
