// libFuzzer harness: every input must end in output or a diagnostic.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "run/PreprocessRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Inputs are at most 64 KiB; a MiB of output covers what ordinary text of
  // that size expands to, and the expansion budgets that follow from it end
  // explosive inputs before they take the fuzzer's time.
  orvo::RunOptions options;
  options.maxOutputBytes = std::size_t{1} << 20;
  const orvo::RunResult result = orvo::runPreprocessor(input, options);
  (void)orvo::convertLineEnds(result.output);
  return 0;
}
