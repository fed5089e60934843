// The standard-C engine: the C standard's own macro examples, the rules it
// follows where the main engine's differ, its messages with places, and the
// bounds that end hostile inputs with a message.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "orvo/StandardRun.h"
#include "support/Command.h"
#include "support/RunHelpers.h"

namespace orvo::test {
namespace {

// Blanks and line breaks collapsed to one blank, so results compare by tokens.
std::string squeezed(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string standard(const std::string& input, const RunOptions& options = {}) {
  const RunResult result = runStandardC(input, options);
  if (!result.ok()) return "<error: " + result.error->text + ">";
  return squeezed(result.output);
}

struct Case {
  const char* name;
  std::string input;
  std::string expected;  // tokens, one blank apart
};

TEST(StandardRun, MacroExamplesOfTheCStandard) {
  const std::vector<Case> cases = {
      {"example 3",
       "#define x 3\n#define f(a) f(x * (a))\n#undef x\n#define x 2\n#define g f\n"
       "#define z z[0]\n#define h g(~\n#define m(a) a(w)\n#define w 0,1\n#define t(a) a\n"
       "#define p() int\n#define q(x) x\n#define r(x,y) x ## y\n#define str(x) # x\n"
       "f(y+1) + f(f(z)) % t(t(g)(0) + t)(1);\ng(x+(3,4)-w) | h 5) & m\n(f)^m(m);\n"
       "p() i[q()] = { q(1), r(2,3), r(4,), r(,5), r(,) };\n"
       "char c[2][6] = { str(hello), str() };\n",
       "f(2 * (y+1)) + f(2 * (f(2 * (z[0])))) % f(2 * (0)) + t(1); "
       "f(2 * (2 +(3,4)-0,1)) | f(2 * (~ 5)) & f(2 * (0,1))^m(0,1); "
       "int i[] = { 1, 23, 4, 5, }; char c[2][6] = { \"hello\", \"\" };"},
      {"example 4",
       "#define str(s) # s\n#define xstr(s) str(s)\n"
       "#define debug(s, t) printf(\"x\" # s \"= %d, x\" # t \"= %s\", \\\n x ## s, x ## t)\n"
       "#define INCFILE(n) vers ## n\n#define glue(a, b) a ## b\n#define xglue(a, b) glue(a, b)\n"
       "#define HIGHLOW \"hello\"\n#define LOW LOW \", world\"\ndebug(1, 2);\n"
       "fputs(str(strncmp(\"abc\\0d\", \"abc\", '\\4') // this goes away\n == 0) str(: @\\n), s);\n"
       "xstr(INCFILE(2).h)\nglue(HIGH, LOW);\nxglue(HIGH, LOW)\n",
       "printf(\"x\" \"1\" \"= %d, x\" \"2\" \"= %s\", x1, x2); "
       "fputs(\"strncmp(\\\"abc\\\\0d\\\", \\\"abc\\\", '\\\\4') == 0\" \": @\\n\", s); "
       "\"vers2.h\" \"hello\"; \"hello\" \", world\""},
      {"example 5",
       "#define t(x,y,z) x ## y ## z\nint j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,),\n"
       " t(10,,), t(,11,), t(,,12), t(,,) };\n",
       "int j[] = { 123, 45, 67, 89, 10, 11, 12, };"},
      {"example 7",
       "#define debug(...) fprintf(stderr, __VA_ARGS__)\n"
       "#define showlist(...) puts(#__VA_ARGS__)\n"
       "#define report(test, ...) ((test)?puts(#test):\\\n printf(__VA_ARGS__))\n"
       "debug(\"Flag\");\ndebug(\"X = %d\\n\", x);\nshowlist(The first, second, and third items.);\n"
       "report(x>y, \"x is %d but y is %d\", x, y);\n",
       "fprintf(stderr, \"Flag\"); fprintf(stderr, \"X = %d\\n\", x); "
       "puts(\"The first, second, and third items.\"); "
       "((x>y)?puts(\"x>y\"): printf(\"x is %d but y is %d\", x, y));"},
  };
  for (const Case& c : cases) EXPECT_EQ(standard(c.input), c.expected) << c.name;
}

TEST(StandardRun, FollowsIsoCWhereTheMainEngineDoesNot) {
  const std::vector<Case> cases = {
      {"macro value in #if", "#define V 5\n#if V > 3\nbig\n#else\nsmall\n#endif\n", "big"},
      {"macro value 0", "#define DEBUG 0\n#if DEBUG\ndbg\n#endif\nend\n", "end"},
      {"suffixes", "#if 10UL > 3 && 0x10u == 16 && 1LL\nyes\n#endif\n", "yes"},
      {"call in #if", "#define TWICE(x) ((x) * 2)\n#if TWICE(2) == 4\nfour\n#endif\n", "four"},
      {"spacing", "#define DECL(t, n) t n;\n#define NEG(x) -x\nDECL(int, x)\nNEG(-1)\n",
       "int x; - -1"},
      {"variadic and __VA_OPT__",
       "#define F(a, ...) f(a __VA_OPT__(,) __VA_ARGS__)\nF(1) F(1, 2, 3)\n", "f(1 ) f(1 , 2, 3)"},
      {"__LINE__ and __FILE__", "\n\nint n = __LINE__; const char *f = __FILE__;\n",
       "int n = 3; const char *f = \"<input>\";"},
      {"standard names", "__STDC__ __STDC_VERSION__\n", "1 201112L"},
      {"none of orvo's own names", "#if defined _Windows || defined __BORLANDC__\nown\n#endif\nx\n",
       "x"},
      {"pragma passed on", "#pragma pack(1)\nx\n", "#pragma pack ( 1 ) x"},
  };
  for (const Case& c : cases) EXPECT_EQ(standard(c.input), c.expected) << c.name;
}

TEST(StandardRun, CommandLineMacrosApplyInOrder) {
  RunOptions options;
  options.commandLineMacros = {{CommandLineMacro::Kind::Define, "A=2"},
                               {CommandLineMacro::Kind::Define, "F(x)=[x]"},
                               {CommandLineMacro::Kind::Define, "B"},
                               {CommandLineMacro::Kind::Undefine, "B"},
                               {CommandLineMacro::Kind::Undefine, "__STDC_VERSION__"}};
  EXPECT_EQ(standard("A F(A) B __STDC_VERSION__\n", options), "2 [2] B __STDC_VERSION__");
}

TEST(StandardRun, IncludeSearchIsTheOrdinaryOne) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "src");
  std::filesystem::create_directories(dir.path() / "inc" / "sub");
  writeFile(dir.path() / "src" / "near.h", "near\n");
  writeFile(dir.path() / "inc" / "near.h", "far\n");
  writeFile(dir.path() / "inc" / "only.h", "only\n");
  writeFile(dir.path() / "inc" / "sub" / "deep.h", "deep\n");
  RunOptions options;
  options.sourceDir = (dir.path() / "src").string();
  options.includeDirectories = {(dir.path() / "inc").string()};
  // Quotes: the input's directory first, then -I; angles: -I only.
  EXPECT_EQ(standard("#include \"near.h\"\n#include <near.h>\n#include \"only.h\"\n", options),
            "near far only");
  // No descent into subdirectories: an error with its place, output kept.
  const RunResult result = runStandardC("a\n#include <deep.h>\nb\n", options);
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].text, "'deep.h' file not found");
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->line, 2);
  EXPECT_EQ(result.diagnostics[0].place->lineText, "#include <deep.h>");
  ASSERT_EQ(result.includedFiles.size(), 1u);
  EXPECT_EQ(result.includedFiles[0].status, IncludedFile::Status::NotFound);
}

