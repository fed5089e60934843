// The steps a run reports to its observer, and what its explanation keeps:
// event sequences, places, the line map, skipped lines and the macro table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "orvo/Run.h"
#include "support/RunHelpers.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
const fs::path kData = ORVO_TEST_DATA;

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ",") + item;
  return text;
}

std::string At(const SourcePlace& place) {
  return place.known() ? " @" + std::to_string(place.line) + ":" + std::to_string(place.column)
                       : " @?";
}

// Every event as one short line, so that a whole run compares as a list.
class Recorder : public RunObserver {
 public:
  std::vector<std::string> events;

  void macroDefined(const MacroDefinedEvent& e) override {
    events.push_back("define " + e.name + "(" + Listed(e.parameters) + ") '" + e.replacement +
                     "'" + (e.redefined ? " again" : "") + At(e.place));
  }
  void macroUndefined(const MacroUndefinedEvent& e) override {
    events.push_back("undef " + e.name + (e.removedPredefined ? " -predefined" : "") +
                     (e.removedObjectLike ? " -object" : "") +
                     (e.functionLikeStays ? " function stays" : ""));
  }
  void callCollected(const CallCollectedEvent& e) override {
    events.push_back("call " + e.callText + " [" + Listed(e.arguments) + "]" + At(e.place) +
                     " d" + std::to_string(e.depth));
  }
  void expansionBuilt(const ExpansionBuiltEvent& e) override {
    events.push_back("built '" + e.text + "'");
  }
  void rescanPass(const RescanPassEvent& e) override {
    events.push_back((e.whole ? std::string("whole") : "pass " + std::to_string(e.pass)) + " '" +
                     e.before + "' -> '" + e.after + "'" +
                     (e.expanded.empty() ? "" : " +" + Listed(e.expanded)) +
                     (e.busy.empty() ? "" : " busy " + Listed(e.busy)));
  }
  void replaced(const ReplacementEvent& e) override {
    events.push_back("replace " + e.name + " '" + e.value + "' " + MacroKindName(e.kind) +
                     At(e.place));
  }
  void callFinished(const CallFinishedEvent& e) override {
    events.push_back("finish " + e.name + " '" + e.result + "'");
  }
  void conditional(const ConditionalEvent& e) override {
    std::string text = "#" + e.directive + " '" + e.expression + "'=" + std::to_string(e.value);
    for (const auto& [name, value] : e.names) text += " " + name + "=" + std::to_string(value);
    text += (e.taken ? " taken" : " not taken") + At(e.place);
    if (e.earlierBranchTaken) text += " after taken";
    if (e.skippedFirstLine > 0)
      text += " skip " + std::to_string(e.skippedFirstLine) + "-" +
              std::to_string(e.skippedLastLine);
    events.push_back(text);
  }
  void includeDirective(const IncludeEvent& e) override {
    events.push_back("include " + e.name + (e.loaded ? " loaded" : e.found ? " unreadable" : " missing") +
                     " depth " + std::to_string(e.depth) + At(e.place));
  }
  void includeLeft(const IncludeLeftEvent& e) override { events.push_back("left " + e.name); }
  void message(const MessageEvent& e) override {
    events.push_back(std::string(severityName(e.severity)) + ": " + e.text + At(e.place) +
                     (e.endedRun ? " ended" : ""));
  }
};

struct Traced {
  RunResult result;
  std::vector<std::string> events;
};

Traced Trace(std::string_view input, RunOptions options = {}) {
  Recorder recorder;
  options.observer = &recorder;
  RunResult result = runPreprocessor(input, options);
  return Traced{std::move(result), std::move(recorder.events)};
}

struct EventCase {
  const char* name;
  const char* input;
  std::vector<std::string> events;
};

class TraceEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(TraceEvents, ReportsEachStepInOrder) {
  const Traced traced = Trace(GetParam().input);
  EXPECT_EQ(traced.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TraceEvents,
    ::testing::Values(
        // Object-like chain: each pass inserts one stored value; the next
        // pass rescans it; the pass that changes nothing is not reported.
        EventCase{"ObjectChain",
                  "#define TABLESIZE BUFSIZE\n#define BUFSIZE 1024\nx = TABLESIZE;\n",
                  {"define TABLESIZE() 'BUFSIZE' @1:9", "define BUFSIZE() '1024' @2:9",
                   "replace TABLESIZE 'BUFSIZE' object-like @3:5",
                   "pass 1 'BUFSIZE' -> '1024' +BUFSIZE", "finish TABLESIZE '1024'"}},
        // A macro met inside its own expansion stays as it is.
        EventCase{"BusySelfReference",
                  "#define foo (4 + foo)\nfoo\n",
                  {"define foo() '(4 + foo)' @1:9", "replace foo '(4 + foo)' object-like @2:1",
                   "pass 1 '(4 + foo)' -> '(4 + foo)' busy foo", "finish foo '(4 + foo)'"}},
        // The inner call is copied through while the outer one is busy and
        // expanded by the outer call's pass over its whole result.
        EventCase{"NestedCallOfTheSameMacro",
                  "#define min(X, Y) ((X) < (Y) ? (X) : (Y))\nmin(min(a,b),c)\n",
                  {"define min(X,Y) '((X) < (Y) ? (X) : (Y))' @1:9",
                   "call min(min(a,b),c) [min(a,b),c] @2:1 d1",
                   "built '((min(a,b)) < (c) ? (min(a,b)) : (c))'",
                   "pass 1 'min(a,b)' -> 'min(a,b)' busy min",
                   "pass 1 'min(a,b)' -> 'min(a,b)' busy min",
                   "call min(a,b) [a,b] @2:1 d2", "built '((a) < (b) ? (a) : (b))'",
                   "finish min '((a) < (b) ? (a) : (b)) '",
                   "call min(a,b) [a,b] @2:1 d2", "built '((a) < (b) ? (a) : (b))'",
                   "finish min '((a) < (b) ? (a) : (b)) '",
                   "whole '((min(a,b)) < (c) ? (min(a,b)) : (c))' -> '((((a) < (b) ? (a) : (b)) ) "
                   "< (c) ? (((a) < (b) ? (a) : (b)) ) : (c))' +min,min",
                   "finish min '((((a) < (b) ? (a) : (b)) ) < (c) ? (((a) < (b) ? (a) : (b)) ) : "
                   "(c)) '"}},
        // "#" turns the raw argument into a string; "##" glues raw text.
        EventCase{"StringizeAndPaste",
                  "#define S(x) #x\n#define CAT(a, b) a ## b\n#define xy 1\nS(xy) CAT(x, y)\n",
                  {"define S(x) '#x' @1:9", "define CAT(a,b) 'a##b' @2:9", "define xy() '1' @3:9",
                   "call S(xy) [xy] @4:1 d1", "built ' \"xy\"'", "finish S '\"xy\" '",
                   "call CAT(x, y) [x,y] @4:7 d1", "built 'xy'", "pass 1 'xy' -> '1' +xy",
                   "finish CAT ' 1 '"}},
        EventCase{"WrongArgumentCount",
                  "#define one(x) [x]\none(a, b)\n",
                  {"define one(x) '[x]' @1:9",
                   "warning: macro \"one\" passed 2 arguments, but takes just 1 @2:1",
                   "call one(a, b) [a,b] @2:1 d1", "built '[a]'",
                   "finish one '[a]  // macro \"one\" passed 2 arguments, but takes just 1'"}},
        // A call over two lines: the argument keeps its line break.
        EventCase{"MultiLineArgument",
                  "#define id(x) x\nid(a\nb)\n",
                  {"define id(x) 'x' @1:9", "call id(a\nb) [a\nb] @2:1 d1", "built 'a\nb'",
                   "finish id 'a\nb '"}},
        // Conditions: values by this preprocessor's rules (a user macro
        // counts as 1, `defined` gives the value), skipped lines.
        EventCase{"Branches",
                  "#define X 0\n#if X\ntaken\n#elif 1/1\nno\n#else\nno\n#endif\n"
                  "#ifdef Y\na\nb\n#endif\n#if defined(__TURBOC__) + Z\n#endif\n",
                  {"define X() '0' @1:9", "#if 'X'=1 X=1 taken @2:1",
                   "#elif '1/1'=1 not taken @4:1 after taken skip 5-5",
                   "#else ''=1 not taken @6:1 after taken skip 7-7",
                   "#ifdef 'Y'=0 not taken @9:1 skip 10-11",
                   "#if 'defined(__TURBOC__) + Z'=1376 __TURBOC__=1376 Z=0 taken @13:1"}},
        EventCase{"UndefAndPredefined",
                  "#define f(x) x\n#define f 1\n#undef f\n#undef __LINE__\n#define g(x) x\n"
                  "#define g(x) (x)\n__FILE__\n",
                  {"define f(x) 'x' @1:9", "define f() '1' @2:9", "undef f -object function stays",
                   "undef __LINE__ -predefined", "define g(x) 'x' @5:9",
                   "define g(x) '(x)' again @6:9", "warning: g found again @6:9",
                   "replace __FILE__ '1' predefined @7:1"}},
        EventCase{"ErrorThatEndsTheRun",
                  "#define bad(x) ## x\nok\nbad(1)\n",
                  {"define bad(x) '##x' @1:9", "call bad(1) [1] @3:1 d1",
                   "error: macro may not begin with ## @3:6 ended"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TraceCatalogue, StringizeShowsTheRawArgumentAndXstrShowsTheExpandedOne) {
  // The catalogue's pair: "str (foo)" gives "foo", "xstr (foo)" gives "4".
  std::string strInput;
  std::string xstrInput;
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    const std::string input = ExampleCatalogue::input(i);
    if (input.ends_with("\nstr (foo)")) strInput = input;
    if (input.ends_with("\nxstr (foo)")) xstrInput = input;
  }
  ASSERT_FALSE(strInput.empty());
  ASSERT_FALSE(xstrInput.empty());

  const Traced str = Trace(strInput);
  // Define lines write nothing, their line breaks included.
  EXPECT_EQ(str.result.output, "\"foo\" ");
  const std::vector<std::string> strSteps(str.events.end() - 3, str.events.end());
  EXPECT_EQ(strSteps, (std::vector<std::string>{"call str (foo) [foo] @4:1 d1",
                                                "built ' \"foo\"'", "finish str '\"foo\" '"}));

  const Traced xstr = Trace(xstrInput);
  EXPECT_EQ(xstr.result.output, "\"4\"  ");
  const std::vector<std::string> xstrSteps(xstr.events.end() - 8, xstr.events.end());
  EXPECT_EQ(xstrSteps,
            (std::vector<std::string>{
                "call xstr (foo) [foo] @4:1 d1", "built 'str(foo)'", "pass 1 'foo' -> '4' +foo",
                "call str(4) [4] @4:1 d2", "built ' \"4\"'", "finish str '\"4\" '",
                "whole 'str(4)' -> '\"4\" ' +str", "finish xstr '\"4\"  '"}));
}

TEST(TraceCatalogue, EveryExampleGivesTheSameOutputWithAnObserver) {
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    const std::string input = ExampleCatalogue::input(i);
    const RunResult plain = runPreprocessor(input, {});
    const Traced traced = Trace(input);
    EXPECT_EQ(traced.result.output, plain.output) << ExampleCatalogue::name(i);
    EXPECT_FALSE(plain.explanation.has_value());
    ASSERT_TRUE(traced.result.explanation.has_value());
    // Every call that starts also finishes.
    int open = 0;
    for (const std::string& event : traced.events) {
      if (event.starts_with("call ") || event.starts_with("replace ")) ++open;
      if (event.starts_with("finish ") || event.ends_with("predefined")) --open;
    }
    if (plain.ok()) {
      EXPECT_EQ(open, 0) << ExampleCatalogue::name(i);
    }
  }
}

TEST(TraceIncludes, NestedFilesReportEnteringLeavingAndTheirOwnPlaces) {
  RunOptions options;
  options.sourceDir = (kData / "include" / "basic").string();
  const Traced traced = Trace("#include \"outer.h\"\n#include <nowhere.h>\n#define A 1\n", options);
  ASSERT_TRUE(traced.result.ok());
  EXPECT_EQ(traced.events,
            (std::vector<std::string>{"include outer.h loaded depth 1 @1:1",
                                      "include a.h loaded depth 2 @2:1", "left a.h",
                                      "left outer.h",
                                      "warning: include file not found: nowhere.h (searched " +
                                          options.sourceDir + ") @2:1",
                                      "include nowhere.h missing depth 1 @2:1",
                                      "define A() '1' @3:9"}));
  const RunExplanation& explanation = *traced.result.explanation;
  ASSERT_EQ(explanation.files.size(), 3u);
  EXPECT_EQ(explanation.files[0], "<input>");
  EXPECT_TRUE(explanation.files[1].ends_with("outer.h"));
  EXPECT_TRUE(explanation.files[2].ends_with("a.h"));
  // Each loaded include line leaves its line break after the file's text.
  EXPECT_EQ(traced.result.output, "outer1\nint a;\n\nouter2\n\n#include <nowhere.h>\n");
  const std::vector<std::pair<int, int>> origins = {{1, 1}, {2, 1}, {1, 2},
                                                    {1, 3}, {0, 1}, {0, 2}};
  ASSERT_EQ(explanation.lineMap.size(), origins.size());
  for (std::size_t i = 0; i < origins.size(); ++i) {
    EXPECT_EQ(explanation.lineMap[i].file, origins[i].first) << "output line " << i + 1;
    EXPECT_EQ(explanation.lineMap[i].firstLine, origins[i].second) << "output line " << i + 1;
  }
}

TEST(TraceLineMap, FollowsCrLfLinesSkippedBranchesAndCallsOverSeveralLines) {
  const std::string input = test::crlf({"#define id(x) x", "a", "#if 0", "gone", "#endif",
                                        "id(b,", "c) d", "e", ""});
  const Traced traced = Trace(input);
  ASSERT_TRUE(traced.result.ok());
  const RunExplanation& explanation = *traced.result.explanation;
  // The define line and the skipped branch write nothing; the #endif line
  // leaves its line break.
  ASSERT_EQ(traced.result.output,
            "a\r\n\r\nb  // macro \"id\" passed 2 arguments, but takes just 1 d\r\ne\r\n");
  const std::vector<std::pair<int, int>> ranges = {{2, 2}, {5, 5}, {6, 7}, {8, 8}};
  ASSERT_EQ(explanation.lineMap.size(), ranges.size());
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_EQ(explanation.lineMap[i].firstLine, ranges[i].first) << "output line " << i + 1;
    EXPECT_EQ(explanation.lineMap[i].lastLine, ranges[i].second) << "output line " << i + 1;
  }
  EXPECT_EQ(explanation.outputLinesOf(0, 7), std::vector<int>{3});
  EXPECT_TRUE(explanation.isSkipped(0, 4));
  EXPECT_FALSE(explanation.isSkipped(0, 5));
  ASSERT_EQ(explanation.skipped.size(), 1u);
  EXPECT_FALSE(explanation.originOf(99).known());
}

TEST(TraceMacroTable, KeepsTheTableAtTheEndWithPlacesAndPredefinedMarked) {
  const Traced traced = Trace(
      "#define min(X, Y) ((X) < (Y) ? (X) : (Y))\n#define FOO 4\n#undef FOO\n"
      "#undef __TIME__\n#define BAR FOO\n");
  const std::vector<MacroEntry>& macros = traced.result.explanation->macros;
  auto find = [&](const std::string& name) -> const MacroEntry* {
    for (const MacroEntry& entry : macros)
      if (entry.name == name) return &entry;
    return nullptr;
  };
  EXPECT_EQ(find("FOO"), nullptr);
  EXPECT_EQ(find("__TIME__"), nullptr);
  ASSERT_NE(find("__LINE__"), nullptr);
  EXPECT_TRUE(find("__LINE__")->predefined());
  EXPECT_EQ(find("__BORLANDC__")->replacement, "1376");
  const MacroEntry* min = find("min");
  ASSERT_NE(min, nullptr);
  EXPECT_EQ(min->kind, MacroKind::FunctionLike);
  EXPECT_EQ(min->parameters, (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(min->definedAt.line, 1);
  EXPECT_EQ(find("BAR")->replacement, "FOO");
  EXPECT_EQ(find("BAR")->definedAt.line, 5);
  EXPECT_TRUE(std::is_sorted(macros.begin(), macros.end(),
                             [](const MacroEntry& a, const MacroEntry& b) { return a.name < b.name; }));
}

TEST(TraceMacroTable, SurvivesAnErrorThatEndsTheRun) {
  const Traced traced = Trace("#define KEEP 1\n#error stop\n");
  ASSERT_FALSE(traced.result.ok());
  ASSERT_TRUE(traced.result.explanation.has_value());
  bool kept = false;
  for (const MacroEntry& entry : traced.result.explanation->macros) kept |= entry.name == "KEEP";
  EXPECT_TRUE(kept);
  // At the place the run's diagnostic gives: the #error line.
  EXPECT_EQ(traced.events.back(), "error:  stop @2:1 ended");
  ASSERT_TRUE(traced.result.error->place.has_value());
  EXPECT_EQ(traced.result.error->place->line, 2);
}

TEST(TraceMessages, HaveTheSeverityOfTheRunsDiagnostics) {
  // A syntax error in macro text keeps that text and is a note; #warning is
  // a warning; a file that is not there is a warning too. The observer sees
  // each with the severity the result gives it.
  const Traced traced =
      Trace("#define F(x) a x b\nF(#)\n#warning careful\n#include \"nowhere.h\"\n");
  std::vector<std::string> fromEvents;
  for (const std::string& event : traced.events)
    if (event.rfind("note: ", 0) == 0 || event.rfind("warning: ", 0) == 0 ||
        event.rfind("error: ", 0) == 0)
      fromEvents.push_back(event.substr(0, event.find(':')) + ": " +
                           event.substr(event.find(':') + 2, event.find(" @") - event.find(':') - 2));
  std::vector<std::string> fromDiagnostics;
  for (const Diagnostic& d : traced.result.diagnostics)
    fromDiagnostics.push_back(std::string(severityName(d.severity)) + ": " + d.text);
  EXPECT_EQ(fromEvents, fromDiagnostics);
  ASSERT_FALSE(fromDiagnostics.empty());
  EXPECT_EQ(fromDiagnostics.front(), "note: unexpected token");
}

}  // namespace
}  // namespace orvo
