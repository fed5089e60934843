// Standard C's steps for its built-in macros name their value, worked out
// as the library works it out, so the explorer never shows __FILE__ turned
// into nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orvo/StandardRun.h"
#include "orvo/StepRecorder.h"

namespace orvo {
namespace {

TEST(StandardPredefinedSteps, NameTheValueOfEachBuiltInMacro) {
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
TEST(StandardPredefinedSteps, DateAndTimeAreThoseTheOutputHolds) {
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

}  // namespace
}  // namespace orvo