TEST(StandardRun, MessagesInIncludedFilesCarryTheIncludeChain) {
  TempDir dir;
  writeFile(dir.path() / "inner.h", "\n#warning careful\n");
  writeFile(dir.path() / "outer.h", "#include \"inner.h\"\n");
  RunOptions options;
  options.sourceDir = dir.path().string();
  options.inputName = "main.c";
  const RunResult result = runStandardC("x\n#include \"outer.h\"\n#error stop\n", options);
  ASSERT_EQ(result.diagnostics.size(), 2u);
  const Diagnostic& warning = result.diagnostics[0];
  EXPECT_EQ(warning.severity, Severity::Warning);
  EXPECT_EQ(warning.text, "careful");
  ASSERT_TRUE(warning.place);
  EXPECT_EQ(warning.place->line, 2);
  ASSERT_EQ(warning.place->includedFrom.size(), 2u);
  EXPECT_EQ(warning.place->includedFrom[0].file, "main.c");
  EXPECT_EQ(warning.place->includedFrom[0].line, 2);
  const Diagnostic& error = result.diagnostics[1];
  EXPECT_EQ(error.severity, Severity::Error);
  EXPECT_EQ(error.text, "stop");
  ASSERT_TRUE(error.place);
  EXPECT_TRUE(error.place->inMainInput);
  EXPECT_EQ(error.place->line, 3);
  EXPECT_TRUE(result.hasErrors());
}

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// Definitions that double their tokens at each level: 2^26 expansions.
std::string exploding(bool toNothing) {
  std::string text = toNothing ? "#define E0\n" : "#define E0 x\n";
  for (int i = 1; i <= 26; ++i)
    text += "#define E" + std::to_string(i) + " E" + std::to_string(i - 1) + " E" +
            std::to_string(i - 1) + "\n";
  return text + "E26\n";
}

