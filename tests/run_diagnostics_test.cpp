// Every message of a run names its place: file, line, column and the
// #include lines that led there, in the main input and in included files.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "orvo/Run.h"
#include "tests/support/Command.h"

namespace orvo {
namespace {

using test::TempDir;
using test::writeFile;

bool textMatches(const std::string& actual, const std::string& expected) {
  if (!expected.empty() && expected.back() == '*')
    return actual.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
  return actual == expected;
}

// A message kind, the text that raises it, and where it must point.
struct Case {
  const char* name;
  const char* text;
  Severity severity;
  const char* message;  // expected text, or its start when it ends in '*'
  int line;
  int column;
  bool endsRun;  // in the main input; in an included file a syntax error is recorded
};

const Case kCases[] = {
    {"syntax error", "#if 1 + )\n#endif\n", Severity::Error, "unexpected token", 1, 7,
     true},
    {"conversion", "#if 10L\n#endif\n", Severity::Error, "bad lexical cast*", 1, 5, true},
    {"division", "#if 1 % 0\n#endif\n", Severity::Error, "division by 0", 1, 7, true},
    {"error directive", "x\n  #error stop here\n", Severity::Error, " stop here", 2, 3, true},
    {"warning directive", "#warning look out\n", Severity::Warning, " look out", 1, 10, false},
    {"found again", "#define f(a) a\n #define f(a) a\n", Severity::Warning, "f found again", 2,
     10, false},
    {"nested comment", "a /* /* b */ c */ d\n", Severity::Warning, "\"/*\" within comment", 1,
     6, false},
    {"line comment in comment", "a /* // b */\n c */ d\n", Severity::Warning,
     "\"//\" within comment", 1, 6, false},
    {"expansion limit", "#define f(x) f(x) f(x)\nz f(f(f(f(f(1)))))\n", Severity::Error,
     "macro \"f\" nests more than*", 2, 3, true},
    {"unclosed parameter list", "int a;\n#define F(a\n", Severity::Error,
     "EOL found; ) expected", 2, 11, true},
    {"unclosed group in #if", "#if (1\n#endif\n", Severity::Error, ") expected", 1, 6, true},
    {"#ifdef without a name", "#ifdef\n#endif\n", Severity::Error, "ID expected", 1, 1, true},
    {"call cut by the end of the file", "#define F(a) a\nF(", Severity::Error,
     "EOF found; ) expected", 2, 1, true},
    {"missing include", "\n#include \"missing.h\"\n", Severity::Warning,
     "include file not found: missing.h (*", 2, 1, false},
    {"argument count", "#define F(a, b) a + b\n F(1)\n", Severity::Warning,
     "macro \"F\" requires 2 arguments, but only 1 given", 2, 2, false},
    {"object-like redefinition", "#define O 1\n#define O 2\n", Severity::Warning,
     "\"O\" redefined", 2, 9, false},
    {"#undef of a number", "#undef 3\n", Severity::Warning,
     "#undef of \"3\", which is not a macro name", 1, 8, false},
    {"#undef with more after the name", "#undef A /* a */ B\n", Severity::Warning,
     "extra tokens at end of #undef directive", 1, 18, false},
    {"expansion stopped early",
     "#define EMPTY\n#define h() H\n#define F(a) g(a, h())\n F(EMPTY)\n", Severity::Warning,
     "macro expansion stopped at ',' after 'g(', leaving 'h' unexpanded", 4, 2, false},
};

// The notes of a message kind: each note's text (or its start, ending in
// '*') and its line and column, 0 for a note at the message's own place.
struct NoteCase {
  const char* name;
  const char* text;
  std::vector<std::tuple<const char*, int, int>> notes;
};

const NoteCase kNoteCases[] = {
    {"unclosed group at the end of the file", "#define F(a) a\nx F(1,\n",
     {{"to match this '('", 2, 4}, {"the file ended inside the parentheses opened here*", 2, 4}}},
    {"unclosed group at the end of a line", "#if (1 + (2)\n#endif\n",
     {{"to match this '('", 1, 5}, {"a ')' is missing*", 1, 5}}},
    {"token where a ')' belongs", "#define F(a, b...) a\n",
     {{"to match this '('", 1, 10}, {"'...' cannot stand here: a ')' was expected*", 1, 10}}},
    {"constant with a suffix", "#if 199901L\n#endif\n",
     {{"the constant '199901L' is not plain decimal digits; in #if this preprocessor reads*", 0,
       0}}},
    {"unexpected end", "#if 1 +", {{"the file ended in the middle of something unfinished*", 0, 0}}},
    {"stray #endif", "x\n#endif\n", {{"reading stopped here*", 0, 0}}},
    {"function-like redefinition", "#define f(a) a\n#define f(b) b\n",
     {{"previous definition is here", 1, 9}, {"the function-like macro is defined a second*", 0, 0}}},
    {"object-like redefinition", "#define O 1\n\n#define O 2\n",
     {{"previous definition is here", 1, 9}}},
    {"argument count", "#define F(a, b) a + b\nF(1)\n", {{"macro \"F\" defined here", 1, 9}}},
    {"#undef with more after the name", "#undef A B\n",
     {{"#undef takes one macro name; the text after it is no part of the directive*", 0, 0}}},
    {"expansion stopped early", "#define h() H\n#define F(a) g(a, h())\n#define I(a) a\nI(F())\n",
     {{"in expansion of macro I", 0, 0}, {"a macro's result is read again*", 0, 0}}},
};

void expectNotes(const NoteCase& c, const Diagnostic& message, const std::string& file,
                 const std::string& name) {
  ASSERT_EQ(message.notes.size(), c.notes.size()) << name << ": " << message.text;
  for (std::size_t i = 0; i < c.notes.size(); ++i) {
    const auto& [text, line, column] = c.notes[i];
    const DiagnosticNote& note = message.notes[i];
    EXPECT_TRUE(textMatches(note.text, text)) << name << ": " << note.text;
    if (line == 0) {
      EXPECT_FALSE(note.place) << name << ": " << note.text;
      continue;
    }
    ASSERT_TRUE(note.place) << name << ": " << note.text;
    EXPECT_EQ(note.place->file, file) << name;
    EXPECT_EQ(note.place->line, line) << name << ": " << note.text;
    EXPECT_EQ(note.place->column, column) << name << ": " << note.text;
  }
}


// The message a case is about: the error that ended the run, or the one
// message recorded.
std::optional<Diagnostic> messageOf(const RunResult& result) {
  if (!result.ok()) return result.error->diagnostic();
  if (result.diagnostics.size() != 1) return std::nullopt;
  return result.diagnostics.front();
}

TEST(Diagnostics, EachKindPointsAtItsPlaceInTheMainInput) {
  for (const Case& c : kCases) {
    RunOptions options;
    options.inputName = "main.c";
    const RunResult result = runPreprocessor(c.text, options);
    EXPECT_EQ(!result.ok(), c.endsRun) << c.name;
    const std::optional<Diagnostic> message = messageOf(result);
    ASSERT_TRUE(message) << c.name;
    EXPECT_EQ(message->severity, c.severity) << c.name;
    EXPECT_TRUE(textMatches(message->text, c.message)) << c.name << ": " << message->text;
    ASSERT_TRUE(message->place) << c.name;
    EXPECT_EQ(message->place->file, "main.c") << c.name;
    EXPECT_EQ(message->place->line, c.line) << c.name;
    EXPECT_EQ(message->place->column, c.column) << c.name;
    EXPECT_TRUE(message->place->inMainInput) << c.name;
    EXPECT_TRUE(message->place->includedFrom.empty()) << c.name;
  }
}

// No case may fall silent in an included file: each gives its message, with
// the file and the chain, one and two includes deep, and an error makes the
// run's exit status an error one.
TEST(Diagnostics, EachKindNamesTheIncludedFileAndTheChainOneAndTwoIncludesDeep) {
  for (const bool twoDeep : {false, true}) {
    for (const Case& c : kCases) {
      const std::string name = std::string(c.name) + (twoDeep ? ", two deep" : ", one deep");
      TempDir dir;
      writeFile(dir.path() / "outer.h", "\n#include \"inner.h\"\n");
      writeFile(dir.path() / "inner.h", c.text);
      RunOptions options;
      options.sourceDir = dir.path().string();
      options.inputName = "main.c";
      const std::string first = twoDeep ? "outer.h" : "inner.h";
      const RunResult result =
          runPreprocessor("a\r\nb\r\n  #include <" + first + ">\r\n", options);
      const std::optional<Diagnostic> message = messageOf(result);
      ASSERT_TRUE(message) << name << ": silent";
      EXPECT_EQ(message->severity, c.severity) << name;
      EXPECT_EQ(result.hasErrors(), c.severity == Severity::Error) << name;
      EXPECT_TRUE(textMatches(message->text, c.message)) << name << ": " << message->text;
      ASSERT_TRUE(message->place) << name;
      const SourcePlace& place = *message->place;
      EXPECT_EQ(place.file, (dir.path() / "inner.h").string()) << name;
      EXPECT_EQ(place.line, c.line) << name;
      EXPECT_EQ(place.column, c.column) << name;
      EXPECT_FALSE(place.inMainInput) << name;
      ASSERT_EQ(place.includedFrom.size(), twoDeep ? 2u : 1u) << name;
      EXPECT_EQ(place.includedFrom[0].file, "main.c");
      EXPECT_EQ(place.includedFrom[0].line, 3);
      EXPECT_EQ(place.includedFrom[0].column, 3);
      if (twoDeep) {
        EXPECT_EQ(place.includedFrom[1].file, (dir.path() / "outer.h").string());
        EXPECT_EQ(place.includedFrom[1].line, 2);
      }
    }
  }
}

TEST(Diagnostics, NotesPointAtRelatedPlacesAndExplainTheTextInTheMainInputAndIncluded) {
  for (const NoteCase& c : kNoteCases) {
    RunOptions options;
    options.inputName = "main.c";
    const std::optional<Diagnostic> message = messageOf(runPreprocessor(c.text, options));
    ASSERT_TRUE(message) << c.name;
    expectNotes(c, *message, "main.c", c.name);

    TempDir dir;
    writeFile(dir.path() / "inner.h", c.text);
    options.sourceDir = dir.path().string();
    // An included file's parse goes on after a failed match, so more may
    // follow (here the call that the end of the file completed).
    const RunResult run = runPreprocessor("#include \"inner.h\"\n", options);
    const std::optional<Diagnostic> included =
        run.diagnostics.empty() ? messageOf(run) : std::optional(run.diagnostics.front());
    ASSERT_TRUE(included) << c.name << ", included";
    expectNotes(c, *included, (dir.path() / "inner.h").string(), std::string(c.name) + ", included");
  }
}

TEST(Diagnostics, ErrorInMacroTextNamesTheMacroInANote) {
  const RunResult result = runPreprocessor("#define h(x) x\r\nq h(#) a\r\n", {});
  ASSERT_FALSE(result.diagnostics.empty());
  const std::vector<DiagnosticNote>& notes = result.diagnostics.front().notes;
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.front().text, "in expansion of macro h");
}

// A rescan that stops before the end of its text keeps the rest as it
// stands; that is worth a warning only where a macro in the rest is left
// unexpanded, and only once for all the passes of one call.
TEST(Diagnostics, StoppedExpansionWarnsOncePerCallWhereAMacroIsLeftUnexpanded) {
  const std::string definitions =
      "#define EMPTY\n#define OBJ 1\n#define h() H\n#define F(a) g(a, h())\n#define I(a) a\n";
  const struct {
    const char* line;
    const char* output;
    std::vector<std::string> warnings;
  } cases[] = {
      {"F(EMPTY)", "g(, h()) ", {"macro expansion stopped at ',' after 'g(', leaving 'h' unexpanded"}},
      {"F(EMPTY) F()", "g(, h())  g(, h()) ", {"*", "*"}},
      {"I(I(I(x ## OBJ)))", "x## OBJ   ",
       {"macro expansion stopped at '##' after 'x', leaving 'OBJ' unexpanded"}},
      {"I(x\n# OBJ)", "x\n# OBJ ", {"macro expansion stopped at '#', leaving 'OBJ' unexpanded"}},
      // Nothing the pass would have replaced follows the stop.
      {"I(x # y)", "x# y ", {}},
      {"I(g(, \"OBJ\" 'h()'))", "g(, \"OBJ\" 'h()') ", {}},
      {"I(g(, h))", "g(, h) ", {}},
  };
  for (const auto& c : cases) {
    const RunResult result = runPreprocessor(definitions + c.line + "\n", {});
    ASSERT_TRUE(result.ok()) << c.line;
    EXPECT_EQ(result.output, std::string(c.output) + "\n") << c.line;
    EXPECT_FALSE(result.hasErrors()) << c.line;
    ASSERT_EQ(result.diagnostics.size(), c.warnings.size()) << c.line;
    for (std::size_t i = 0; i < c.warnings.size(); ++i) {
      const Diagnostic& warning = result.diagnostics[i];
      EXPECT_EQ(warning.severity, Severity::Warning) << c.line;
      EXPECT_TRUE(textMatches(warning.text, c.warnings[i])) << c.line << ": " << warning.text;
      EXPECT_TRUE(warning.inMacroText) << c.line;
      ASSERT_TRUE(warning.place) << c.line;
      EXPECT_EQ(warning.place->line, 6) << c.line;
    }
  }
}

// What follows the name of an #undef on its line becomes a line of text;
// blanks, comments and a line end are no such text.
TEST(Diagnostics, UndefWarnsOfTextAfterItsNameOnly) {
  const struct {
    const char* line;
    const char* output;
    int warnedColumn;  // 0: no warning
  } cases[] = {
      {"#undef A B", " B\nA\n", 10},
      {"#undef A(x)", "(x)\nA\n", 9},
      {"#undef A \\\n  B", "B\nA\n", 3},
      {"#undef A \t", " \t\nA\n", 0},
      {"#undef A /* a */ // b", "  \nA\n", 0},
      {"#undef A\r", "\r\nA\n", 0},
  };
  for (const auto& c : cases) {
    const RunResult result = runPreprocessor(std::string("#define A 1\n") + c.line + "\nA\n", {});
    ASSERT_TRUE(result.ok()) << c.line;
    EXPECT_EQ(result.output, c.output) << c.line;
    ASSERT_EQ(result.diagnostics.size(), c.warnedColumn != 0 ? 1u : 0u) << c.line;
    if (c.warnedColumn == 0) continue;
    ASSERT_TRUE(result.diagnostics[0].place) << c.line;
    EXPECT_EQ(result.diagnostics[0].place->column, c.warnedColumn) << c.line;
  }
}

TEST(Diagnostics, MissingIncludeNamesTheDirectoriesSearchedEachTimeAndKeepsTheDirective) {
  TempDir dir;
  RunOptions options;
  options.sourceDir = dir.path().string();
  const RunResult result =
      runPreprocessor("#include \"no.h\"\n#include \"no.h\"\n", options);
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result.hasErrors());
  EXPECT_EQ(result.output, "#include \"no.h\"\n#include \"no.h\"\n");
  ASSERT_EQ(result.diagnostics.size(), 2u);
  for (const Diagnostic& warning : result.diagnostics)
    EXPECT_EQ(warning.text, "include file not found: no.h (searched " + dir.path().string() + ")");
  EXPECT_EQ(runPreprocessor("#include <no.h>\n", {}).diagnostics.at(0).text,
            "include file not found: no.h (no include directories are set)");
}

