#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "runtime/ParseState.h"
#include "runtime/ParseStatePlugin.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

// Scanner indices of the preprocessor's table used below.
constexpr int kGroupStart = 14;  // group-start set, EOF included
constexpr int kText = 29;        // text-start set
constexpr int kWarningText = 186;  // skip to the line end, reporting SKIP73

const CVL_ScannerTable& Scanners() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  return *table;
}

// A state over its own copy of `text`, reading with scanner `scannerIndex`.
class StateOver {
 public:
  StateOver(std::string text, int scannerIndex)
      : text_(std::move(text)), state_(text_.data(), text_.data() + text_.size()) {
    state_.m_fnSymbol = &GetSymbol;
    state_.m_pScanner = Scanners().scanner(scannerIndex);
  }
  CVL_ParseState& operator*() { return state_; }
  CVL_ParseState* operator->() { return &state_; }

 private:
  std::string text_;
  CVL_ParseState state_;
};

TEST(ParseState, EmptyInputYieldsEofAndIsAtEnd) {
  StateOver s("", kGroupStart);
  EXPECT_EQ(s->lookahead(1), tok::Eof);
  EXPECT_EQ(s->m_ElementIndex, 1);
  EXPECT_TRUE(s->consume(false));
  EXPECT_TRUE(s->atEnd());
  EXPECT_EQ(s->m_Status, parse_status::Idle);
}

TEST(ParseState, BlanksOnlyYieldEof) {
  StateOver s(" \t ", kText);
  EXPECT_EQ(s->lookahead(0), tok::Eof);
  EXPECT_TRUE(s->atEnd());
}

TEST(ParseState, TokenTextsPrefixAndRest) {
  StateOver s("  foo (x) bar", kText);
  ASSERT_EQ(s->lookahead(0), tok::MacroCallBegin);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->matchText(0), "foo (");
  EXPECT_EQ(s->matchText(-1), "  ");
  EXPECT_EQ(s->matchText(1), "foo");
  EXPECT_EQ(s->matchText(2), "");
  EXPECT_EQ(s->matchText(-2), "x) bar");
  EXPECT_EQ(s->matchCopy(), "  foo (");
  EXPECT_FALSE(s->atEnd());

  ASSERT_EQ(s->lookahead(0), tok::Id);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->matchText(0), "x");
  EXPECT_EQ(s->matchText(-1), "");
}

TEST(ParseState, PendingTokenIsNotRescanned) {
  StateOver s("a b", kText);
  ASSERT_EQ(s->lookahead(0), tok::Id);
  s->m_pScanner = nullptr;
  EXPECT_EQ(s->lookahead(0), tok::Id);
  EXPECT_EQ(s->m_Status, parse_status::OnePending);
}

TEST(ParseState, CrLfCountsOneLine) {
  StateOver s("ab\r\ncd", kGroupStart);
  ASSERT_EQ(s->lookahead(0), tok::Id);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->m_Position.m_Line, 0);
  EXPECT_EQ(s->m_Position.m_Column, 2);
  ASSERT_EQ(s->lookahead(0), tok::Eol);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->m_Position.m_Line, 1);
  EXPECT_EQ(s->m_Position.m_Column, 0);
  ASSERT_EQ(s->lookahead(0), tok::Id);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->m_Position.m_Line, 1);
  EXPECT_EQ(s->m_Position.m_Column, 2);
}

// Puts a zero-length token of kind `id` at the current token's end.
void pendZeroLengthToken(CVL_ParseState& s, int id) {
  CVL_Match& token = s.m_Position.m_Lookahead;
  token.reset(s.m_Position.m_Current.m_pTokenEnd);
  token.m_bFound = true;
  token.m_Kind = match_kind::Regex;
  token.m_pSymbol = GetSymbol(id);
  s.m_TokenStack.push(id);
}

TEST(ParseState, ZeroLengthTokenMakesNoProgressExceptEof) {
  StateOver s("ab cd", kText);
  ASSERT_EQ(s->lookahead(0), tok::Id);
  ASSERT_TRUE(s->consume(false));
  pendZeroLengthToken(*s, tok::Id);
  EXPECT_FALSE(s->consume(false));

  StateOver e("ab cd", kText);
  ASSERT_EQ(e->lookahead(0), tok::Id);
  ASSERT_TRUE(e->consume(false));
  pendZeroLengthToken(*e, tok::Eof);
  EXPECT_TRUE(e->consume(false));
  EXPECT_TRUE(e->m_TokenStack.empty());
}

