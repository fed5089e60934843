// Preprocessing runs on several threads at once, as the window's worker
// thread and the command line may make them: every parser reads the one
// scanner table of the process, and no run may see another's state.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "orvo/Run.h"

namespace orvo::test {
namespace {

std::vector<std::string> Inputs() {
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i)
    inputs.push_back(ExampleCatalogue::input(i));
  // Comments, excluded groups, expressions, a warning and errors, besides
  // the macros.
  inputs.push_back("/* c */ a // d\n#if 1 + 2 * 3 == 7\nyes\n#else\nno\n#endif\n");
  inputs.push_back("#define F(x) #x x ## 1\nF(a b) F(c)\n#warning careful\n");
  inputs.push_back("#if 1 / 0\n#endif\n");
  inputs.push_back("a )\n#endif\n");
  return inputs;
}

bool SameResult(const RunResult& a, const RunResult& b) {
  if (a.output != b.output || a.ok() != b.ok() || a.diagnostics.size() != b.diagnostics.size())
    return false;
  return a.ok() || (a.error->text == b.error->text && a.error->begin == b.error->begin &&
                    a.error->end == b.error->end);
}

// The threads start before any run of this process, so they also race to
// build the shared tables.
TEST(ConcurrentRuns, GiveTheSameResultsAsOneAfterTheOther) {
  const std::vector<std::string> inputs = Inputs();
  constexpr int kThreads = 4;
  constexpr int kRounds = 10;
  // Per thread, the first result for each input and how many later rounds
  // gave another.
  std::vector<std::vector<RunResult>> seen(kThreads, std::vector<RunResult>(inputs.size()));
  std::vector<int> changed(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&inputs, &seen, &changed, t] {
      for (int round = 0; round < kRounds; ++round) {
        // Each thread walks the inputs from its own place, so different
        // inputs run at the same time.
        for (std::size_t k = 0; k < inputs.size(); ++k) {
          const std::size_t index = (k + static_cast<std::size_t>(t) * 7) % inputs.size();
          RunResult result = runPreprocessor(inputs[index], {});
          if (round == 0)
            seen[t][index] = std::move(result);
          else if (!SameResult(result, seen[t][index]))
            ++changed[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  int differences = 0;
  for (int count : changed) differences += count;
  for (std::size_t index = 0; index < inputs.size(); ++index) {
    const RunResult expected = runPreprocessor(inputs[index], {});
    for (int t = 0; t < kThreads; ++t)
      if (!SameResult(seen[t][index], expected)) ++differences;
  }
  EXPECT_FALSE(runPreprocessor(inputs.back(), {}).ok());
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace orvo::test