TEST(Diagnostics, WarnedArgumentCountKeepsTheCommentInTheOutput) {
  const RunResult result = runPreprocessor("#define F(a, b) a + b\nF(1)\n", {});
  EXPECT_EQ(result.output, "1 +  // macro \"F\" requires 2 arguments, but only 1 given\n");
}

TEST(Diagnostics, PlaceCarriesTheSourceLineWithoutItsLineBreak) {
  const RunResult result = runPreprocessor("x\r\n\t#if 1 / 0\r\n#endif\r\n", {});
  ASSERT_FALSE(result.ok());
  ASSERT_TRUE(result.error->place);
  EXPECT_EQ(result.error->place->lineText, "\t#if 1 / 0");
  EXPECT_EQ(result.error->place->column, 8) << "a tab counts as one column";
  EXPECT_EQ(result.error->place->end - result.error->place->begin, 1);
}

// An included file whose parse stops early loses the rest of its text: that
// is an error of the run, while the output before it is kept.
TEST(Diagnostics, IncludedFileThatStopsEarlyRecordsAnErrorAtTheFirstUnreadToken) {
  TempDir dir;
  writeFile(dir.path() / "stop.h", "kept\n#endif\nlost\n");
  RunOptions options;
  options.sourceDir = dir.path().string();
  const RunResult result = runPreprocessor("#include \"stop.h\"\r\nafter", options);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.output, "kept\n\r\nafter");
  EXPECT_TRUE(result.hasErrors());
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].severity, Severity::Error);
  EXPECT_EQ(result.diagnostics[0].text, "incomplete");
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->line, 2);
  EXPECT_EQ(result.diagnostics[0].place->column, 1);
}

