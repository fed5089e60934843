// The conversation between runStandardC (standard/WorkerClient.h) and the
// standard-C worker process (standard/WorkerMain.cpp), over one stream
// socket. Each message is a frame: a kind byte, the payload's length (8
// bytes) and the payload (standard/WireFormat.h).
//
//   client -> worker: Request (options, whether events are wanted, input),
//                     then possibly Cancel.
//   worker -> client: Event frames as the run goes, then Result; or, when
//                     the worker must end, Fatal (and it exits).
//
// A worker serves one request at a time and waits for the next; the client
// keeps it for later runs. A stray Cancel that arrives after its run ended
// is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvo::standard {

enum class FrameKind : std::uint8_t {
  Request = 'Q',
  Cancel = 'C',
  Event = 'E',
  Result = 'R',
  // The worker cannot go on: the payload is the text and the byte offset
  // in the main input of the expansion under way (-1 when unknown).
  Fatal = 'F',
};

inline constexpr std::size_t kFrameHeaderBytes = 1 + 8;

// The worker's end of the socket.
inline constexpr int kWorkerSocketFd = 3;

// Exit statuses of the worker: a Fatal frame was sent before it ended; it
// could not start (its libraries missing, no socket).
inline constexpr int kWorkerExitReported = 70;
inline constexpr int kWorkerExitCannotStart = 71;

// Where the worker program lies, relative to the directory of the running
// program: build/bin/../lib/orvo in the build tree, PREFIX/bin/../lib/orvo
// once installed.
inline constexpr const char* kWorkerPath = "../lib/orvo/orvo-standard-worker";

// The memory a standard run may take beyond what the idle worker holds.
inline constexpr std::size_t kRunMemoryBytes = std::size_t{1} << 30;

}  // namespace orvo::standard
