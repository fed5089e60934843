// The entry point of the standard-C module (orvo-standard.so). The engine
// links Clang's and LLVM's libraries, whose loading costs tens of
// milliseconds at every start; they live in a module that runStandardC
// (standard/StandardLoader.cpp) loads the first time a standard run is
// asked for, so that the main engine's runs never pay for them.
#pragma once

#include <string_view>

#include "orvo/Run.h"

namespace orvo::standard {

// The run itself, in the module.
RunResult runInProcess(std::string_view input, const RunOptions& options);

// The name the module exports its entry under, and its type.
inline constexpr const char* kModuleEntry = "orvo_standard_run";
using ModuleEntry = void (*)(std::string_view input, const RunOptions& options,
                             RunResult& result);

// Where the module lies, relative to the directory of the running program:
// build/bin/../lib/orvo in the build tree, PREFIX/bin/../lib/orvo once
// installed.
inline constexpr const char* kModulePath = "../lib/orvo/orvo-standard.so";

}  // namespace orvo::standard