TEST(ParseState, EpsConsumesNothing) {
  StateOver s("ab\ncd", kGroupStart);
  ASSERT_EQ(s->lookahead(0), tok::Id);
  ASSERT_TRUE(s->consume(false));
  ASSERT_EQ(s->lookahead(0), tok::Eol);
  s->m_TokenStack.push(tok::Eps);
  ASSERT_TRUE(s->consume(true));
  EXPECT_EQ(s->matchText(0), "ab");
  EXPECT_EQ(s->m_Position.m_Column, 2);
  EXPECT_EQ(s->m_Position.m_Line, 0);
  EXPECT_EQ(s->lookahead(0), tok::Eol);
  EXPECT_EQ(s->m_Status, parse_status::OnePending);
}

TEST(ParseState, SkipDeliversSkippedTextThenStopToken) {
  StateOver s("  text // c\r\nnext", kWarningText);
  ASSERT_EQ(s->lookahead(0), tok::Skip73);
  EXPECT_EQ(s->m_Status, parse_status::TwoPending);
  ASSERT_TRUE(s->consumeSkip(tok::Skip73));
  EXPECT_EQ(s->matchText(0), "text // c");
  EXPECT_EQ(s->matchText(-1), "  ");
  EXPECT_EQ(s->m_Status, parse_status::OnePending);
  ASSERT_EQ(s->lookahead(0), tok::Eol);
  ASSERT_TRUE(s->consume(false));
  EXPECT_EQ(s->matchText(0), "\r\n");
  EXPECT_EQ(s->matchText(-1), "");
  EXPECT_EQ(s->m_Position.m_Line, 1);
}

TEST(ParseState, SkipStoppingAtOnceStopsTheParse) {
  StateOver s("\r\nx", kWarningText);
  EXPECT_EQ(s->lookahead(0), 0);
  EXPECT_EQ(s->m_Status, parse_status::SkipStop);
  // An error state scans no further.
  s->m_pScanner = Scanners().scanner(kText);
  EXPECT_EQ(s->lookahead(0), 0);
}

TEST(ParseState, NoScannerNoToken) {
  StateOver s("x", kText);
  s->m_pScanner = nullptr;
  EXPECT_EQ(s->lookahead(0), 0);
  EXPECT_EQ(s->m_Status, parse_status::Idle);
}

TEST(SubParseState, CopiesTextAndTakesOverFromParent) {
  std::ostringstream out;
  CVL_ParseStatePlugin plugin(&out);
  StateOver parent("p", kText);
  parent->m_pPlugin = &plugin;
  parent->m_Position.m_Line = 4;
  parent->m_Position.m_Column = 7;
  std::string text = "abc";
  CVL_SubParseState sub(text, *parent);
  text[0] = 'X';
  EXPECT_EQ(std::string(sub.m_Position.m_pBegin, sub.m_Position.m_pEnd), "abc");
  EXPECT_EQ(sub.m_pPlugin, &plugin);
  EXPECT_EQ(sub.m_fnSymbol, &GetSymbol);
  EXPECT_EQ(sub.m_Position.m_Line, 5);
  EXPECT_EQ(sub.m_Position.m_Column, 8);
  EXPECT_EQ(sub.m_pScanner, nullptr);
  EXPECT_TRUE(sub.isSubParseState());
  EXPECT_FALSE(plugin.raiseErrors());
}

TEST(SubParseState, RestoresTheRaiseFlagAlsoWhenAnExceptionPasses) {
  CVL_ParseStatePlugin plugin(nullptr);
  StateOver parent("p", kText);
  parent->m_pPlugin = &plugin;
  try {
    CVL_SubParseState outer("a", *parent);
    {
      CVL_SubParseState inner("b", outer);
      EXPECT_FALSE(plugin.raiseErrors());
    }
    EXPECT_FALSE(plugin.raiseErrors());
    throw std::runtime_error("leaves the nested parse");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(plugin.raiseErrors());

  plugin.setRaiseErrors(false);
  { CVL_SubParseState collecting("c", *parent); }
  EXPECT_FALSE(plugin.raiseErrors());
}

}  // namespace
}  // namespace orvo
