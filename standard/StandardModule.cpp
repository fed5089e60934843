#include "standard/StandardModule.h"

// The module's one exported symbol; everything else in it is hidden.
extern "C" __attribute__((visibility("default"))) void orvo_standard_run(
    std::string_view input, const orvo::RunOptions& options, orvo::RunResult& result) {
  result = orvo::standard::runInProcess(input, options);
}
