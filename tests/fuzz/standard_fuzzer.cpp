// libFuzzer harness: the standard-C engine in this process, so the fuzzer
// sees its branches, with the budgets a real run has (the expansion
// budget, the tokens held, the #if and include bounds). Each run must end
// with output or a message, never a crash or a hang. Inputs that only run
// out of memory are the worker's memory limit's to end (make fuzz runs
// this harness with -ignore_ooms).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "standard/StandardEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  orvo::RunOptions options;
  // A MiB of output covers what a few KB of ordinary text expand to.
  options.maxOutputBytes = std::size_t{1} << 20;
  const orvo::RunResult result = orvo::standard::runInProcess(input, options);
  (void)result.ok();
  return 0;
}
