// libFuzzer harness: both engines and their comparison over every input;
// each run must end with output or a message, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvo/Comparison.h"
#include "tests/fuzz/HarnessOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const orvo::compare::Comparison comparison =
      orvo::compare::compareRuns(input, orvo::fuzz::HarnessOptions());
  (void)comparison.agree();
  return 0;
}
