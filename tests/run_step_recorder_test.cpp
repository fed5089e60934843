// What the window's explorer keeps of a run: the steps of each expansion
// with the text before and after, their places, and the limit on how much
// is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/ExampleCatalogue.h"
#include "explain/DroppedBlanks.h"
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


// The step that gives a call's result says where a blank went: a blank on
// its own in the replacement is rescanned to nothing, and an argument starts
// at its first token, so `t n` with `int` and ` x` gives `intx`.
TEST(StepRecorder, SaysWhichBlankAResultDroppedAndWhatRanTogether) {
  const struct {
    const char* input;
    std::vector<std::string> notes;  // each note must hold its text
  } cases[] = {
      {"#define DECL(t, n) t n;\nDECL(int, x)\n",
       {"the blank before `x` in the replacement is dropped", "and so is the argument's leading blank",
        "`int` and `x` run together into `intx`"}},
      // Written without a blank before x: only the replacement's is dropped.
      {"#define DECL(t, n) t n;\nDECL(int,x)\n", {"`int` and `x` run together into `intx`"}},
      {"#define S(x) a #x\nS(y)\n", {"the blank before `\"y\"`", "`a` and `\"y\"` now touch"}},
      {"#define P(a, b) a + b\nP(1, 2)\n", {"the blank before `2`", "`+` and `2` now touch"}},
      {"#define F(a) (a)\nF(x)\n", {}},
      {"#define G(a) [ a ]\nG( (1) )\n", {}},  // "(" keeps its blank in an argument
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.input);
    const RecordedRun run = runRecorded(entry.input, RunOptions{});
    ASSERT_TRUE(run.result.ok());
    const RecordedStep& result = run.steps->steps.back();
    ASSERT_EQ(result.kind, RecordedStep::Kind::Result);
    if (entry.notes.empty()) {
      EXPECT_TRUE(result.notes.empty()) << result.notes.front();
      EXPECT_EQ(result.detail, "the text that goes into the line");
      continue;
    }
    ASSERT_EQ(result.notes.size(), 1u);
    for (const std::string& text : entry.notes)
      EXPECT_NE(result.notes.front().find(text), std::string::npos) << result.notes.front();
    EXPECT_EQ(result.detail, "the text that goes into the line; a blank is dropped");
    // The other steps of the call drop nothing.
    for (const RecordedStep& step : run.steps->steps)
      if (&step != &result) EXPECT_TRUE(step.notes.empty());
  }
  // Hundreds of parameters give a few sentences, the rest counted.
  std::string parameters = "p0";
  std::string replacement = "p0";
  std::string arguments = "a0";
  for (int i = 1; i < 10; ++i) {
    parameters += ", p" + std::to_string(i);
    replacement += " p" + std::to_string(i);
    arguments += ", a" + std::to_string(i);
  }
  const RecordedRun many = runRecorded(
      "#define M(" + parameters + ") " + replacement + "\nM(" + arguments + ")\n", RunOptions{});
  const RecordedStep& result = many.steps->steps.back();
  ASSERT_EQ(result.notes.size(), kMaxDroppedBlankNotes);
  EXPECT_NE(result.notes.back().find("5 more blanks are dropped"), std::string::npos)
      << result.notes.back();
}

// The other steps say what they did that their texts do not show: a built
// replacement whose parts run together into an operator, a pass that drops
// the blank before a "(", an argument count that does not match.
TEST(StepRecorder, OtherStepsSayWhatTheirTextsDoNotShow) {
  const struct {
    const char* input;
    RecordedStep::Kind kind;
    const char* detail;
    const char* note;
  } cases[] = {
      {"#define NEG(x) -x\nNEG(-1)\n", RecordedStep::Kind::Built,
       "arguments put in, # and ## applied; tokens run together",
       "`-` and `-1` run together into `--1`: the parts are put side by side with no blank "
       "between them, and `--` reads as one operator"},
      {"#define ID(y) y\nID(sizeof (int))\n", RecordedStep::Kind::Pass,
       "rescan pass 1; a blank is dropped",
       "this preprocessor drops the blank between `sizeof` and `(`"},
      {"#define min(X, Y) ((X) < (Y) ? (X) : (Y))\nmin()\n", RecordedStep::Kind::Call,
       "arguments: X = (empty); wrong number of arguments",
       "(macro \"min\" requires 2 arguments, but only 1 given); the call is expanded all the "
       "same"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.input);
    const RecordedRun run = runRecorded(entry.input, RunOptions{});
    ASSERT_TRUE(run.result.ok());
    const auto step = std::find_if(run.steps->steps.begin(), run.steps->steps.end(),
                                   [&](const RecordedStep& s) { return s.kind == entry.kind; });
    ASSERT_NE(step, run.steps->steps.end());
    EXPECT_EQ(step->detail, entry.detail);
    ASSERT_EQ(step->notes.size(), 1u);
    EXPECT_NE(step->notes.front().find(entry.note), std::string::npos) << step->notes.front();
  }
}

