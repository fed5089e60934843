// libFuzzer harness: the token matchers must find what the regular-expression
// library finds, for every part of the scanner table at every position.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/FastMatcherDifference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Every position is searched by every part; longer inputs only cost time.
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string difference = orvo::differential::FirstDifference(text);
  if (!difference.empty()) {
    std::fprintf(stderr, "token matchers differ from the library: %s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
