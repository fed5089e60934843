// What running the standard-C engine in its worker process costs per run,
// against the same run in this process: medians over repeated runs of an
// empty input and of a file (bench/generate_workload.py macros 2300000),
// without and with an observer (whose events cross the socket).
//
// Usage: standard_worker_overhead [FILE] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "orvo/StandardRun.h"
#include "standard/StandardEngine.h"

namespace {

// Counts events, as a front end that keeps them would receive them.
struct Counter : orvo::RunObserver {
  long events = 0;
  void callCollected(const orvo::CallCollectedEvent&) override { ++events; }
  void replaced(const orvo::ReplacementEvent&) override { ++events; }
  void callFinished(const orvo::CallFinishedEvent&) override { ++events; }
  void macroDefined(const orvo::MacroDefinedEvent&) override { ++events; }
  void conditional(const orvo::ConditionalEvent&) override { ++events; }
};

template <typename Run>
double medianMs(int runs, Run run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void compare(const char* name, const std::string& input, bool observed, int runs) {
  Counter counter;
  orvo::RunOptions options;
  if (observed) options.observer = &counter;
  const double inProcess = medianMs(runs, [&] { orvo::standard::runInProcess(input, options); });
  const double worker = medianMs(runs, [&] { orvo::runStandardC(input, options); });
  std::printf("%-28s %-9s in process %8.2f ms   worker %8.2f ms   overhead %+8.2f ms\n", name,
              observed ? "observed" : "plain", inProcess, worker, worker - inProcess);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 2 ? std::atoi(argv[2]) : 21;
  // The first run starts the worker; it is not counted.
  orvo::runStandardC("", {});
  compare("empty input", "", false, runs * 5);
  if (argc > 1) {
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    compare(argv[1], text.str(), false, runs);
    compare(argv[1], text.str(), true, runs);
  }
}