TEST(StandardRun, HostileInputsEndWithAMessage) {
  struct Hostile {
    const char* name;
    std::string input;
    RunOptions options;
    std::string error;
  };
  RunOptions smallBudget;
  smallBudget.maxExpansionParses = 100'000;
  RunOptions smallOutput;
  smallOutput.maxOutputBytes = 4096;
  const std::vector<Hostile> cases = {
      {"expansions to nothing", exploding(true), smallBudget,
       "macro expansion exceeds its budget of 100000 expansions"},
      {"huge output", exploding(false), smallOutput, "output exceeds the limit of 4096 bytes"},
      {"deep parentheses", "#if " + std::string(5000, '(') + "1" + std::string(5000, ')') + "\n#endif\n",
       {}, "parentheses nested deeper than 1000 levels"},
      {"nested calls", "#define f(x) x\n" + repeated("f(", 900) + "1" + std::string(900, ')') + "\n",
       {}, ""},
      {"long operator chain", "#if " + std::string(200'000, '-') + "1\n#endif\n", {},
       "unary operators"},
  };
  for (const Hostile& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = runStandardC(c.input, c.options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, budget(3000)) << c.name;
    if (c.error.empty()) continue;
    ASSERT_FALSE(result.ok()) << c.name;
    EXPECT_NE(result.error->text.find(c.error), std::string::npos) << c.name << ": " << result.error->text;
    EXPECT_TRUE(result.output.empty()) << c.name;
  }
  // Recursion through includes ends at the library's depth limit with a message.
  TempDir dir;
  writeFile(dir.path() / "self.h", "#include \"self.h\"\n");
  RunOptions options;
  options.sourceDir = dir.path().string();
  const RunResult result = runStandardC("#include \"self.h\"\n", options);
  ASSERT_FALSE(result.diagnostics.empty());
  EXPECT_NE(result.diagnostics.back().text.find("nested too deeply"), std::string::npos);
}

TEST(StandardRun, CancelledRunEnds) {
  std::atomic<bool> cancel{true};
  RunOptions options;
  options.cancelRequested = &cancel;
  const RunResult result = runStandardC("#define A a\nA A A\n", options);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->text, kCancelledText);
}

