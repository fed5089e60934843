// The comparison's rows: one per input line whose results differ, each
// with the rule that makes it, none where the tokens agree; errors on
// either side named in the reason; lines of included files with their file
// and include chain. Runs every example of the catalogue's group
// "Differences from standard C" and mixed programs with several rules on
// neighbouring lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ExampleCatalogue.h"
#include "orvo/Comparison.h"
#include "support/Command.h"

namespace orvo::test {
namespace {

struct ExpectedRow {
  std::string file;  // the row's file name ends so; empty: the main input
  int line;
  std::string rule;
  std::string inReason = {};  // a part of the reason, when it matters
};

struct Program {
  std::string name;
  std::string input;
  std::vector<std::pair<std::string, std::string>> files;  // below the include directory
  std::vector<ExpectedRow> rows;
};

// The examples' input ends lines with CR LF, as the window does.
std::string withoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::string rowsText(const compare::Comparison& comparison) {
  std::string text;
  for (const compare::Difference& d : comparison.differences)
    text += (d.place ? d.place->file + ":" + std::to_string(d.place->line) : std::string("?")) + " " +
            d.rule + ": " + d.reason + "\n";
  return text;
}

void checkRows(const Program& program, const std::string& input) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "inc");
  for (const auto& [name, text] : program.files) {
    std::filesystem::create_directories((dir.path() / "inc" / name).parent_path());
    writeFile(dir.path() / "inc" / name, text);
  }
  writeFile(dir.path() / "in.c", input);
  RunOptions options;
  options.includeDirectories = {(dir.path() / "inc").string()};
  options.sourceDir = dir.path().string();
  options.inputName = "in.c";
  const compare::Comparison comparison = compare::compareRuns(input, options);
  ASSERT_FALSE(comparison.trouble) << program.name << ": " << *comparison.trouble;
  ASSERT_EQ(comparison.differences.size(), program.rows.size())
      << program.name << "\n" << rowsText(comparison);
  for (std::size_t i = 0; i < program.rows.size(); ++i) {
    const ExpectedRow& expected = program.rows[i];
    const compare::Difference& row = comparison.differences[i];
    ASSERT_TRUE(row.place) << program.name << " row " << i;
    const std::string file = expected.file.empty() ? "in.c" : expected.file;
    EXPECT_TRUE(row.place->file.ends_with(file)) << program.name << ": " << row.place->file;
    EXPECT_EQ(row.place->line, expected.line) << program.name << "\n" << rowsText(comparison);
    EXPECT_EQ(row.rule, expected.rule) << program.name << ": " << row.reason;
    EXPECT_NE(row.reason.find(expected.inReason), std::string::npos)
        << program.name << ": " << row.reason;
    // No message text pasted in as a comment, no token dump of a whole line.
    EXPECT_EQ(row.reason.find("//"), std::string::npos) << row.reason;
    // Each row differs: in its tokens, or in an error only one run reports.
    EXPECT_TRUE(row.mainText != row.standardText || row.mainMessage || row.standardMessage)
        << program.name << " row " << i;
  }
}

TEST(CompareRows, EachExampleOfTheDifferencesGroupGivesItsOwnRule) {
  // The example of each rule, with the folder the recursive include needs.
  const std::vector<std::pair<std::string, std::vector<ExpectedRow>>> expected = {
      {"A macro counts 1 in #if", {{"", 3, "macro-value-in-if"}, {"", 5, "macro-value-in-if"}}},
      {"Integer suffixes in #if", {{"", 2, "suffix-in-if"}, {"", 4, "suffix-in-if"}}},
      {"Function-like calls in #if", {{"", 2, "function-call-in-if"}}},
      {"Blanks around macro arguments", {{"", 3, "spacing"}, {"", 4, "spacing"}}},
      {"No variadic macros", {{"", 2, "variadic"}}},
      {"__LINE__, __FILE__, __DATE__ are 1", {{"", 1, "predefined-values"}, {"", 2, "predefined-values"}}},
      {"Predefined names of its own", {{"", 2, "own-predefined"}, {"", 5, "own-predefined"}}},
      {"Includes found in subdirectories", {{"", 1, "recursive-include", "'sys.h' file not found"}}},
  };
  const std::vector<GroupExample> examples = differenceExamples();
  ASSERT_EQ(examples.size(), expected.size());
  for (std::size_t i = 0; i < examples.size(); ++i) {
    ASSERT_EQ(examples[i].name, expected[i].first);
    checkRows(Program{examples[i].name, "", {{"sub/sys.h", "int sys;\nint more;\n"}}, expected[i].second},
              withoutCarriageReturns(examples[i].input));
  }
}

