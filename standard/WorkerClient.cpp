// runStandardC in the programs: hands each run to a standard-C worker
// process (standard/WorkerMain.cpp). Workers are kept warm between runs,
// so that only the first run of a program pays for loading Clang; runs on
// several threads at once each get a worker of their own. A worker that
// ended a run abruptly is let go, and the next run starts a fresh one.
#include <unistd.h>

#include <climits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/StandardRun.h"
#include "standard/WorkerProcess.h"
#include "standard/WorkerProtocol.h"

namespace orvo {
namespace {

// Idle workers kept: as many as runs a front end makes at once (the
// window's live preview and a comparison); more are let go after their run.
constexpr std::size_t kMaxIdleWorkers = 4;

std::string programDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/'));
}

class WorkerPool {
 public:
  // An idle worker, or a new one (`fresh`); null with `problem` set when
  // none can be started.
  std::unique_ptr<standard::WorkerProcess> take(std::string& problem, bool& fresh) {
    fresh = false;
    for (;;) {
      std::unique_ptr<standard::WorkerProcess> worker;
      {
        std::lock_guard lock(m_Mutex);
        if (m_Idle.empty()) break;
        worker = std::move(m_Idle.back());
        m_Idle.pop_back();
      }
      // One that ended while it waited is reaped here (its destructor).
      if (worker->alive()) return worker;
    }
    fresh = true;
    return start(problem);
  }

  std::unique_ptr<standard::WorkerProcess> start(std::string& problem) {
    return standard::WorkerProcess::start(m_Path, problem);
  }

  void giveBack(std::unique_ptr<standard::WorkerProcess> worker) {
    if (!worker->reusable()) return;
    std::lock_guard lock(m_Mutex);
    if (m_Idle.size() < kMaxIdleWorkers) m_Idle.push_back(std::move(worker));
  }

 private:
  const std::string m_Path = programDirectory() + "/" + standard::kWorkerPath;
  std::mutex m_Mutex;
  std::vector<std::unique_ptr<standard::WorkerProcess>> m_Idle;
};

WorkerPool& pool() {
  static WorkerPool workers;
  return workers;
}

}  // namespace

RunResult runStandardC(std::string_view input, const RunOptions& options) {
  std::string problem;
  bool fresh = false;
  std::unique_ptr<standard::WorkerProcess> worker = pool().take(problem, fresh);
  const auto unavailable = [&] {
    RunResult result;
    result.error =
        RunError{ErrorClass::Message, "the standard C engine is not available: " + problem};
    return result;
  };
  if (worker == nullptr) return unavailable();
  RunResult result = worker->run(input, options);
  // An idle worker killed a moment before it was taken looks alive until
  // the system has closed its socket: the run goes to a fresh one.
  if (!fresh && worker->endedBeforeAnswering()) {
    worker = pool().start(problem);
    if (worker == nullptr) return unavailable();
    result = worker->run(input, options);
  }
  if (worker->endedBeforeAnswering() && options.observer != nullptr)
    options.observer->message(MessageEvent{result.error->place.value_or(SourcePlace{}),
                                           Severity::Error, result.error->text, true});
  pool().giveBack(std::move(worker));
  return result;
}

}  // namespace orvo
