// Cost of building the preprocessor's scanner table, which every parser
// construction (so every preprocessing run) pays.
#include <benchmark/benchmark.h>

#include "scan/ScannerTable.h"

namespace {

void BM_BuildPreprocessorScanners(benchmark::State& state) {
  // The first table compiles the shared expressions; runs after it reuse them.
  benchmark::DoNotOptimize(orvo::BuildPreprocessorScanners());
  for (auto _ : state) benchmark::DoNotOptimize(orvo::BuildPreprocessorScanners());
}
BENCHMARK(BM_BuildPreprocessorScanners)->Unit(benchmark::kMicrosecond);

}  // namespace