TEST(CompareRows, MixedProgramsGiveOneRowPerDifferingLine) {
  std::string learner = "#define DECL(t, n) t n;\n";
  std::vector<ExpectedRow> learnerRows;
  for (int i = 0; i < 20; ++i) {
    learner += "DECL(int, x" + std::to_string(i) + ")\nint a" + std::to_string(i) + " = 1;\nint b" +
               std::to_string(i) + " = a" + std::to_string(i) + " + 1;\n";
    learnerRows.push_back({"", 2 + 3 * i, "spacing"});
  }
  const std::vector<Program> programs = {
      {"value rule, then spacing right after the conditional",
       "#define V 5\n#if V > 3\nbig\n#else\nsmall\n#endif\n#define DECL(t, n) t n;\nDECL(int, x)\n",
       {},
       {{"", 3, "macro-value-in-if"}, {"", 5, "macro-value-in-if", "the #else on line 4"},
        {"", 8, "spacing", "'intx'"}}},
      {"three rules on neighbouring lines",
       "#define DECL(t, n) t n;\n#define LOG(...) f(__VA_ARGS__)\n#if 10UL > 3\nyes\n#endif\n"
       "DECL(int, y)\nconst char *s = __FILE__;\nLOG(1, 2);\n",
       {},
       {{"", 4, "suffix-in-if", "10UL is 10"}, {"", 6, "spacing"},
        {"", 7, "predefined-values", "in.c\""}, {"", 8, "variadic"}}},
      {"a learner's program: only the calls differ", learner, {}, learnerRows},
      {"an error ends this run: standard C's own error is named",
       "int a;\n#if (1\nx\n#endif\n",
       {},
       {{"", 2, "error", "standard C: error: expected ')' in preprocessor expression"}}},
      {"function_like10: standard C stops at the call", "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\nmin()\n",
       {},
       {{"", 2, "error", "standard C: error: too few arguments provided to function-like macro invocation"}}},
      {"unshielded_comma1: standard C rejects the call",
       "#define foo  a,b\n#define bar(x) lose(x)\n#define lose(x) (1 + (x))\nbar(foo)\n",
       {},
       {{"", 4, "error", "standard C: error: too many arguments"}}},
      {"a header found in no directory", "#include <none.h>\nint a;\n", {},
       {{"", 1, "error", "standard C: error: 'none.h' file not found"}}},
      {"included files: a row in the header, none where both runs report the same error",
       "#include \"outer.h\"\nint main;\n",
       {{"outer.h", "int outer;\n#include \"bad.h\"\n#define DECL(t, n) t n;\nDECL(int, z)\n"},
        {"bad.h", "int bad;\n#if (B\nint in;\n#endif\nint after;\n"}},
       {{"outer.h", 4, "spacing"}}},
      {"a conditional with an error in a header: the errors are the reason, not the values",
       "#include \"outer.h\"\n",
       {{"outer.h", "#include \"bad.h\"\n"}, {"bad.h", "#define B 1\n#if (B\nx\n#endif\n"}},
       {{"bad.h", 3, "error",
         "#if (B (line 2) has an error: here it reports error: ) expected and the branch is taken; "
         "standard C reports error: expected ')' in preprocessor expression and the branch is not taken"}}},
      {"a header only this run finds: one row at its #include, not one per line",
       "int a;\n#include <deep.h>\nint b;\n",
       {{"sub/deep.h", "int one;\nint two;\nint three;\n"}},
       {{"", 2, "recursive-include"}}},
      {"a character constant is no suffix", "#if 'A' == 65\nyes\n#endif\n", {},
       {{"", 1, "other", "the character constant 'A'"}}},
      {"value and suffix in one condition",
       "#define V 5\n#if V > 3 && 10UL > 3\nyes\n#endif\n", {},
       {{"", 3, "macro-value-in-if", "10UL counts as 0"}}},
      {"two causes on one line: one row with both reasons",
       "#define DECL(t, n) t n;\n#define NEG(x) -x\nDECL(int, x) = __LINE__;\nNEG(-1) + sizeof __FILE__;\n"
       "int w = _Windows + __STDC__;\n",
       {},
       {{"", 3, "spacing", "'int x'; also here __LINE__ is always 1; standard C gives the line's number, 3"},
        {"", 4, "spacing", "also here __FILE__ is always 1"},
        {"", 5, "own-predefined",
         "here _Windows is predefined as 1; standard C does not define it and keeps the name; also "
         "here __STDC__ is not predefined and stays as written; standard C predefines it as 1"}}},
      {"a pragma standard C passes on is a row of its own line, not of the line before",
       "int a;\n#pragma pack(1)\nint b;\n#define DECL(t, n) t n;\nDECL(int, c)\n", {},
       {{"", 2, "other"}, {"", 5, "spacing"}}},
      {"own predefined names in text and in #ifdef",
       "int w = __BORLANDC__;\n#ifdef __STDC__\nstd\n#endif\nint s = __STDC__;\n", {},
       {{"", 1, "own-predefined"}, {"", 3, "own-predefined"}, {"", 5, "own-predefined", "predefines it as 1"}}},
  };
  for (const Program& program : programs) checkRows(program, program.input);
}

