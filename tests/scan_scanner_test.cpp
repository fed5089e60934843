#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "scan/ScannerTable.h"

namespace orvo {
namespace {

// Positions of the grammar used below, by their expected sets.
constexpr int kGroupStart = 14;      // a group, or the end of input
constexpr int kTextLine = 29;        // inside a text line
constexpr int kOperand = 45;         // operand of a constant expression
constexpr int kArgumentEnd = 108;    // ")" or "," after a macro argument
constexpr int kCommentStart = 5;     // the comment inclusion itself
constexpr int kCommentBody = 8;      // inside a block comment
constexpr int kIncludePath = 2;      // an include directory entry
constexpr int kExcludedGroup = 40;   // inside an excluded conditional group
constexpr int kSkipOnly = 217;       // excluded group with no expected token
constexpr int kWarningText = 186;    // the text of a warning line

const CVL_ScannerTable& Table() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  return *table;
}

// One scanner step over a private copy of the input.
struct Step {
  Step(int scanner, std::string text, int kindLimit = match_kind::None) : input(std::move(text)) {
    match.reset(begin());
    found = Table().scanner(scanner)->scanWith(match, end(), kindLimit, nullptr, inclusion);
  }
  const char* begin() const { return input.data(); }
  const char* end() const { return input.data() + input.size(); }

  int id() const { return match.m_pSymbol ? match.m_pSymbol->id : -1; }
  // The recognised text: the whole regex match, else the counted length.
  std::string token() const {
    if (match.m_Kind == match_kind::Regex) return match.m_Submatches.str(0);
    return std::string(match.m_pTokenBegin, static_cast<std::size_t>(match.m_Length));
  }
  std::string submatch(int n) const { return match.m_Submatches.str(match.m_Group + n); }
  std::string prefix() const { return std::string(begin(), match.m_pTokenBegin); }
  // For a skip: the jumped-over text and the stop token.
  std::string skipped() const { return std::string(match.m_pTokenBegin, match.m_Submatches[0].first); }
  std::string stop() const { return match.m_Submatches.str(0); }

