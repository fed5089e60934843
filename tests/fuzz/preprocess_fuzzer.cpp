// libFuzzer harness: every input must end in output or a diagnostic.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvo/Run.h"
#include "tests/fuzz/HarnessOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const orvo::RunResult result = orvo::runPreprocessor(input, orvo::fuzz::HarnessOptions());
  (void)orvo::convertLineEnds(result.output);
  return 0;
}
