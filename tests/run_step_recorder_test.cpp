// What the window's explorer keeps of a run: the steps of each expansion
// with the text before and after, their places, and the limit on how much
// is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/ExampleCatalogue.h"
#include "orvo/StepRecorder.h"

namespace orvo {
namespace {

TEST(StepRecorder, KeepsEachStepWithTheTextItStartsFromAndGives) {
  const RecordedRun run = runRecorded(
      "#define ONE 1\n#define twice(x) x x\ntwice(ONE)\n", RunOptions{});
  ASSERT_TRUE(run.result.ok());
  ASSERT_TRUE(run.steps);
  EXPECT_FALSE(run.steps->truncated);
  ASSERT_EQ(run.steps->definitions.size(), 2u);

  struct Expected {
    RecordedStep::Kind kind;
    std::string before;
    std::string after;
  };
  std::vector<Expected> seen;
  for (const RecordedStep& step : run.steps->steps) seen.push_back({step.kind, step.before, step.after});
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().kind, RecordedStep::Kind::Call);
  EXPECT_EQ(seen.front().before, "twice(ONE)");
  EXPECT_EQ(run.steps->steps.front().detail, "arguments: x = ONE");
  EXPECT_TRUE(run.steps->steps.front().opensExpansion);
  EXPECT_EQ(seen[1].kind, RecordedStep::Kind::Built);
  EXPECT_EQ(seen[1].before, "twice(ONE)");
  EXPECT_EQ(seen.back().kind, RecordedStep::Kind::Result);
  EXPECT_EQ(seen.back().before, "twice(ONE)");
  EXPECT_EQ(seen.back().after, run.result.output.substr(0, run.result.output.find('\n')));
  for (const RecordedStep& step : run.steps->steps) {
    EXPECT_EQ(step.step.place.line, 3);
    EXPECT_TRUE(step.step.place.inMainInput);
  }
}

// Places in an included file are not offsets into the main input.
TEST(StepRecorder, MarksWhichPlacesAreInTheMainInput) {
  RunOptions options;
  options.includeDirectories = {std::string(ORVO_TEST_DATA) + "/include/basic"};
  const RecordedRun run = runRecorded("#include \"defines.h\"\nN\n", options);
  ASSERT_TRUE(run.result.ok());
  ASSERT_EQ(run.steps->definitions.size(), 1u);
  EXPECT_FALSE(run.steps->definitions.front().place.inMainInput);
  ASSERT_FALSE(run.steps->steps.empty());
  EXPECT_TRUE(run.steps->steps.front().step.place.inMainInput);
  EXPECT_EQ(run.steps->steps.front().step.place.line, 2);
}

TEST(StepRecorder, StopsKeepingAtItsLimitAndSaysSo) {
  std::string input = "#define f(x) (x)\n";
  for (int i = 0; i < 50; ++i) input += "f(" + std::to_string(i) + ")\n";
  const RecordedRun run = runRecorded(input, RunOptions{}, 10);
  ASSERT_TRUE(run.result.ok());
  EXPECT_TRUE(run.steps->truncated);
  EXPECT_EQ(run.steps->limit, 10u);
  EXPECT_EQ(run.steps->steps.size() + run.steps->definitions.size(), 10u);
  // The run itself is whole: the limit only bounds what is kept.
  EXPECT_NE(run.result.output.find("(49)"), std::string::npos);
}

// Every catalogue example that expands a macro has steps, each placed on a
// line of the input (where the window's Explain panel looks for them), and
// every expansion that opens is closed by its result.
TEST(StepRecorder, PlacesTheStepsOfEveryCatalogueExample) {
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    SCOPED_TRACE(ExampleCatalogue::name(i));
    const std::string input = ExampleCatalogue::input(i);
    const RecordedRun run = runRecorded(input, RunOptions{});
    const int lines = 1 + static_cast<int>(std::count(input.begin(), input.end(), '\n'));
    int open = 0;
    for (const RecordedStep& step : run.steps->steps) {
      EXPECT_TRUE(step.step.place.inMainInput);
      EXPECT_GE(step.step.place.line, 1);
      EXPECT_LE(step.step.place.line, lines);
      if (step.opensExpansion) ++open;
      if (step.kind == RecordedStep::Kind::Result) --open;
    }
    EXPECT_EQ(open, 0);
    // A macro still defined at the end whose name a text line holds.
    std::string textLines;
    for (std::size_t start = 0; start < input.size();) {
      std::size_t end = input.find('\n', start);
      if (end == std::string::npos) end = input.size();
      const std::string line = input.substr(start, end - start);
      if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] != '#')
        textLines += line + "\n";
      start = end + 1;
    }
    ASSERT_TRUE(run.result.explanation.has_value());
    bool usesMacro = false;
    for (const MacroEntry& macro : run.result.explanation->macros)
      usesMacro = usesMacro || (!macro.predefined() && textLines.find(macro.name) != std::string::npos);
    if (usesMacro && run.result.ok()) EXPECT_FALSE(run.steps->steps.empty());
  }
}

// Few steps over huge texts stop at the byte limit instead.
TEST(StepRecorder, StopsKeepingHugeTextsAtTheByteLimit) {
  const std::string value(2 << 20, 'v');
  std::string input = "#define BIG " + value + "\n";
  for (int i = 0; i < 20; ++i) input += "BIG\n";
  const RecordedRun run = runRecorded(input, RunOptions{});
  ASSERT_TRUE(run.result.ok()) << run.result.error->text;
  EXPECT_TRUE(run.steps->truncated);
  std::size_t kept = 0;
  for (const RecordedStep& step : run.steps->steps) kept += step.before.size() + step.after.size();
  EXPECT_LE(kept, kMaxRecordedBytes);
  EXPECT_GT(kept, kMaxRecordedBytes / 2);
}

}  // namespace
}  // namespace orvo
