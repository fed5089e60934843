#include "standard/WorkerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "standard/EventStream.h"
#include "standard/InputPlaces.h"
#include "standard/WireFormat.h"
#include "standard/WorkerProtocol.h"

extern char** environ;

namespace orvo::standard {
namespace {

using Clock = std::chrono::steady_clock;

// How often a run waiting for its worker looks at its cancellation flag.
constexpr int kCancelPollMs = 2;
// Bytes read from the socket at a time.
constexpr std::size_t kReadBytes = 256 * 1024;

std::string frameHeader(FrameKind kind, std::uint64_t length) {
  std::string header(kFrameHeaderBytes, '\0');
  header[0] = static_cast<char>(kind);
  std::memcpy(header.data() + 1, &length, sizeof length);
  return header;
}

// The worker's standard error: its libraries' own texts never reach the
// user (the worker reports through the socket), but sanitizer reports of a
// checked build, or ORVO_STANDARD_WORKER_STDERR=1, keep it.
bool keepWorkerStderr() {
#ifdef ORVO_SANITIZED
  return true;
#else
  const char* keep = std::getenv("ORVO_STANDARD_WORKER_STDERR");
  return keep != nullptr && std::strcmp(keep, "1") == 0;
#endif
}

}  // namespace

std::unique_ptr<WorkerProcess> WorkerProcess::start(const std::string& path,
                                                    std::string& problem) {
  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
    problem = std::string("no socket for it: ") + std::strerror(errno);
    return nullptr;
  }
  int theirs = sockets[1];
  // dup2 onto the same number would keep close-on-exec set.
  if (theirs == kWorkerSocketFd) {
    theirs = fcntl(sockets[1], F_DUPFD_CLOEXEC, kWorkerSocketFd + 1);
    close(sockets[1]);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, theirs, kWorkerSocketFd);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (!keepWorkerStderr())
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Signals as a new program has them, whatever this program set.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  const int failure = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(theirs);
  if (failure != 0) {
    close(sockets[0]);
    problem = "cannot start " + path + ": " + std::strerror(failure);
    return nullptr;
  }
  return std::unique_ptr<WorkerProcess>(new WorkerProcess(pid, sockets[0]));
}

WorkerProcess::~WorkerProcess() { end(); }

bool WorkerProcess::send(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(m_Socket, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool WorkerProcess::alive() const {
  // An idle worker sends nothing: anything to read is the end of its socket.
  pollfd ready{m_Socket, POLLIN, 0};
  return !m_Ended && poll(&ready, 1, 0) == 0;
}

int WorkerProcess::end() {
  if (m_Ended) return m_Status;
  m_Ended = true;
  m_Reusable = false;
  // A worker that already ended keeps the status it ended with.
  kill(m_Pid, SIGKILL);
  while (waitpid(m_Pid, &m_Status, 0) < 0 && errno == EINTR) {
  }
  close(m_Socket);
  return m_Status;
}

std::string WorkerProcess::endedText(int status) const {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    const char* name = sigabbrev_np(signal);
    const std::string named = name != nullptr ? std::string("SIG") + name : std::to_string(signal);
    if (signal == SIGKILL)
      return std::string(kStoppedText) + "its process was killed (" + named +
             ": by the system when memory ran short, or by a user)";
    return std::string(kStoppedText) + "its process ended on signal " + named;
  }
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code == 127 || code == kWorkerExitCannotStart)
    return "the standard C engine is not available: its worker program could not start "
           "(exit status " + std::to_string(code) + ")";
  return std::string(kStoppedText) + "its process ended during the run (exit status " +
         std::to_string(code) + ")";
}

