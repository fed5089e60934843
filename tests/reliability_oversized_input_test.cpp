// Texts too long to address with the parser's int offsets are refused with
// a message before any of them is read, whether given to the run or found by
// an include directive.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "orvo/Run.h"
#include "support/RunHelpers.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTooLarge = orvo::kMaxInputBytes + std::size_t{1};

TEST(OversizedInput, RunRefusesATextBeyondTheLimit) {
  // Address space only: the pages are never touched.
  void* pages = mmap(nullptr, kTooLarge, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                     -1, 0);
  ASSERT_NE(pages, MAP_FAILED);
  const RunResult result =
      runPreprocessor(std::string_view(static_cast<const char*>(pages), kTooLarge), {});
  munmap(pages, kTooLarge);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->text, "input too large: more than 2147483647 bytes");
}

TEST(OversizedInput, IncludeOfAFileBeyondTheLimitEndsTheRun) {
  const fs::path dir = fs::temp_directory_path() / ("orvo_oversized_" + std::to_string(getpid()));
  fs::create_directories(dir);
  // A sparse file: large, yet it takes no disk space.
  std::ofstream(dir / "huge.h").close();
  fs::resize_file(dir / "huge.h", kTooLarge);
  RunOptions options;
  options.sourceDir = dir.string();
  const std::string error = ppError("#include \"huge.h\"\r\n", options);
  fs::remove_all(dir);
  EXPECT_EQ(error, "#include file too large (more than 2147483647 bytes): " +
                       (dir / "huge.h").string());
}

}  // namespace
}  // namespace orvo::test
