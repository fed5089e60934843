// Runs on several threads at once, as the window's live preview makes them
// beside a run of orvo-pp's kind: every run must give what it gives alone.
// Built with -DORVO_TSAN=ON (make tsan), ThreadSanitizer checks that the
// tables and caches the runs share are safe to share.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "orvo/Run.h"
#include "orvo/StandardRun.h"
#include "tests/support/RunHelpers.h"

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
  withIncludes.includeDirectories = {std::string(ORVO_TEST_DATA) + "/include/basic"};
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

// Work that writes nothing (definitions, skipped lines, rescans whose result
// is one token) ends within 50 ms of the flag being set, too.
TEST(CancelledRun, EndsWithin50MillisecondsAlsoWhenNothingIsWritten) {
  std::string definitions;
  for (int n = 0; n < 1000000; ++n) {
    const std::string next = std::to_string(n + 1);
    definitions += "#define G" + std::to_string(n) + "(a,b) a##b + G" + next + "(a,b)\n";
  }
  // Lines between two conditional directives are skipped as one token, so
  // the skipped part is many short sections, as in headers.
  std::string skipped = "#if 0\n";
  for (int n = 0; n < 500000; ++n) skipped += "#ifdef S" + std::to_string(n) + "\nint s;\n#endif\n";
  skipped += "#endif\n";
  // One call whose four million rescans write nothing until they end, with
  // the budgets lifted so that they run for about a second.
  std::string rescans = "#define F0(x) x\n";
  for (int n = 1; n <= 22; ++n) {
    const std::string below = "F" + std::to_string(n - 1) + "(x)";
    rescans += "#define F" + std::to_string(n) + "(x) " + below + " " + below + "\n";
  }
  rescans += "F22(y)\n";
  // The best of three tries counts, so that a busy machine does not fail
  // the test; a run that does not look at the flag takes seconds in each.
  constexpr int kTries = 3;
  for (const auto& [name, input] : {std::pair{"definitions", &definitions},
                                    std::pair{"skipped lines", &skipped},
                                    std::pair{"rescans", &rescans}}) {
    auto fastest = std::chrono::steady_clock::duration::max();
    for (int attempt = 0; attempt < kTries; ++attempt) {
      std::atomic<bool> cancel{false};
      orvo::RunOptions options;
      options.cancelRequested = &cancel;
      options.maxExpansionParses = INT_MAX;
      options.maxExpandedBytes = std::size_t{1} << 30;
      std::chrono::steady_clock::time_point cancelledAt;
      std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        cancelledAt = std::chrono::steady_clock::now();
        cancel = true;
      });
      const orvo::RunResult result = orvo::runPreprocessor(*input, options);
      const auto endedAt = std::chrono::steady_clock::now();
      canceller.join();
      ASSERT_FALSE(result.ok()) << name;
      EXPECT_EQ(result.error->text, orvo::kCancelledText) << name;
      fastest = std::min(fastest, endedAt - cancelledAt);
    }
    EXPECT_LT(fastest, orvo::test::budget(50)) << name;
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
