// Groups, comments and the single-line directives, end to end through the
// preprocessing run, with CR LF inputs as the window hands them over.
#include <gtest/gtest.h>

#include <string>

#include "orvo/Run.h"
#include "tests/support/RunHelpers.h"

namespace orvo::test {
namespace {

struct Case {
  const char* name;
  std::string input;
  std::string output;
};

class WrittenText : public ::testing::TestWithParam<Case> {};

TEST_P(WrittenText, MatchesInputSpacing) {
  EXPECT_EQ(pp(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, WrittenText,
    ::testing::Values(
        Case{"EmptyLines", "\r\n\r\n\r\n", "\r\n\r\n\r\n"},
        Case{"EmptyLineBetweenText", "a\r\n\r\nb", "a\r\n\r\nb"},
        Case{"BlankLineKeepsBlanks", "   \r\n", "   \r\n"},
        Case{"LastLineWithoutBreak", "a\r\nb", "a\r\nb"},
        Case{"LineComment", "x = 1; // note\r\n", " x = 1;\r\n"},
        Case{"BlockCommentInLine", "a /* one */ b\r\n", " a b\r\n"},
        Case{"BlockCommentOverThreeLines", "a\r\n/* one\r\ntwo\r\nthree */\r\nb",
             "a\r\n \r\nb"},
        Case{"CommentAloneOnLine", "// c\r\n", " \r\n"},
        Case{"CommentsInARow", "/* a */ /* b */\r\n", "  \r\n"},
        Case{"WarningWritesNothing", "#warning look out\r\nx", "x"},
        Case{"PragmaWritesNothing", "#pragma once\r\nx", "x"},
        Case{"LineWritesNothing", "#line 10\r\nx", "x"},
        Case{"UndefLeavesItsLineBreak", "#undef X\r\nx", "\r\nx"},
        Case{"UndefRemovesObjectMacro", "#define FOO 4\r\n#undef FOO\r\nx = FOO;",
             "\r\nx = FOO;"},
        Case{"UndefRemovesPredefinedMacro",
             "#undef __cplusplus\r\n#if __cplusplus\r\nyes\r\n#endif\r\nend", "\r\n\r\nend"},
        Case{"UndefKeepsFunctionMacro", "#define f(x) x\r\n#undef f\r\nf(1)", "\r\n1 "},
        Case{"DirectiveAfterTextOnLine", "a; #define X 1\r\nX", "a;1"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Directives, ErrorEndsRunWithOperandAsWritten) {
  const RunResult plain = runPreprocessor("#error  stop here\r\n", {});
  ASSERT_FALSE(plain.ok());
  EXPECT_EQ(plain.error->errorClass, ErrorClass::Message);
  EXPECT_EQ(plain.error->text, "  stop here");

  EXPECT_EQ(ppError("#define X 1\r\n#error X\r\n"), " X");
  EXPECT_EQ(ppError("#error // why\r\n"), "#error");
  EXPECT_EQ(ppError("#error\r\n"), "#error");
}

TEST(Directives, WarningIsRecordedAndRunGoesOn) {
  const RunResult result = runPreprocessor("#warning look out\r\nx", {});
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.output, "x");
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].severity, Severity::Warning);
  EXPECT_EQ(result.diagnostics[0].text, " look out");
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->line, 1);
}

TEST(Errors, NameTheProductionAndElement) {
  const struct {
    std::string input;
    std::string text;
  } cases[] = {
      {"#endif\r\n", "incomplete"},
      {"#foo\r\n", "incomplete"},
      {"a\r\n#else\r\nb\r\n", "incomplete"},
      // No scanner there recognises what follows, so nothing is "found".
      {"a /* open", "*/ expected"},
      {"#undef\r\n", "ID expected"},
      {"#warning look out", "SKIP73 expected"},
      // The skip stops at once, which leaves the state in an error state.
      {"#warning\r\n", "incomplete"},
      {"#pragma once", "EOF found; EOL expected"},
      {"#error stop", "EOF found; EOL expected"},
  };
  for (const auto& c : cases) EXPECT_EQ(ppError(c.input), c.text) << c.input;
}

TEST(Errors, IncompleteRunWritesNoOutput) {
  const RunResult result = runPreprocessor("a\r\n#endif\r\nb\r\n", {});
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->errorClass, ErrorClass::Parse);
  EXPECT_EQ(result.output, "");
}

TEST(Nesting, ExtremeNestingEndsWithMessageNotCrash) {
  constexpr int kLevels = 20000;
  std::string input;
  for (int i = 0; i < kLevels; ++i) input += "#if 1\r\n";
  input += "x\r\n";
  for (int i = 0; i < kLevels; ++i) input += "#endif\r\n";
  const RunResult result = runPreprocessor(input, {});
  ASSERT_FALSE(result.ok());
  EXPECT_FALSE(result.error->text.empty());
}

}  // namespace
}  // namespace orvo::test