TEST(Diagnostics, FileThatCannotBeLoadedIsAnErrorAtTheDirective) {
  TempDir dir;
  std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "gone.h");
  RunOptions options;
  options.sourceDir = dir.path().string();
  const RunResult result = runPreprocessor("x\r\n #include \"gone.h\"\r\n", options);
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(result.hasErrors());
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].severity, Severity::Error);
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->line, 2);
  EXPECT_EQ(result.diagnostics[0].place->column, 2);
}

// A syntax error in rescanned macro text keeps that text; it is a note that
// points at the whole macro call in the source.
TEST(Diagnostics, SyntaxErrorInMacroTextIsANoteAtTheCall) {
  const RunResult result = runPreprocessor("#define h(x) x\r\nq h(#) a\r\n", {});
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result.hasErrors());
  ASSERT_FALSE(result.diagnostics.empty());
  for (const Diagnostic& note : result.diagnostics) {
    EXPECT_EQ(note.severity, Severity::Note);
    EXPECT_TRUE(note.inMacroText);
    ASSERT_TRUE(note.place);
    EXPECT_EQ(note.place->line, 2);
    EXPECT_EQ(note.place->column, 3);
    EXPECT_EQ(note.place->end - note.place->begin, 4) << "the call h(#)";
  }
}

TEST(Diagnostics, IncludeDepthLimitPointsAtTheDirectiveThatCrossedIt) {
  RunOptions options;
  options.sourceDir = std::string(ORVO_TEST_DATA) + "/include/self";
  const RunResult result = runPreprocessor("x\r\n#include \"self.h\"\r\n", options);
  ASSERT_FALSE(result.ok());
  ASSERT_TRUE(result.error->place);
  const SourcePlace& place = *result.error->place;
  EXPECT_EQ(place.file, options.sourceDir + "/self.h");
  EXPECT_EQ(place.line, 1);
  EXPECT_EQ(place.column, 1);
  ASSERT_EQ(place.includedFrom.size(), 200u);
  EXPECT_EQ(place.includedFrom.front().file, "<input>");
  EXPECT_EQ(place.includedFrom.front().line, 2);
}

TEST(Diagnostics, EachReadingOfAFileHasItsOwnChain) {
  TempDir dir;
  writeFile(dir.path() / "w.h", "#warning again\n");
  RunOptions options;
  options.sourceDir = dir.path().string();
  const RunResult result =
      runPreprocessor("#include \"w.h\"\r\n\r\n#include \"w.h\"\r\n", options);
  ASSERT_EQ(result.diagnostics.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(result.diagnostics[i].place);
    EXPECT_EQ(result.diagnostics[i].place->file, (dir.path() / "w.h").string());
    ASSERT_EQ(result.diagnostics[i].place->includedFrom.size(), 1u);
    EXPECT_EQ(result.diagnostics[i].place->includedFrom[0].file, "<input>");
    EXPECT_EQ(result.diagnostics[i].place->includedFrom[0].line, 1 + 2 * i);
  }
}

}  // namespace
}  // namespace orvo
