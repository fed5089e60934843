// orvo-standard-worker: runs the standard-C engine for runStandardC in a
// process of its own. It reads Request frames from the socket on fd 3 (see
// standard/WorkerProtocol.h), runs each with the engine, streams the run's
// events back as they happen and ends each run with a Result frame; a
// Cancel frame cancels the run under way. It ends when the client closes
// its end, and with a Fatal frame when the run cannot go on (memory, stack,
// a crash of the library).
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "standard/EventStream.h"
#include "standard/StandardEngine.h"
#include "standard/WireFormat.h"
#include "standard/WorkerGuards.h"
#include "standard/WorkerProtocol.h"

namespace orvo::standard {
namespace {

// A request as it arrived: the input is the end of the frame's payload.
struct Request {
  std::string payload;
  RunOptions options;
  bool wantsEvents = false;
  std::size_t inputAt = 0;

  std::string_view input() const { return std::string_view(payload).substr(inputAt); }
};

// The request waiting to run, handed from the reading thread to the main one.
std::mutex g_Mutex;
std::condition_variable g_Arrived;
std::optional<Request> g_Pending;
std::atomic<bool> g_Cancel{false};

// Reads exactly `size` bytes; false at the end of the stream.
bool readExactly(char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t got = recv(kWorkerSocketFd, data, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

Request decodeRequest(std::string payload) {
  Request request;
  request.payload = std::move(payload);
  WireReader in(request.payload);
  request.options = in.options();
  request.wantsEvents = in.boolean();
  const std::uint64_t size = in.u64();
  if (size != in.left()) throw WireError("input of the wrong length");
  request.inputAt = request.payload.size() - in.left();
  return request;
}

// The socket's reading end: requests for the main thread, cancellation at
// once. The client gone (or a frame that cannot be read) ends the process.
void readFrames() {
  std::string payload;
  for (;;) {
    char header[kFrameHeaderBytes];
    if (!readExactly(header, sizeof header)) _exit(0);
    std::uint64_t length = 0;
    std::memcpy(&length, header + 1, sizeof length);
    payload.resize(length);
    if (!readExactly(payload.data(), length)) _exit(0);
    switch (static_cast<FrameKind>(header[0])) {
      case FrameKind::Cancel:
        g_Cancel = true;
        break;
      case FrameKind::Request: {
        std::optional<Request> request;
        try {
          request = decodeRequest(std::move(payload));
        } catch (const WireError&) {
          _exit(kWorkerExitCannotStart);
        }
        std::lock_guard lock(g_Mutex);
        g_Cancel = false;
        g_Pending = std::move(request);
        g_Arrived.notify_one();
        break;
      }
      default:
        _exit(kWorkerExitCannotStart);
    }
    payload = std::string();
  }
}

void sendFrame(FrameKind kind, const std::string& payload) {
  char header[kFrameHeaderBytes];
  header[0] = static_cast<char>(kind);
  const std::uint64_t length = payload.size();
  std::memcpy(header + 1, &length, sizeof length);
  sendToClient(header, sizeof header);
  sendToClient(payload.data(), payload.size());
}

void serve(Request request) {
  EventEncoder events([](std::string_view frames) { sendToClient(frames.data(), frames.size()); });
  request.options.cancelRequested = &g_Cancel;
  request.options.observer = request.wantsEvents ? &events : nullptr;
  const RunResult result = runInProcess(request.input(), request.options);
  events.flush();
  request = Request{};  // the input's memory back before the result is encoded
  std::string payload;
  WireWriter(payload).result(result);
  sendFrame(FrameKind::Result, payload);
}

}  // namespace
}  // namespace orvo::standard

int main() {
  using namespace orvo::standard;
  installWorkerGuards(kWorkerSocketFd);
  setRunThreadStart(protectRunThread);
  std::thread reader(readFrames);
  reader.detach();
  for (;;) {
    std::unique_lock lock(g_Mutex);
    g_Arrived.wait(lock, [] { return g_Pending.has_value(); });
    Request request = std::move(*g_Pending);
    g_Pending.reset();
    lock.unlock();
    serve(std::move(request));
  }
}