  std::string input;
  CVL_Match match;
  int inclusion = -1;
  bool found = false;
};

TEST(ScannerTable, BuildsEveryPositionWithItsParts) {
  const CVL_ScannerTable& table = Table();
  ASSERT_EQ(table.scannerCount(), 300);
  EXPECT_EQ(table.ignorePartCount(), 6u);
  EXPECT_EQ(table.literalPartCount(), 4u);
  EXPECT_EQ(table.skipPartCount(), 4u);
  for (int k = 0; k < 300; ++k) {
    const CVL_Scanner* s = table.scanner(k);
    ASSERT_NE(s, nullptr) << k;
    EXPECT_TRUE(s->m_WholeWord);
    EXPECT_TRUE(s->m_DynamicTokens.empty());
    EXPECT_EQ(s->m_Inclusion, s->m_InclusionIndex == 5 ? table.scanner(5) : nullptr) << k;
    EXPECT_EQ(s->m_Skip == nullptr, s->m_SkipToken == -1) << k;
  }
  EXPECT_EQ(table.scanner(300), nullptr);
  EXPECT_EQ(table.scanner(-1), nullptr);

  const CVL_Scanner* paths = table.scanner(1);
  EXPECT_EQ(paths->m_Regex, nullptr);
  EXPECT_EQ(paths->m_Literal, nullptr);
  EXPECT_EQ(paths->m_InclusionIndex, -1);
  EXPECT_EQ(paths->m_SkipToken, 89);
  // Positions with equal expected sets share one compiled regex part.
  EXPECT_EQ(table.scanner(11)->m_Regex, table.scanner(14)->m_Regex);
  EXPECT_NE(table.scanner(14)->m_Regex, table.scanner(15)->m_Regex);
  EXPECT_EQ(table.scanner(0)->m_Regex, nullptr);
}

TEST(ScannerStep, PicksTheTokenTheGrammarReliesOn) {
  struct Case {
    int scanner;
    const char* input;
    int id;
    const char* token;
  };
  const Case cases[] = {
      {kTextLine, "foo", 9, "foo"},
      {kTextLine, "foo+1", 9, "foo"},
      {kGroupStart, "#  ifdef X", 74, "#  ifdef "},
      {kGroupStart, "#ifdefX", 80, "#if"},
      {kGroupStart, "#ifndef X", 79, "#ifndef"},
      {kGroupStart, "#include <a.h>", 7, "#include <a.h>"},
      {kTextLine, "123;", 16, "123"},
      {kOperand, "123)", 13, "123"},
      {kTextLine, "123u", 16, "123u"},
      {kOperand, "123u", 9, "123u"},
      {kOperand, "123L", 13, "123L"},
      {kTextLine, "0x1F", 14, "0x1F"},
      {kOperand, "0x1F", 14, "0x1F"},
      {kTextLine, "017", 15, "017"},
      {kTextLine, "1.5", 16, "1"},
      {kTextLine, "1.5e3", 12, "1.5e3"},
      {kTextLine, ".5", 44, "."},
      {kTextLine, "->*x", 45, "->*"},
      {kTextLine, "->x", 22, "->"},
      {kTextLine, "$x", 17, "$"},
      {kTextLine, ",x", 17, ","},
      {kArgumentEnd, ",x", 76, ","},
      {kOperand, "defined(X)", 84, "defined"},
      {kOperand, "definedX", 9, "definedX"},
      {kTextLine, R"("a\"b" c)", 11, R"("a\"b")"},
      {kTextLine, R"('\n')", 10, R"('\n')"},
      {kTextLine, "\\ \n  x", 8, "\\ \n  "},
      {kTextLine, "/ 2", 34, "/"},
      {kTextLine, "\r\nx", 6, "\r\n"},
      {kCommentStart, "/* x */", 86, "/*"},
      {kCommentStart, "// x\r\ny", 85, "// x"},
      {kCommentBody, "*/", 88, "*/"},
      {124, "f(x)", 75, "f("},
      {124, "f (x)", 9, "f"},
  };
  for (const Case& c : cases) {
    const Step step(c.scanner, c.input);
    EXPECT_TRUE(step.found) << c.input;
    EXPECT_EQ(step.inclusion, 0) << c.input;
    EXPECT_EQ(step.id(), c.id) << c.input;
    EXPECT_EQ(step.token(), c.token) << c.input;
  }
}

TEST(ScannerStep, MacroCallBeginKeepsTheNameAsFirstSubmatch) {
  const Step step(kTextLine, "  foo (x)");
  ASSERT_TRUE(step.found);
  EXPECT_EQ(step.id(), 69);
  EXPECT_EQ(step.prefix(), "  ");
  EXPECT_EQ(step.token(), "foo (");
  EXPECT_EQ(step.submatch(1), "foo");
  EXPECT_EQ(step.match.m_Length, 5);
  EXPECT_EQ(step.match.m_SkipId, -1);
}

TEST(ScannerStep, RecognisesNothingWhereNoPartAccepts) {
  for (const char* input : {"#x", "\rx"}) {
    const Step step(kTextLine, input);
    EXPECT_FALSE(step.found) << input;
    EXPECT_EQ(step.match.m_Kind, match_kind::None) << input;
  }
}

TEST(ScannerStep, EveryPositionReportsEndOfInputAfterIgnoredBlanks) {
  for (const char* input : {"", " \t "}) {
    for (int k = 0; k < 300; ++k) {
      const Step step(k, input);
      ASSERT_TRUE(step.found) << k;
      EXPECT_EQ(step.match.m_Kind, match_kind::EndOfInput) << k;
      EXPECT_EQ(step.match.m_Length, 0) << k;
      EXPECT_EQ(step.match.m_pSymbol, &EofSymbol()) << k;
      EXPECT_EQ(step.match.m_pTokenBegin, step.end()) << k;
    }
  }
}

TEST(ScannerStep, LowerKindLimitsDropTheEndOfInputRuleAndTheSkip) {
  const Step groupEnd(kGroupStart, "", match_kind::Regex);
  ASSERT_TRUE(groupEnd.found);
  EXPECT_EQ(groupEnd.match.m_Kind, match_kind::Regex);
  EXPECT_EQ(groupEnd.match.m_pSymbol, GetSymbol(1));

  EXPECT_FALSE(Step(kIncludePath, "", match_kind::Regex).found);
  // The comment inclusion is always tried with the full limit, and the end
  // of input it meets stays the candidate.
  EXPECT_EQ(Step(kTextLine, "", match_kind::Regex).match.m_Kind, match_kind::EndOfInput);
  EXPECT_FALSE(Step(kExcludedGroup, "a\n#endif", match_kind::Regex).found);
  EXPECT_TRUE(Step(kExcludedGroup, "a\n#endif", match_kind::Skip).found);
}

TEST(ScannerStep, SkipsUpToTheNextStopToken) {
  struct Case {
    int scanner;
    const char* input;
    int skipId;
    const char* prefix;
    const char* skipped;
    int stopId;
    const char* stop;
  };
  const Case cases[] = {
      {kExcludedGroup, "a\nb\n#endif\n", 81, "", "a\nb\n", 67, "#endif"},
      {kExcludedGroup, "x #ifdef y\n#endif", 81, "", "x ", 74, "#ifdef "},
      {kExcludedGroup, "x #if 1", 81, "", "x ", 80, "#if"},
      {kWarningText, "  text // c\r\nnext", 73, "  ", "text // c", 6, "\r\n"},
      {kCommentBody, " body * / */ x", 87, " ", "body * / ", 88, "*/"},
      {kIncludePath, "\n\n  /usr/inc\n/opt", 89, "\n\n  ", "/usr/inc", 6, "\n"},
      {kIncludePath, "/opt", 89, "", "/opt", 1, ""},
  };
  for (const Case& c : cases) {
    const Step step(c.scanner, c.input);
    ASSERT_TRUE(step.found) << c.input;
    EXPECT_EQ(step.match.m_Kind, match_kind::Skip) << c.input;
    EXPECT_EQ(step.match.m_SkipId, c.skipId) << c.input;
    EXPECT_EQ(step.match.m_Length, 0) << c.input;
    EXPECT_EQ(step.prefix(), c.prefix) << c.input;
    EXPECT_EQ(step.skipped(), c.skipped) << c.input;
    EXPECT_EQ(step.id(), c.stopId) << c.input;
    EXPECT_EQ(step.stop(), c.stop) << c.input;
  }
}

TEST(ScannerStep, StopRightAtTheStartIsNoSkip) {
  const Step branch(kExcludedGroup, "#else\n");
  ASSERT_TRUE(branch.found);
  EXPECT_EQ(branch.match.m_Kind, match_kind::Regex);
  EXPECT_EQ(branch.id(), 83);

  const Step stopped(kSkipOnly, "#else\n");
  EXPECT_FALSE(stopped.found);
  EXPECT_EQ(stopped.match.m_Kind, match_kind::Skip);
  EXPECT_EQ(stopped.id(), 83);
  EXPECT_EQ(stopped.match.m_SkipId, -1);
}

TEST(ScannerStep, CommentStartInterruptsPositionsWithTheInclusion) {
  struct Case {
    int scanner;
    const char* input;
    int id;
    const char* prefix;
  };
  const Case cases[] = {
      {kTextLine, "  // c\nx", 85, "  "},
      {kTextLine, "/* c */ x", 86, ""},
      {kGroupStart, "\t/**/", 86, "\t"},
      {kCommentBody, " // x */", 85, " "},
      {kExcludedGroup, "/* c */ #endif", 86, ""},
  };
  for (const Case& c : cases) {
    const Step step(c.scanner, c.input);
    ASSERT_TRUE(step.found) << c.input;
    EXPECT_EQ(step.inclusion, 5) << c.input;
    EXPECT_EQ(step.id(), c.id) << c.input;
    EXPECT_EQ(step.prefix(), c.prefix) << c.input;
  }
  // The inclusion scanner does not include itself, and include-path
  // entries have no inclusion.
  EXPECT_EQ(Step(kCommentStart, "// x").inclusion, 0);
  const Step path(kIncludePath, "//server/dir\n");
  EXPECT_EQ(path.inclusion, 0);
  EXPECT_EQ(path.match.m_SkipId, 89);
}

TEST(ScannerStep, SkipIgnoredPassesOnlyThePositionsCharacters) {
  const std::string text = " \t\r\n x";
  const char* end = text.data() + text.size();
  EXPECT_EQ(Table().scanner(kTextLine)->skipIgnored(text.data(), end) - text.data(), 2);
  EXPECT_EQ(Table().scanner(kIncludePath)->skipIgnored(text.data(), end) - text.data(), 5);
  CVL_Scanner bare;
  EXPECT_EQ(bare.skipIgnored(text.data(), end), text.data());
}

}  // namespace
}  // namespace orvo
