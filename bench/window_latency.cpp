// Latency of the window's path: one preprocessing run, in process and hot,
// of each catalogue example and of a 50 KB and a 500 KB input with macros,
// conditionals and comments. Prints the median of many runs for each.
//
// Usage: window_latency [RUNS]   (default 201 runs per input; the large
// input gets a tenth of them, at least 11)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "bench/RealisticInput.h"
#include "orvo/Run.h"

namespace {

// Median wall time of `runs` runs over `input`, in microseconds, after one
// run that warms caches and the process-wide tables. Exits when a run fails,
// since a failing input measures the error path, not the window's.
double MedianMicroseconds(std::string_view name, std::string_view input, int runs) {
  const orvo::RunOptions options;
  const orvo::RunResult warm = orvo::runPreprocessor(input, options);
  if (!warm.ok()) {
    std::fprintf(stderr, "window_latency: %.*s: %s\n", static_cast<int>(name.size()),
                 name.data(), warm.error->text.c_str());
    std::exit(1);
  }
  std::vector<double> times;
  times.reserve(static_cast<std::size_t>(runs));
  for (int k = 0; k < runs; ++k) {
    const auto start = std::chrono::steady_clock::now();
    const orvo::RunResult result = orvo::runPreprocessor(input, options);
    const auto stop = std::chrono::steady_clock::now();
    if (result.output.size() != warm.output.size()) std::exit(1);
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[static_cast<std::size_t>(runs / 2)];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 201);

  std::printf("%-28s %12s\n", "input", "median us");
  std::vector<double> examples;
  for (std::size_t i = 0; i < orvo::ExampleCatalogue::count(); ++i) {
    const char* name = orvo::ExampleCatalogue::name(i);
    const double median = MedianMicroseconds(name, orvo::ExampleCatalogue::input(i), runs);
    examples.push_back(median);
    std::printf("%-28s %12.1f\n", name, median);
  }
  std::sort(examples.begin(), examples.end());
  std::printf("%-28s %12.1f\n", "catalogue: median", examples[examples.size() / 2]);
  std::printf("%-28s %12.1f\n", "catalogue: slowest", examples.back());

  const std::string medium = orvo::bench::RealisticInput(50 * 1000);
  const std::string large = orvo::bench::RealisticInput(500 * 1000);
  std::printf("%-28s %12.1f\n", "realistic 50 KB", MedianMicroseconds("50 KB", medium, runs));
  std::printf("%-28s %12.1f\n", "realistic 500 KB",
              MedianMicroseconds("500 KB", large, std::max(11, runs / 10)));
  return 0;
}
