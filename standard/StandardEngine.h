// The standard-C engine itself, over Clang's preprocessor library. It runs
// in the worker process (standard/WorkerMain.cpp), which runStandardC starts
// and talks to, so that nothing the library does to its process (memory it
// cannot get, a stack it overflows, an abort) reaches the caller's.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "orvo/Run.h"

namespace orvo::standard {

// Runs the engine in this process, on a thread with a stack of
// runStackBytes(); every bound below applies.
RunResult runInProcess(std::string_view input, const RunOptions& options);

// The stack a run gets. The library evaluates #if expressions recursively,
// a few hundred bytes of stack for each nested parenthesis or unary
// operator, so the stack decides how long a chain of operators may be
// (maxOperatorChain). Reserved, touched only as far as used.
inline constexpr std::size_t kDefaultRunStackBytes = std::size_t{512} << 20;
// Stack allowed for each operator of a chain: twice a generous 2 KiB for
// the few hundred bytes one level of the evaluator takes.
inline constexpr std::size_t kStackBytesPerOperator = 4096;
void setRunStackBytes(std::size_t bytes);
// Called first on each run's thread (the worker installs its signal stack).
void setRunThreadStart(void (*start)());
std::size_t runStackBytes();
// Longest chain of unary operators (- + ! ~) an #if may hold, before or
// after macro expansion: what the stack allows.
int maxOperatorChain();

// The memory the process may hold while a run expands macros: past
// `processBytes` of address space the run ends with an error at the
// expansion under way, saying it needs more than `runBytes`, before the
// process runs out. 0: no budget (the default).
void setMemoryBudget(std::size_t processBytes, std::size_t runBytes);
// The error's text when the process holds more than the budget; else empty.
std::string overMemoryBudget();
// "1 GiB", "552 MiB".
std::string describeBytes(std::size_t bytes);

// The byte offset in the main input of the work under way (the outermost
// expansion, the directive or the line being written); -1 before a run
// reaches the main input. The worker names it when the run must end
// abruptly, so it is kept where a signal handler can read it.
// `inExpansion`: the work is a macro expansion (else a line or directive).
void noteProgress(long offset, bool inExpansion);
long progressOffset();
bool progressInExpansion();

}  // namespace orvo::standard
