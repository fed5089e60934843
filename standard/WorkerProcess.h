// One standard-C worker process as its client sees it: started with a
// socket to talk over, given runs one at a time, and killed and reaped
// when it is let go. Every way a run can end in the worker (a result, a
// report before it ended, an exit, a signal, a closed socket, the time
// limit) comes back as a RunResult.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "orvo/Run.h"

namespace orvo::standard {

// How long one run may take before its worker is killed, and how long a
// cancelled run may take to end before its worker is.
inline constexpr std::chrono::seconds kRunTimeLimit{60};
inline constexpr std::chrono::milliseconds kCancelGrace{30};

// The beginning of every error of a worker that ended during a run.
inline constexpr const char* kStoppedText = "standard C stopped: ";

class WorkerProcess {
 public:
  // Starts the worker program at `path`; null with `problem` set when it
  // cannot be started.
  static std::unique_ptr<WorkerProcess> start(const std::string& path, std::string& problem);
  ~WorkerProcess();
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  // Runs `input` in the worker: its events go to options.observer as they
  // arrive, options.cancelRequested is watched throughout. An error that
  // ends the run goes to the observer too, but for a worker that ended
  // before it answered at all (endedBeforeAnswering).
  RunResult run(std::string_view input, const RunOptions& options);
  // Whether the worker can take another run (it ended none abruptly).
  bool reusable() const { return m_Reusable; }
  // Whether an idle worker is still there to take a run (it was not ended
  // from outside while it waited; one killed a moment ago may still look so).
  bool alive() const;
  // Whether the last run found the worker gone before it answered at all.
  bool endedBeforeAnswering() const { return m_EndedBeforeAnswering; }
  pid_t pid() const { return m_Pid; }

 private:
  WorkerProcess(pid_t pid, int socket) : m_Pid(pid), m_Socket(socket) {}
  bool send(const char* data, std::size_t size);
  // Kills the worker (if still running) and waits for it; its status.
  int end();
  // The error for a worker that ended without a report, from its status.
  std::string endedText(int status) const;

  pid_t m_Pid;
  int m_Socket;
  bool m_Reusable = true;
  bool m_Ended = false;
  bool m_EndedBeforeAnswering = false;
  int m_Status = 0;
};

}  // namespace orvo::standard
