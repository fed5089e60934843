// What the explorer keeps of standard C's steps: its built-in macros with
// their value, worked out as the library works it out (never __FILE__
// turned into nothing), and calls written in another macro's text under
// their own name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/StandardRun.h"
#include "orvo/StepRecorder.h"

namespace orvo {
namespace {

TEST(StandardExplainSteps, NameTheValueOfEachBuiltInMacro) {
  StepRecorder recorder;
  RunOptions options;
  options.inputName = "where.c";
  options.observer = &recorder;
  const RunResult result = runStandardC(
      "#define L __LINE__\nint a;\nx = __LINE__ __FILE__ L\n"
      "__COUNTER__ __COUNTER__ __INCLUDE_LEVEL__ __FILE_NAME__ __BASE_FILE__\n",
      options);
  ASSERT_TRUE(result.ok()) << result.error->text;
  const std::shared_ptr<const StepRecording> steps = recorder.take();
  std::vector<std::string> predefined;
  for (const RecordedStep& step : steps->steps) {
    if (step.kind == RecordedStep::Kind::Replacement && step.detail.rfind("predefined", 0) == 0) {
      predefined.push_back(step.before + " → " + step.after);
      EXPECT_EQ(step.notes.size(), 1u);
    }
  }
  EXPECT_EQ(predefined, (std::vector<std::string>{
                            "__LINE__ → 3", "__FILE__ → \"where.c\"", "__LINE__ → 3",
                            "__COUNTER__ → 0", "__COUNTER__ → 1", "__INCLUDE_LEVEL__ → 0",
                            "__FILE_NAME__ → \"where.c\"", "__BASE_FILE__ → \"where.c\""}));
  // The values are those the output holds.
  EXPECT_NE(result.output.find("x = 3 \"where.c\" 3"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("0 1 0 \"where.c\" \"where.c\""), std::string::npos)
      << result.output;
}

// __DATE__ and __TIME__ are the library's own, read from the output.
TEST(StandardExplainSteps, DateAndTimeAreThoseTheOutputHolds) {
  StepRecorder recorder;
  RunOptions options;
  options.observer = &recorder;
  const RunResult result = runStandardC("__DATE__ __TIME__\n", options);
  ASSERT_TRUE(result.ok());
  const std::shared_ptr<const StepRecording> steps = recorder.take();
  std::string values;
  for (const RecordedStep& step : steps->steps)
    if (step.kind == RecordedStep::Kind::Replacement) values += (values.empty() ? "" : " ") + step.after;
  // "Mmm dd yyyy" "hh:mm:ss"; the clock is read once for the library and
  // once for the step, microseconds apart: only the seconds could differ.
  ASSERT_EQ(values.size(), std::string("\"Dec 11 2026\" \"10:47:56\"").size());
  EXPECT_EQ(result.output.substr(0, 20), values.substr(0, 20));
}

// `twice(1)` is formed in call_with_1's text: the library places it at the
// outer call; its step names it by its own name and arguments.
TEST(StandardExplainSteps, NestedCallsAreNamedByTheirOwnText) {
  StepRecorder recorder;
  RunOptions options;
  options.observer = &recorder;
  const RunResult result = runStandardC(
      "#define twice(x) (2*(x))\n#define call_with_1(x) x(1)\ncall_with_1 (twice)\n", options);
  ASSERT_TRUE(result.ok());
  const std::shared_ptr<const StepRecording> steps = recorder.take();
  std::vector<std::string> calls;
  for (const RecordedStep& step : steps->steps)
    if (step.kind == RecordedStep::Kind::Call) calls.push_back(step.before);
  EXPECT_EQ(calls, (std::vector<std::string>{"call_with_1 (twice)", "twice(1)"}));
}

}  // namespace
}  // namespace orvo
