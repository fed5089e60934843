// A whole preprocessing run over macro-heavy text, without an observer and
// with one that takes every event and does nothing with it: the first is
// the run's own cost, the difference what reporting the steps costs.
#include <benchmark/benchmark.h>

#include <string>

#include "orvo/Run.h"

namespace {

const std::string& Workload() {
  static const std::string text = [] {
    std::string t =
        "#define min(X, Y) ((X) < (Y) ? (X) : (Y))\n#define N 4\n#define LIMIT N\n"
        "#define str(s) #s\n#define xstr(s) str(s)\n";
    for (int i = 0; i < 500; ++i) {
      t += "x = min(min(a, LIMIT), b) + N; s = xstr(LIMIT);\n";
      t += "#if N > 2\nint plain_text_line_" + std::to_string(i) + " = 1;\n#else\nskipped\n#endif\n";
    }
    return t;
  }();
  return text;
}

void BM_Run(benchmark::State& state) {
  orvo::RunObserver observer;
  orvo::RunOptions options;
  if (state.range(0) != 0) options.observer = &observer;
  for (auto _ : state) benchmark::DoNotOptimize(orvo::runPreprocessor(Workload(), options));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Workload().size()));
}
BENCHMARK(BM_Run)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
