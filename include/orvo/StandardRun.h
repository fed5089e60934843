// The standard-C engine: preprocesses a text by ISO C11 rules with Clang's
// preprocessor library, behind the same options and result as the main
// engine (run/PreprocessRun.h), so front ends can show both side by side.
#pragma once

#include <string_view>

#include "orvo/Run.h"

namespace orvo {

// Preprocesses `input` as a C11 translation unit: variadic macros,
// __VA_OPT__, macro values and integer suffixes in #if, real __LINE__ and
// __FILE__, the compiler's predefined macros and none of the main engine's.
// Quoted includes search the directory of the including file (for the main
// input RunOptions::sourceDir), then the include paths; angled includes the
// include paths only; no directory is searched recursively.
//
// The output is written like `cpp -P`: tokens with the blanks that stood
// before them (one blank for any run), a line break where a source line
// began, no line markers. Every message of the library becomes a diagnostic
// with its place. Ends with `error` set (and no output) when the output
// would exceed RunOptions::maxOutputBytes, when the run is cancelled and
// when macro expansion exceeds its budget (kMaxStandardExpansions).
// Never throws for anything the input can cause.
//
// The run happens in a worker process (lib/orvo/orvo-standard-worker beside
// the program's directory) with a memory limit of its own (about 1 GiB), a
// bounded stack and a time limit; one warm worker is kept for the next run,
// and runs on several threads at once each get their own. However the
// worker ends (out of memory, a crash, killed), the run ends with an error
// beginning "standard C stopped: " at the place of the work under way where
// known, and the next run starts a fresh worker. Events reach
// RunOptions::observer in the calling thread, in the order they happened.
RunResult runStandardC(std::string_view input, const RunOptions& options);

// Macro expansions one run may make before it ends with an error, unless
// RunOptions::maxExpansionParses sets another budget. Real code
// stays far below (the 2.3 MB macro benchmark makes about 0.3 million); a
// definition that doubles its tokens per level reaches it within about a
// second, where it would otherwise run for hours without writing a byte.
inline constexpr long kMaxStandardExpansions = 20'000'000;

// The beginnings of the texts of errors that end a standard run early;
// each goes on with the limit that was reached.
inline constexpr const char* kStandardExpansionBudgetText = "macro expansion exceeds its budget of ";
inline constexpr const char* kStandardOutputLimitText = "output exceeds the limit of ";

}  // namespace orvo
