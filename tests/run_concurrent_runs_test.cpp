// Runs on several threads at once, as the window's live preview makes them
// beside a run of orvo-pp's kind: every run must give what it gives alone.
// Built with -DORVO_TSAN=ON (make tsan), ThreadSanitizer checks that the
// tables and caches the runs share are safe to share.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "run/PreprocessRun.h"
#include "standard/StandardRun.h"

namespace {

struct Job {
  std::string input;
  orvo::RunOptions options;
  bool standard = false;  // run by the standard-C engine
};

// Inputs that reach the shared parts: every example (macros, rescans,
// pasting), includes found by a directory search, a syntax error, and an
// error directive.
std::vector<Job> jobs() {
  std::vector<Job> list;
  for (std::size_t i = 0; i < orvo::ExampleCatalogue::count(); ++i) {
    list.push_back({orvo::ExampleCatalogue::input(i), {}});
  }
  orvo::RunOptions withIncludes;
  withIncludes.includePaths = std::string(ORVO_TEST_DATA) + "/include/basic";
  list.push_back({"#include \"outer.h\"\r\n#include <other/types.h>\r\nx\r\n", withIncludes});
  list.push_back({"#if (1 + 2) * 3 == 9 && defined __LINE__\r\nyes\r\n#endif\r\n", {}});
  list.push_back({"#define f(a) #a a ## 1\r\nf(x y)\r\n#foo\r\n", {}});
  list.push_back({"#error stop here\r\n", {}});
  // The standard-C engine beside the main one, as the window runs both.
  const std::size_t mainJobs = list.size();
  for (std::size_t i = 0; i < mainJobs; ++i) {
    Job job = list[i];
    job.standard = true;
    list.push_back(job);
  }
  return list;
}

struct Outcome {
  std::string output;
  std::string error;
  bool operator==(const Outcome&) const = default;
};

Outcome run(const Job& job) {
  const orvo::RunResult result = job.standard ? orvo::runStandardC(job.input, job.options)
                                             : orvo::runPreprocessor(job.input, job.options);
  std::string messages;
  for (const orvo::Diagnostic& diagnostic : result.diagnostics) messages += diagnostic.text + "\n";
  return {result.output + messages, result.ok() ? std::string() : result.error->text};
}

TEST(ConcurrentRuns, GiveWhatEachRunGivesAlone) {
  const std::vector<Job> list = jobs();
  std::vector<Outcome> alone;
  for (const Job& job : list) alone.push_back(run(job));

  constexpr int kThreads = 3;
  std::vector<std::vector<Outcome>> together(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread walks the list from another start, so different inputs
      // meet in the shared parts.
      for (std::size_t k = 0; k < list.size(); ++k) {
        together[t].push_back(run(list[(k + t * 7) % list.size()]));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    for (std::size_t k = 0; k < list.size(); ++k) {
      const std::size_t job = (k + t * 7) % list.size();
      EXPECT_EQ(together[t][k], alone[job]) << "thread " << t << ", input " << job;
    }
  }
}

}  // namespace

namespace {

// A run that is asked to stop ends at its next write, with an error and no
// output, and a flag that is left unset changes nothing.
TEST(CancelledRun, EndsWithTheCancelErrorAndNoOutput) {
  const std::string input = "#define A 1\r\nint a = A;\r\n";
  std::atomic<bool> cancel{false};
  orvo::RunOptions options;
  options.cancelRequested = &cancel;
  const orvo::RunResult untouched = orvo::runPreprocessor(input, options);
  ASSERT_TRUE(untouched.ok());
  EXPECT_EQ(untouched.output, orvo::runPreprocessor(input, {}).output);

  cancel = true;
  const orvo::RunResult cancelled = orvo::runPreprocessor(input, options);
  ASSERT_FALSE(cancelled.ok());
  EXPECT_EQ(cancelled.error->text, orvo::kCancelledText);
  EXPECT_TRUE(cancelled.output.empty());
}

// Set from another thread while a long run is under way, the flag ends it
// long before it would have finished.
TEST(CancelledRun, EndsALongRunFromAnotherThread) {
  std::string input;
  for (int i = 0; i < 400000; ++i) input += "int x" + std::to_string(i) + " = A + B;\r\n";
  std::atomic<bool> cancel{false};
  orvo::RunOptions options;
  options.cancelRequested = &cancel;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  const orvo::RunResult result = orvo::runPreprocessor(input, options);
  const auto took = std::chrono::steady_clock::now() - start;
  canceller.join();
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->text, orvo::kCancelledText);
  EXPECT_LT(took, std::chrono::seconds(5));
}

}  // namespace
