// The run options both preprocessing harnesses use.
#pragma once

#include <cstddef>

#include "orvo/Run.h"

namespace orvo::fuzz {

// Inputs are at most 64 KiB; a MiB of output covers what ordinary text of
// that size expands to. An explosive definition is ended by the expansion
// budgets, and the fuzzer finds such definitions often: budgets a quarter
// of the ones a MiB of output gives (about a sixteenth of a second under
// the sanitizers instead of a quarter to a whole one) reach the same code
// and leave the fuzzer its time for other inputs. Ordinary lines stay far
// below them.
inline RunOptions HarnessOptions() {
  RunOptions options;
  options.maxOutputBytes = std::size_t{1} << 20;
  options.maxExpansionParses = 1024;
  options.maxExpandedBytes = std::size_t{16} << 10;
  return options;
}

}  // namespace orvo::fuzz