// A predefined name's step names it and its value.
TEST(StepRecorder, NamesEachReplacedMacroAndItsValue) {
  const RecordedRun run =
      runRecorded("#define ONE 1\nint l = __LINE__ + ONE;\n", RunOptions{});
  ASSERT_TRUE(run.result.ok());
  std::vector<std::string> details;
  for (const RecordedStep& step : run.steps->steps)
    if (step.kind == RecordedStep::Kind::Replacement) details.push_back(step.detail);
  EXPECT_EQ(details, (std::vector<std::string>{"predefined macro __LINE__ → 1",
                                               "object-like macro ONE → 1"}));
  const RecordedStep& line = run.steps->steps.front();
  EXPECT_EQ(line.before, "__LINE__");
  EXPECT_EQ(line.after, "1");
  ASSERT_EQ(line.notes.size(), 1u);
  EXPECT_EQ(line.notes.front(),
            "__LINE__ is a predefined macro: its value here is 1, put in as it stands, without "
            "a rescan");
}

// The error that ended the run is kept with its place, so that the panel
// can say the run stopped at a conditional rather than that it was skipped.
TEST(StepRecorder, KeepsTheErrorThatEndedTheRun) {
  const RecordedRun run = runRecorded("int a;\n#if (1\nx\n#endif\n", RunOptions{});
  ASSERT_FALSE(run.result.ok());
  ASSERT_TRUE(run.steps->endingError.has_value());
  EXPECT_EQ(run.steps->endingError->text, run.result.error->text);
  EXPECT_TRUE(run.steps->endingError->place.inMainInput);
  EXPECT_EQ(run.steps->endingError->place.line, 2);
  EXPECT_TRUE(run.steps->conditionals.empty());
  EXPECT_FALSE(runRecorded("int a;\n", RunOptions{}).steps->endingError.has_value());
}

// A recording that starts at a line keeps nothing before it, lets nothing
// before it count against the limit, still names the arguments of macros
// defined before it, and keeps the decisions of the conditionals it lies in.
TEST(StepRecorder, RecordsFromAStartLine) {
  std::string input = "#define f(x) (x)\n#if 1\n";  // lines 1 and 2
  for (int i = 0; i < 50; ++i) input += "f(" + std::to_string(i) + ")\n";  // lines 3 to 52
  input += "#endif\n";
  constexpr std::size_t kLimit = 10;
  const RecordedRun fromStart = runRecorded(input, RunOptions{}, kLimit);
  ASSERT_TRUE(fromStart.steps->truncated);

  const RecordedRun run = runRecorded(input, RunOptions{}, kLimit, RecordingStart{45, {2}});
  ASSERT_TRUE(run.result.ok());
  EXPECT_EQ(run.steps->firstLine, 45);
  EXPECT_TRUE(run.steps->definitions.empty());
  ASSERT_EQ(run.steps->conditionals.size(), 1u);
  EXPECT_EQ(run.steps->conditionals.front().place.line, 2);
  ASSERT_FALSE(run.steps->steps.empty());
  for (const RecordedStep& step : run.steps->steps) EXPECT_GE(step.step.place.line, 45);
  EXPECT_EQ(run.steps->steps.front().step.place.line, 45);
  EXPECT_EQ(run.steps->steps.front().detail, "arguments: x = 42");
  EXPECT_EQ(run.result.output, fromStart.result.output);

  // Without the directive line the decision above the start is not kept.
  EXPECT_TRUE(runRecorded(input, RunOptions{}, kLimit, RecordingStart{45, {}})
                  .steps->conditionals.empty());
}

}  // namespace
}  // namespace orvo