// The explorer's events: definitions, calls with their arguments, and
// conditionals with their decisions.
TEST(StandardRun, ReportsEventsToTheObserver) {
  struct Log : RunObserver {
    std::vector<std::string> lines;
    void macroDefined(const MacroDefinedEvent& e) override {
      lines.push_back("define " + e.name + " = " + e.replacement);
    }
    void callCollected(const CallCollectedEvent& e) override {
      std::string line = "call " + e.name + " @" + std::to_string(e.place.line);
      for (const std::string& argument : e.arguments) line += " [" + argument + "]";
      lines.push_back(line);
    }
    void conditional(const ConditionalEvent& e) override {
      lines.push_back("#" + e.directive + " " + e.expression + (e.taken ? " taken" : " not taken"));
    }
    void includeDirective(const IncludeEvent& e) override {
      lines.push_back("include " + e.name + (e.found ? " found" : " not found"));
    }
  } log;
  RunOptions options;
  options.observer = &log;
  const RunResult result = runStandardC(
      "#define V 5\n#define F(a, b) a + b\n#if V > 3\nF(1, x y)\n#elif 1\n#else\n#endif\n"
      "#ifdef W\n#endif\n#include <none.h>\n",
      options);
  const std::vector<std::string> expected = {
      "define V = 5",          "define F = a + b",      "#if V > 3 taken", "call F @4 [1] [x y]",
      "#elif 1 not taken",     "#else  not taken",      "#ifdef W not taken",
      "include none.h not found"};
  EXPECT_EQ(log.lines, expected);
  ASSERT_TRUE(result.explanation);
  EXPECT_EQ(result.explanation->originOf(1).firstLine, 4);
}

// Each expansion ends with the text it gives, nested ones too (innermost
// first), also those in an #if whose tokens never reach the output.
TEST(StandardRun, ExpansionsReportTheirResults) {
  struct Log : RunObserver {
    std::vector<std::string> lines;
    void callFinished(const CallFinishedEvent& e) override {
      lines.push_back(e.name + " = " + e.result + " @" + std::to_string(e.depth));
    }
  };
  const struct {
    const char* input;
    std::vector<std::string> expected;
  } cases[] = {
      {"#define DECL(t,n) t n;\nDECL(int, x)\n", {"DECL = int x; @1"}},
      {"#define A B(1)\n#define B(x) x+1\nA\n", {"B = 1 +1 @2", "A = 1 +1 @1"}},
      {"#define F(a) [a]\n#define V 5\nF(V) F(2)\n", {"V = 5 @2", "F = [5] @1", "F = [2] @1"}},
      {"#define E\nE x\n#define A a\nA A\n", {"E =  @1", "A = a @1", "A = a @1"}},
      {"#define V 5\n#define W V+1\n#if W > 3\n#endif\n", {"V = 5 @2", "W = 5+1 @1"}},
      {"#define NEG(x) -x\nNEG(-1)\n", {"NEG = - -1 @1"}},
  };
  for (const auto& c : cases) {
    Log log;
    RunOptions options;
    options.observer = &log;
    runStandardC(c.input, options);
    EXPECT_EQ(log.lines, c.expected) << c.input;
  }
}

// Every branch of a conditional reports its decision, also the #else and
// #elif lines the library passes over while it skips.
TEST(StandardRun, EveryBranchReportsItsDecision) {
  struct Log : RunObserver {
    std::vector<std::string> lines;
    void conditional(const ConditionalEvent& e) override {
      lines.push_back(std::to_string(e.place.line) + " #" + e.directive +
                      (e.taken ? " taken" : " not taken") + (e.earlierBranchTaken ? " (earlier)" : ""));
    }
  };
  const struct {
    const char* input;
    std::vector<std::string> expected;
  } cases[] = {
      {"#if 0\na\n#else\nb\n#endif\n", {"1 #if not taken", "3 #else taken"}},
      {"#if 1\n#else\n#endif\n", {"1 #if taken", "2 #else not taken (earlier)"}},
      {"#if 1\n#elif 1\n#else\n#endif\n",
       {"1 #if taken", "2 #elif not taken (earlier)", "3 #else not taken (earlier)"}},
      {"#if 0\n#elif 0\n#elif 1\n#else\n#endif\n",
       {"1 #if not taken", "2 #elif not taken", "3 #elif taken", "4 #else not taken (earlier)"}},
      {"#if 0\n#if 1\n#else\n#endif\n#else\n#endif\n", {"1 #if not taken", "5 #else taken"}},
      {"#ifdef X\n#else /* c\n#else */\n#endif\n", {"1 #ifdef not taken", "2 #else taken"}},
  };
  for (const auto& c : cases) {
    Log log;
    RunOptions options;
    options.observer = &log;
    runStandardC(c.input, options);
    EXPECT_EQ(log.lines, c.expected) << c.input;
  }
}

}  // namespace
}  // namespace orvo::test
