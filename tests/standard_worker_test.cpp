// The standard-C engine's worker process: a worker that dies during a run
// ends that run with a message (and the next run works), cancelling ends a
// run within milliseconds even where the library never looks at the flag,
// and the bounds that end inputs with a message instead of exhausting the
// worker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "orvo/StandardRun.h"
#include "support/WorkerProcesses.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

// Object-like macros that double at each level: the run makes expansions
// for seconds until its expansion budget ends it.
std::string doublingObjects() {
  std::string text = "#define A0 x\n";
  for (int k = 1; k <= 40; ++k)
    text += "#define A" + std::to_string(k) + " A" + std::to_string(k - 1) + " A" +
            std::to_string(k - 1) + "\n";
  return text + "A40\n";
}

// A call nested `depth` deep whose result doubles at each level: the
// library builds it without a call back for seconds.
std::string doublingCall(int depth) {
  std::string text = "#define D(x) x x\n";
  for (int i = 0; i < depth; ++i) text += "D(";
  text += "1";
  return text + std::string(depth, ')') + "\n";
}

// Waits until the run under way has reported an expansion.
struct FirstExpansion : RunObserver {
  std::atomic<bool> seen{false};
  void replaced(const ReplacementEvent&) override { seen = true; }
};

TEST(StandardWorker, AWorkerKilledDuringARunEndsItWithAMessageAndTheNextRunWorks) {
  FirstExpansion observer;
  RunOptions options;
  options.observer = &observer;
  const std::string input = doublingObjects();
  auto run = std::async(std::launch::async, [&] { return runStandardC(input, options); });
  while (!observer.seen) std::this_thread::sleep_for(1ms);
  ASSERT_GE(killStandardWorkers(), 1);
  ASSERT_EQ(run.wait_for(5s), std::future_status::ready);
  const RunResult killed = run.get();
  ASSERT_FALSE(killed.ok());
  EXPECT_EQ(killed.error->text.rfind("standard C stopped: its process was killed", 0), 0u)
      << killed.error->text;
  // Placed where the events last were: the expansion under way.
  ASSERT_TRUE(killed.error->place);
  EXPECT_EQ(killed.error->place->line, 42);

  const RunResult next = runStandardC("#define V 5\nV\n", {});
  ASSERT_TRUE(next.ok()) << next.error->text;
  EXPECT_EQ(next.output, "5\n");
}

TEST(StandardWorker, AnIdleWorkerEndedFromOutsideIsReplaced) {
  ASSERT_TRUE(runStandardC("a\n", {}).ok());
  ASSERT_GE(killStandardWorkers(), 1);
  const RunResult result = runStandardC("b\n", {});
  ASSERT_TRUE(result.ok()) << result.error->text;
  EXPECT_EQ(result.output, "b\n");
}

TEST(StandardWorker, CancellingEndsARunWithinMilliseconds) {
  // Expansions look at the flag; one call that grows without calling back
  // does not, and its worker is let go.
  for (const std::string& input : {doublingObjects(), doublingCall(28)}) {
    std::atomic<bool> cancel{false};
    RunOptions options;
    options.cancelRequested = &cancel;
    auto run = std::async(std::launch::async, [&] { return runStandardC(input, options); });
    std::this_thread::sleep_for(300ms);
    const auto cancelled = std::chrono::steady_clock::now();
    cancel = true;
    ASSERT_EQ(run.wait_for(2s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 200ms);
    const RunResult result = run.get();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->text, kCancelledText);
  }
  EXPECT_TRUE(runStandardC("c\n", {}).ok());
}

TEST(StandardWorker, BoundsEndHostileInputsWithAMessageAtTheirPlace) {
  struct Case {
    const char* name;
    std::string input;
    const char* error;
    int line;
  };
  std::string unary = "#define M1";
  for (int i = 0; i < 1000; ++i) unary += " -";
  unary += "\n#define M2";
  for (int i = 0; i < 1000; ++i) unary += " M1";
  unary += "\n#if M2 1\nyes\n#endif\n";
  std::string comments = "#if ";
  for (int i = 0; i < 200'000; ++i) comments += "-/**/";
  comments += "1\n#endif\n";
  std::vector<Case> cases = {
      {"unary operators from macros", unary, "#if expression longer than", 3},
      {"operators between comments", comments, "unary operators", 1},
  };
#ifndef ORVO_SANITIZED
  // The sanitizers' shadow memory leaves the worker without its memory limit.
  cases.push_back({"a call that doubles 30 levels deep", doublingCall(30),
                   "standard C stopped: the expansion needs more than 1 GiB", 2});
#endif
  for (const Case& c : cases) {
    const RunResult result = runStandardC(c.input, {});
    ASSERT_FALSE(result.ok()) << c.name;
    EXPECT_NE(result.error->text.find(c.error), std::string::npos) << c.name << ": " << result.error->text;
    ASSERT_TRUE(result.error->place) << c.name;
    EXPECT_EQ(result.error->place->line, c.line) << c.name;
  }
  EXPECT_TRUE(runStandardC("d\n", {}).ok());
}

}  // namespace
}  // namespace orvo::test