TEST(CompareRows, ARowInAnIncludedFileNamesItsFileAndIncludeChain) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "inc");
  writeFile(dir.path() / "inc" / "outer.h", "int outer;\n#include \"bad.h\"\n");
  writeFile(dir.path() / "inc" / "bad.h", "#define NEG(x) -x\nint n = NEG(-1);\n");
  RunOptions options;
  options.includeDirectories = {(dir.path() / "inc").string()};
  options.inputName = "in.c";
  const compare::Comparison comparison =
      compare::compareRuns("int a;\nint b;\n#include \"outer.h\"\nint c;\n", options);
  ASSERT_EQ(comparison.differences.size(), 1u) << rowsText(comparison);
  const compare::Difference& row = comparison.differences.front();
  ASSERT_TRUE(row.place);
  EXPECT_TRUE(row.place->file.ends_with("bad.h")) << row.place->file;
  EXPECT_EQ(row.place->line, 2);
  EXPECT_EQ(row.place->lineText, "int n = NEG(-1);");
  EXPECT_FALSE(row.place->inMainInput);
  ASSERT_EQ(row.place->includedFrom.size(), 2u);
  EXPECT_EQ(row.place->includedFrom[0].file, "in.c");
  EXPECT_EQ(row.place->includedFrom[0].line, 3);
  EXPECT_TRUE(row.place->includedFrom[1].file.ends_with("outer.h"));
  EXPECT_EQ(row.place->includedFrom[1].line, 2);
  EXPECT_EQ(row.inputLine, 3);
  EXPECT_EQ(row.rule, "spacing");
  // Both output lines hold the row's text.
  auto outputLine = [](const std::string& output, int line) {
    std::size_t from = 0;
    for (int l = 1; l < line; ++l) from = output.find('\n', from) + 1;
    return output.substr(from, output.find('\n', from) - from);
  };
  EXPECT_NE(outputLine(comparison.main.output, row.mainLine).find("--1"), std::string::npos);
  EXPECT_NE(outputLine(comparison.standard.output, row.standardLine).find("- -1"), std::string::npos);
}

TEST(CompareRows, StandardMessagesAreKeptOnTheirRow) {
  const compare::Comparison comparison = compare::compareRuns("int a;\n#if (1\nx\n#endif\n", {});
  ASSERT_EQ(comparison.differences.size(), 1u);
  const compare::Difference& row = comparison.differences.front();
  ASSERT_TRUE(row.standardMessage);
  EXPECT_EQ(row.standardMessage->severity, Severity::Error);
  EXPECT_EQ(row.standardMessage->text, "expected ')' in preprocessor expression");
  ASSERT_TRUE(row.mainMessage);
  EXPECT_EQ(row.mainMessage->text, ") expected");
  EXPECT_EQ(row.inputLine, 2);
  EXPECT_TRUE(comparison.standardFailed());
}

}  // namespace
}  // namespace orvo::test
