// The standard-C worker processes this test process started, found by
// their parent and program name, so that tests can end them as a crash or
// the system would.
#pragma once

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvo::test {

// The workers, with the processor time each has used, in clock ticks.
struct WorkerProcess {
  pid_t pid = 0;
  long ticks = 0;
};

inline std::vector<WorkerProcess> standardWorkerProcesses() {
  std::vector<WorkerProcess> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    // pid (comm) state ppid ...; comm is cut to 15 characters.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos || line.find("(orvo-standard-w)") == std::string::npos) continue;
    // state ppid pgrp session tty_nr tpgid flags minflt cminflt majflt cmajflt utime stime
    char state = 0;
    long parent = 0, user = 0, system = 0;
    if (std::sscanf(line.c_str() + close + 1,
                    " %c %ld %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &state, &parent, &user,
                    &system) == 4 &&
        parent == getpid() && state != 'Z')
      found.push_back(WorkerProcess{static_cast<pid_t>(std::stol(name)), user + system});
  }
  return found;
}

inline std::vector<pid_t> standardWorkers() {
  std::vector<pid_t> pids;
  for (const WorkerProcess& worker : standardWorkerProcesses()) pids.push_back(worker.pid);
  return pids;
}

// Whether a worker has used more than `ticks` of processor time: one that
// is running, as an idle one has used only its start.
inline bool aStandardWorkerIsBusy(long ticks) {
  for (const WorkerProcess& worker : standardWorkerProcesses())
    if (worker.ticks > ticks) return true;
  return false;
}

// Kills every worker of this process; how many there were.
inline int killStandardWorkers() {
  const std::vector<pid_t> workers = standardWorkers();
  for (const pid_t pid : workers) kill(pid, SIGKILL);
  return static_cast<int>(workers.size());
}

}  // namespace orvo::test