RunResult WorkerProcess::run(std::string_view input, const RunOptions& options) {
  const Clock::time_point deadline = Clock::now() + kRunTimeLimit;
  std::optional<Clock::time_point> cancelDeadline;
  SourcePlace lastPlace;

  bool answered = false;
  // Ends the run with `text` as its error, at `place` or the last place
  // the events named. The observer hears of it once the worker answered;
  // else the caller may try again (endedBeforeAnswering).
  const auto stopped = [&](std::string text, std::optional<SourcePlace> place) {
    RunResult result;
    if (!place && lastPlace.known()) place = lastPlace;
    result.error = RunError{ErrorClass::Message, std::move(text)};
    result.error->place = std::move(place);
    if (options.observer != nullptr && answered)
      options.observer->message(MessageEvent{result.error->place.value_or(SourcePlace{}),
                                             Severity::Error, result.error->text, true});
    return result;
  };
  const auto ended = [&] {
    m_EndedBeforeAnswering = !answered;
    return stopped(endedText(end()), std::nullopt);
  };
  const auto cancelled = [] {
    RunResult result;
    result.error = RunError{ErrorClass::Message, kCancelledText};
    return result;
  };
  if (options.cancelRequested != nullptr && options.cancelRequested->load()) return cancelled();

  {
    // The input goes last and straight from the caller's text, uncopied.
    std::string request = frameHeader(FrameKind::Request, 0);
    WireWriter out(request);
    out.options(options);
    out.boolean(options.observer != nullptr);
    out.u64(input.size());
    const std::uint64_t length = request.size() - kFrameHeaderBytes + input.size();
    std::memcpy(request.data() + 1, &length, sizeof length);
    if (!send(request.data(), request.size()) || !send(input.data(), input.size()))
      return ended();
  }

  std::string buffer;
  std::size_t parsed = 0;
  const auto chunk = std::make_unique<char[]>(kReadBytes);
  for (;;) {
    // Every whole frame received so far.
    while (buffer.size() - parsed >= kFrameHeaderBytes) {
      std::uint64_t length = 0;
      std::memcpy(&length, buffer.data() + parsed + 1, sizeof length);
      if (buffer.size() - parsed - kFrameHeaderBytes < length) {
        buffer.reserve(parsed + kFrameHeaderBytes + length);
        break;
      }
      const auto kind = static_cast<FrameKind>(buffer[parsed]);
      answered = true;
      const std::string_view payload(buffer.data() + parsed + kFrameHeaderBytes, length);
      parsed += kFrameHeaderBytes + length;
      try {
        if (kind == FrameKind::Event) {
          if (options.observer != nullptr) replayEvent(payload, *options.observer, lastPlace);
        } else if (kind == FrameKind::Result) {
          return WireReader(payload).result();
        } else if (kind == FrameKind::Fatal) {
          WireReader in(payload);
          const std::string text = in.text();
          const std::int64_t offset = in.i64();
          end();
          std::optional<SourcePlace> place;
          if (offset >= 0)
            place = placeAtOffset(input, static_cast<std::size_t>(offset), options.inputName);
          return stopped(kStoppedText + text, std::move(place));
        } else {
          throw WireError("unknown frame");
        }
      } catch (const WireError& error) {
        end();
        return stopped(std::string(kStoppedText) + "its reply could not be read (" + error.what() +
                           ")",
                       std::nullopt);
      }
    }
    if (parsed == buffer.size()) {
      buffer.clear();
      parsed = 0;
    } else if (parsed > kReadBytes) {
      buffer.erase(0, parsed);
      parsed = 0;
    }

    const Clock::time_point now = Clock::now();
    if (options.cancelRequested != nullptr && options.cancelRequested->load() && !cancelDeadline) {
      cancelDeadline = now + kCancelGrace;
      if (const std::string cancel = frameHeader(FrameKind::Cancel, 0);
          !send(cancel.data(), cancel.size()))
        return ended();
    }
    if (cancelDeadline && now >= *cancelDeadline) {
      // The library is somewhere it does not look at the flag: the worker goes.
      end();
      return cancelled();
    }
    if (now >= deadline) {
      end();
      return stopped(std::string(kStoppedText) + "the run took more than " +
                         std::to_string(kRunTimeLimit.count()) + " s",
                     std::nullopt);
    }
    const auto untilDeadline =
        std::chrono::duration_cast<std::chrono::milliseconds>(
            (cancelDeadline ? *cancelDeadline : deadline) - now).count() + 1;
    const int timeout = options.cancelRequested != nullptr && !cancelDeadline
                            ? kCancelPollMs
                            : static_cast<int>(untilDeadline);
    pollfd ready{m_Socket, POLLIN, 0};
    const int polled = poll(&ready, 1, timeout);
    if (polled < 0 && errno != EINTR) return ended();
    if (polled <= 0) continue;
    const ssize_t got = recv(m_Socket, chunk.get(), kReadBytes, 0);
    if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) return ended();
    if (got > 0) buffer.append(chunk.get(), static_cast<std::size_t>(got));
  }
}

}  // namespace orvo::standard
