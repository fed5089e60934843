// What keeps the worker's end predictable: a memory limit of its own, a
// bounded stack for the run, and handlers that turn running out of memory,
// a stack overflow, an abort or a crash into a Fatal frame (the text and
// the place of the work under way) before the process ends.
#pragma once

#include <cstddef>

namespace orvo::standard {

// Sets the address-space limit (what the idle worker holds, the run's
// stack and kRunMemoryBytes, or less when the worker was started under a
// lower limit), sizes the run's stack to fit, keeps an emergency block for
// the report and installs the handlers. `socketFd` is where reports go.
void installWorkerGuards(int socketFd);

// On the thread that runs the engine: a stack for the signal handlers and
// the bounds of the thread's own stack, to tell an overflow from a crash.
void protectRunThread();

// Sends all of `data` to the client; ends the process when the client is
// gone. Async-signal-safe.
void sendToClient(const char* data, std::size_t size);

// Sends a Fatal frame with `text` and the progress offset, then ends the
// process. Async-signal-safe; only the first caller reports.
[[noreturn]] void reportFatal(const char* text);

}  // namespace orvo::standard
