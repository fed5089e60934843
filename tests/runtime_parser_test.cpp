#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/Parser.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

// Scanner indices of the preprocessor's table used below.
constexpr int kGroupStart = 14;  // group-start set, EOF included
constexpr int kText = 29;        // text-start set
constexpr int kRparenOnly = 46;  // ")"

// Reads with the preprocessor's scanners and parses comments between tokens
// the way the preprocessor does.
class TestParser : public CVL_Parser {
 public:
  TestParser() { m_pScannerTable = BuildPreprocessorScanners(); }

  int lookahead(CVL_ParseState& s, int elementIndex, int scannerIndex, bool ruleEndFlag,
                const char* production, const char* element) override {
    const int id = inclusionHook(s, elementIndex, production, element);
    if (id != 0) return id;
    return CVL_Parser::lookahead(s, elementIndex, scannerIndex, ruleEndFlag, production, element);
  }

  int inclusionHook(CVL_ParseState& s, int elementIndex, const char* production,
                    const char* element) override {
    int result = 0;
    while (s.m_bInclusionPending) {
      s.m_bInclusionPending = false;
      const bool comment = !s.m_InclusionStack.empty() && s.m_InclusionStack.top() == 5;
      result = 0;
      if (comment) {
        parseComment(s);
        result = CVL_Parser::lookahead(s, elementIndex, -1, false, production, element);
      }
    }
    return result;
  }

 private:
  void parseComment(CVL_ParseState& s) {
    CVL_Guard guard = enter(s, 0, 2, 52, " comment");
    for (;;) {
      const int id = lookahead(s, 0, -1, false, nullptr, nullptr);
      if (id == tok::LineComment) {
        match(s, tok::LineComment, 7, true, nullptr, nullptr);
      } else if (id == tok::SlashStar) {
        parseBlockComment(s);
      } else {
        break;
      }
      *pluginFor(s)->out() << ' ';
    }
    guard.leave();
  }

  void parseBlockComment(CVL_ParseState& s) {
    CVL_Guard guard = enter(s, 6, 1, 53, " block_comment");
    match(s, tok::SlashStar, 8, false, "block_comment", "SlashStar_T0_of_block_comment");
    while (lookahead(s, 0, -1, false, nullptr, nullptr) == tok::Skip87) {
      matchSkip(s, tok::Skip87, "block_comment", "SKIP87");
    }
    match(s, tok::StarSlash, 9, true, "block_comment", "StarSlash_T1_of_block_comment");
    guard.leave();
  }
};

const char* ProductionNamed(int) { return "prod"; }
const char* ElementNamed(int) { return "elem"; }

// A parse of `text` started with `scannerIndex`, with its plugin writing to out.
class Parse {
 public:
  Parse(TestParser& parser, std::string text, int scannerIndex, bool raise = true)
      : parser_(parser),
        text_(std::move(text)),
        plugin_(&out),
        state_(text_.data(), text_.data() + text_.size()) {
    plugin_.m_bRaiseErrors = raise;
    state_.m_pPlugin = &plugin_;
    state_.m_fnSymbol = &GetSymbol;
    state_.m_fnProductionName = &ProductionNamed;
    state_.m_fnElementName = &ElementNamed;
    parser_.start(state_, scannerIndex, 1);  // -1: no scanner, nothing read
  }

  CVL_ParseState& state() { return state_; }
  CVL_ParseStatePlugin& plugin() { return plugin_; }
  const CVL_Scanner* scanner(int index) const { return parser_.scanner(index); }

  std::ostringstream out;

 private:
  TestParser& parser_;
  std::string text_;
  CVL_ParseStatePlugin plugin_;
  CVL_ParseState state_;
};

class ParserTest : public ::testing::Test {
 protected:
  // "ab" consumed, EOL pending.
  std::unique_ptr<Parse> afterFirstToken(bool raise = true) {
    auto parse = std::make_unique<Parse>(parser_, "ab\r\ncd", kGroupStart, raise);
    EXPECT_TRUE(parser_.match(parse->state(), tok::Id, kGroupStart, false, nullptr, nullptr));
    EXPECT_EQ(parser_.lookahead(parse->state(), 0, -1, false, nullptr, nullptr), tok::Eol);
    return parse;
  }

  TestParser parser_;
};

std::string incompleteBanner() {
  return "\n\n"
         "  XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX\n"
         "  XX                                                          XX\n"
         "  XX   An error occurred. The transformation is incomplete!   XX\n"
         "  XX                                                          XX\n"
         "  XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX\n";
}

struct ErrorCase {
  const char* name;
  std::function<void(TestParser&, CVL_ParseState&)> raise;
  std::string text;
  bool (*hasClass)(const CVL_Message&);
  unsigned char collectStatus;
  int begin = 0;  // offsets of the current token when the error is raised
  int end = 2;
};

template <class T>
bool is(const CVL_Message& m) {
  return dynamic_cast<const T*>(&m) != nullptr;
}

const std::vector<ErrorCase>& ErrorCases() {
  static const std::vector<ErrorCase> cases = {
      {"expected",
       [](TestParser& p, CVL_ParseState& s) { p.match(s, tok::Rparen, -1, false, "prod", "elem"); },
       "EOL found; ) expected", &is<CVL_ErrorExpected>, parse_status::Expected},
      {"expected without a table record",
       [](TestParser& p, CVL_ParseState& s) { p.match(s, 95, -1, false, "prod", "elem"); },
       "EOL found; ??? expected", &is<CVL_ErrorExpected>, parse_status::Expected},
      {"skip expected",
       [](TestParser& p, CVL_ParseState& s) { p.matchSkip(s, tok::Skip73, "prod", "elem"); },
       // The failed skip match has shifted the pending EOL into the window.
       "SKIP73 expected", &is<CVL_ErrorExpected>, parse_status::Expected, 2, 4},
      {"unexpected",
       [](TestParser& p, CVL_ParseState& s) { p.unexpectedError(s, "prod", "elem"); },
       "EOL found; unexpected token", &is<CVL_ErrorUnexpected>, parse_status::Unexpected},
      {"no progress",
       [](TestParser& p, CVL_ParseState& s) { p.noProgressError(s, "prod", "elem"); },
       "no progress", &is<CVL_ErrorStandstill>, parse_status::NoProgress},
      {"incomplete",
       [](TestParser& p, CVL_ParseState& s) { p.incompleteError(s, "prod", "elem"); },
       "incomplete", &is<CVL_ErrorIncomplete>, parse_status::Incomplete},
  };
  return cases;
}

TEST_F(ParserTest, RaiseModeThrowsTheNamedErrorAtTheCurrentToken) {
  for (const ErrorCase& c : ErrorCases()) {
    SCOPED_TRACE(c.name);
    auto parse = afterFirstToken();
    try {
      c.raise(parser_, parse->state());
      ADD_FAILURE() << "no exception";
    } catch (const CVL_Message& error) {
      EXPECT_EQ(std::string(error.text()), c.text);
      EXPECT_TRUE(c.hasClass(error));
      EXPECT_EQ(error.kind(), 5);
      EXPECT_EQ(error.begin(), c.begin);
      EXPECT_EQ(error.end(), c.end);
      EXPECT_STREQ(error.production(), "prod");
      EXPECT_STREQ(error.symbol(), "elem");
    }
    EXPECT_FALSE(parse->plugin().hasMessages());
  }
}

TEST_F(ParserTest, CollectModeRecordsAndStopsTheParse) {
  for (const ErrorCase& c : ErrorCases()) {
    SCOPED_TRACE(c.name);
    auto parse = afterFirstToken(false);
    CVL_ParseState& s = parse->state();
    c.raise(parser_, s);
    EXPECT_EQ(s.m_Status, c.collectStatus);
    ASSERT_EQ(parse->plugin().messagesEnd() - parse->plugin().messagesBegin(), 1);
    const CVL_Message& recorded = *parse->plugin().messagesBegin();
    EXPECT_EQ(std::string(recorded.text()), c.text);
    EXPECT_EQ(recorded.kind(), 5);
    EXPECT_EQ(recorded.end(), c.end);
    if (c.collectStatus == parse_status::Incomplete) continue;  // no error state
    const std::string current = s.matchText(0);
    // Every further guarded operation returns at once.
    EXPECT_EQ(parser_.lookahead(s, 0, kText, false, nullptr, nullptr), -1);
    EXPECT_FALSE(parser_.lookaheadTest(s, 0, -1, false, nullptr, nullptr));
    EXPECT_FALSE(parser_.match(s, tok::Eol, -1, false, nullptr, nullptr));
    parser_.unexpectedError(s, "prod", "elem");
    EXPECT_EQ(parse->plugin().messagesEnd() - parse->plugin().messagesBegin(), 1);
    EXPECT_EQ(s.matchText(0), current);
  }
}

TEST_F(ParserTest, ExpectedWithoutLookaheadSymbolHasNoFoundPart) {
  Parse parse(parser_, "x", kRparenOnly);
  try {
    parser_.match(parse.state(), tok::Rparen, -1, false, nullptr, nullptr);
    FAIL() << "no exception";
  } catch (const CVL_ErrorExpected& error) {
    EXPECT_STREQ(error.text(), ") expected");
    EXPECT_STREQ(error.symbol(), "unknown symbol");
  }
}

TEST_F(ParserTest, NestedParseFailsMatchesSilently) {
  Parse parent(parser_, "", kGroupStart);
  {
    CVL_SubParseState sub("ab\r\n", parent.state());
    parser_.start(sub, kGroupStart, 1);
    EXPECT_TRUE(parser_.match(sub, tok::Id, kGroupStart, false, nullptr, nullptr));
    EXPECT_FALSE(parser_.match(sub, tok::Rparen, -1, false, nullptr, nullptr));
    EXPECT_FALSE(parser_.matchSkip(sub, tok::Skip73, nullptr, nullptr));
    EXPECT_EQ(sub.m_Status, parse_status::OnePending);
    // An unexpected token is still recorded.
    parser_.unexpectedError(sub, "prod", "elem");
    EXPECT_EQ(sub.m_Status, parse_status::Unexpected);
  }
  EXPECT_EQ(parent.plugin().messagesEnd() - parent.plugin().messagesBegin(), 1);
  EXPECT_TRUE(parent.plugin().raiseErrors());
}

TEST_F(ParserTest, IncompleteWritesTheBannerOnlyToAGoodStream) {
  for (const bool raise : {true, false}) {
    auto parse = afterFirstToken(raise);
    if (raise) {
      EXPECT_THROW(parser_.incompleteError(parse->state(), nullptr, nullptr), CVL_ErrorIncomplete);
    } else {
      parser_.incompleteError(parse->state(), nullptr, nullptr);
    }
    EXPECT_EQ(parse->out.str(), incompleteBanner());
  }
  auto parse = afterFirstToken();
  parse->out.setstate(std::ios::badbit);
  EXPECT_THROW(parser_.incompleteError(parse->state(), nullptr, nullptr), CVL_ErrorIncomplete);
  EXPECT_EQ(parse->out.str(), "");
}

TEST_F(ParserTest, MatchOfEpsConsumesNothing) {
  auto parse = afterFirstToken();
  CVL_ParseState& s = parse->state();
  s.m_TokenStack.push(tok::Eps);
  EXPECT_TRUE(parser_.match(s, tok::Eps, -1, false, nullptr, nullptr));
  EXPECT_EQ(s.matchText(0), "ab");
  EXPECT_EQ(s.topToken(), tok::Eol);
}

TEST_F(ParserTest, AddMessageByKind) {
  struct Case {
    int kind;
    int storedKind;  // -1: nothing stored
  };
  for (const Case c : {Case{0, 0}, Case{1, 5}, Case{2, 0}, Case{3, 3}, Case{4, 4}, Case{5, 5},
                       Case{6, 5}, Case{7, 0}, Case{8, -1}}) {
    SCOPED_TRACE(c.kind);
    auto parse = afterFirstToken(false);
    parser_.addMessage(parse->state(), "m", 7, 9, "p", "e", c.kind);
    const bool stored = parse->plugin().hasMessages();
    ASSERT_EQ(stored, c.storedKind >= 0);
    EXPECT_EQ(parse->state().m_Status,
              c.storedKind == 5 ? parse_status::Unexpected : parse_status::OnePending);
    if (!stored) continue;
    EXPECT_EQ(parse->plugin().messagesBegin()->kind(), c.storedKind);
    EXPECT_EQ(parse->plugin().messagesBegin()->begin(), 7);
  }
  // Raise mode: a parse error is thrown at the current token.
  auto parse = afterFirstToken();
  try {
    parser_.addMessage(parse->state(), "m", 7, 9, "p", "e", 5);
    FAIL() << "no exception";
  } catch (const CVL_ParseError& error) {
    EXPECT_EQ(error.begin(), 0);
    EXPECT_EQ(error.end(), 2);
  }
}

TEST_F(ParserTest, MessageOperationsNameTheStatePosition) {
  auto parse = afterFirstToken();
  parser_.warning(parse->state(), "careful");
  ASSERT_TRUE(parse->plugin().hasMessages());
  const CVL_Message& warning = *parse->plugin().messagesBegin();
  EXPECT_EQ(warning.kind(), 3);
  EXPECT_STREQ(warning.production(), "prod");
  EXPECT_STREQ(warning.symbol(), "elem");

  EXPECT_THROW(parser_.errorStop(parse->state(), "stop"), CVL_ParseError);

  auto collecting = afterFirstToken(false);
  parser_.errorStop(collecting->state(), "stop");
  EXPECT_EQ(collecting->state().m_Status, parse_status::Unexpected);
  ASSERT_TRUE(collecting->plugin().hasMessages());
  EXPECT_EQ(collecting->plugin().messagesBegin()->kind(), 5);
}

TEST_F(ParserTest, LeaveRestoresTheCallersScannerAndProductionText) {
  Parse parse(parser_, "a  b c\r\n", kGroupStart);
  CVL_ParseState& s = parse.state();
  ASSERT_TRUE(parser_.match(s, tok::Id, kText, false, nullptr, nullptr));
  CVL_Guard guard = parser_.enter(s, kGroupStart, 0, 3, " production");
  EXPECT_EQ(s.m_ProductionIndex, 3);
  ASSERT_TRUE(parser_.match(s, tok::Id, kText, true, nullptr, nullptr));
  ASSERT_TRUE(parser_.match(s, tok::Id, kText, true, nullptr, nullptr));
  guard.leave();
  EXPECT_EQ(s.productionCopy(), "  b c");
  EXPECT_EQ(s.m_pScanner, parse.scanner(kGroupStart));
  EXPECT_TRUE(s.m_RuleEndScannerStack.empty());
  EXPECT_EQ(parser_.m_NestingDepth, 0);
}

TEST_F(ParserTest, LeaveConsistencyFailures) {
  struct Case {
    int inclusionEntries;
    int inclusionNumbers;
    const char* text;
  };
  for (const Case c : {Case{0, 0, "m_RuleEndScannerStack.empty()"},
                       Case{1, 0, "m_InclusionStack.empty()"},
                       Case{1, 1, "m_RuleEndScannerStack.empty()"}}) {
    Parse parse(parser_, "", kGroupStart);
    CVL_ParseState& s = parse.state();
    for (int i = 0; i < c.inclusionEntries; ++i) s.pushRuleEnd(nullptr, 2);
    for (int i = 0; i < c.inclusionNumbers; ++i) s.m_InclusionStack.push(5);
    try {
      parser_.leave(s);
      ADD_FAILURE() << "no exception for " << c.text;
    } catch (const CVL_Message& failure) {
      EXPECT_STREQ(failure.text(), c.text);
      EXPECT_EQ(failure.kind(), 0);
    }
  }
}

TEST_F(ParserTest, ProductionAfterRecordedErrorConsumesNothingAndStillLeaves) {
  auto parse = afterFirstToken(false);
  CVL_ParseState& s = parse->state();
  parser_.unexpectedError(s, "prod", "elem");
  CVL_Guard guard = parser_.enter(s, kText, 1, 2, " production");
  EXPECT_EQ(parser_.lookahead(s, 0, -1, false, nullptr, nullptr), -1);
  EXPECT_FALSE(parser_.match(s, tok::Eol, kText, true, nullptr, nullptr));
  guard.leave();
  EXPECT_TRUE(s.m_RuleEndScannerStack.empty());
  EXPECT_EQ(s.matchText(0), "ab");
}

TEST_F(ParserTest, GuardLeavesWhenAnExceptionPasses) {
  Parse parse(parser_, "a", kText);
  CVL_ParseState& s = parse.state();
  EXPECT_THROW(
      {
        CVL_Guard outer = parser_.enter(s, kText, 0, 2, " outer");
        CVL_Guard inner = parser_.enter(s, kText, 1, 3, " inner");
        throw std::runtime_error("syntax");
      },
      std::runtime_error);
  EXPECT_TRUE(s.m_RuleEndScannerStack.empty());
  EXPECT_EQ(parser_.m_NestingDepth, 0);

  // A consistency failure while unwinding gives way to the exception in flight.
  EXPECT_THROW(
      {
        CVL_Guard guard = parser_.enter(s, kText, 0, 2, " broken");
        s.m_RuleEndScannerStack.clear();
        throw std::runtime_error("syntax");
      },
      std::runtime_error);
  EXPECT_EQ(parser_.m_NestingDepth, 0);
}

TEST_F(ParserTest, NestingIsBounded) {
  Parse parse(parser_, "a", kText);
  CVL_ParseState& s = parse.state();
  std::vector<CVL_Guard> guards;
  guards.reserve(kMaxNestingDepth);
  for (int i = 0; i < kMaxNestingDepth; ++i) guards.push_back(parser_.enter(s, kText, 1, 2, " p"));
  try {
    parser_.enter(s, kText, 1, 2, " p");
    FAIL() << "no exception";
  } catch (const CVL_Message& error) {
    EXPECT_STREQ(error.text(), "nesting too deep: more than 4000 nested productions");
  }
  EXPECT_EQ(s.m_RuleEndScannerStack.size(), static_cast<std::size_t>(kMaxNestingDepth));
  while (!guards.empty()) {
    guards.back().leave();
    guards.pop_back();
  }
  EXPECT_EQ(parser_.m_NestingDepth, 0);
  CVL_Guard again = parser_.enter(s, kText, 1, 2, " p");
  again.leave();
}

TEST_F(ParserTest, CommentBetweenTwoTokensIsParsedByTheInclusionHook) {
  struct Case {
    const char* text;
    int after;            // token after the comment
    const char* afterText;
    const char* output;
  };
  for (const Case c : {Case{"a /* one\r\n two */ b", tok::Id, "b", " "},
                       Case{"a // note\r\nb", tok::Eol, "\r\n", " "},
                       Case{"a /* 1 */ /* 2 */\tb", tok::Id, "b", "  "}}) {
    SCOPED_TRACE(c.text);
    Parse parse(parser_, c.text, kText);
    CVL_ParseState& s = parse.state();
    ASSERT_TRUE(parser_.match(s, tok::Id, kText, false, nullptr, nullptr));
    EXPECT_EQ(parser_.lookahead(s, 5, -1, false, nullptr, nullptr), c.after);
    EXPECT_EQ(parse.out.str(), c.output);
    ASSERT_TRUE(parser_.match(s, c.after, kText, false, nullptr, nullptr));
    EXPECT_EQ(s.matchText(0), c.afterText);
    EXPECT_TRUE(s.m_RuleEndScannerStack.empty());
    EXPECT_TRUE(s.m_InclusionStack.empty());
    EXPECT_EQ(s.m_pScanner, parse.scanner(kText));
    EXPECT_EQ(parser_.m_NestingDepth, 0);
  }
}

TEST_F(ParserTest, TokenAfterACommentMustBeTheExpectedOne) {
  Parse parse(parser_, "a /* c */ b", kText);
  CVL_ParseState& s = parse.state();
  ASSERT_TRUE(parser_.match(s, tok::Id, kText, false, nullptr, nullptr));
  try {
    parser_.match(s, tok::Rparen, kText, false, "prod", "Rparen_T0");
    FAIL() << "no exception";
  } catch (const CVL_ErrorExpected& error) {
    EXPECT_STREQ(error.text(), "ID found; ) expected");
  }
  EXPECT_EQ(parse.out.str(), " ");
}

TEST_F(ParserTest, UnterminatedBlockCommentExpectsItsEnd) {
  Parse parse(parser_, "a /* open", kText);
  CVL_ParseState& s = parse.state();
  ASSERT_TRUE(parser_.match(s, tok::Id, kText, false, nullptr, nullptr));
  try {
    parser_.lookahead(s, 5, -1, false, nullptr, nullptr);
    FAIL() << "no exception";
  } catch (const CVL_ErrorExpected& error) {
    EXPECT_STREQ(error.symbol(), "StarSlash_T1_of_block_comment");
  }
  EXPECT_EQ(parser_.m_NestingDepth, 0);
}

// The rule-end walk for a comma after an argument token of a macro call:
// entries are pushed as the productions of the call would push them.
TEST_F(ParserTest, RuleEndWalkDecidesWhatEndsAMacroArgument) {
  constexpr int kArgumentList = 108;  // after an argument: ")" or ","
  constexpr int kParenthesised = 238; // after the argument of a parenthesised group: ")"
  constexpr int kInGroup = 33;        // after a parenthesised group
  constexpr int kAfterMacroToken = 226;
  constexpr int kAfterId = 223;
  constexpr int kAfterNumber = 224;
  struct Entry {
    int scanner;
    int flag;
  };
  struct Case {
    const char* name;
    std::vector<Entry> entries;  // bottom first
    int current;
    const char* text;
    int expected;
  };
  const std::vector<Case> cases = {
      {"comma at the top level ends the argument",
       {{kArgumentList, 0}, {kAfterMacroToken, 1}}, kAfterNumber, ", *p)", tok::Comma},
      {"comma inside parentheses stays in the argument",
       {{kArgumentList, 0}, {kInGroup, 1}, {kParenthesised, 0}, {kAfterMacroToken, 1}},
       kAfterNumber, ", *p)", tok::NotOtherPpTokenChar},
      {"innermost continuation first: the argument goes on",
       {{kArgumentList, 0}, {kAfterMacroToken, 1}}, kAfterId, " + 28, *p)", 49},
      {"closing parenthesis ends the argument list",
       {{kArgumentList, 0}, {kAfterMacroToken, 1}}, kAfterId, ")", tok::Rparen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Parse parse(parser_, c.text, -1);
    CVL_ParseState& s = parse.state();
    std::vector<CVL_Guard> guards;
    for (const Entry& e : c.entries) guards.push_back(parser_.enter(s, e.scanner, e.flag, 32, " p"));
    EXPECT_EQ(parser_.lookahead(s, 0, c.current, true, nullptr, nullptr), c.expected);
    while (!guards.empty()) {
      guards.back().leave();
      guards.pop_back();
    }
  }
}

}  // namespace
}  // namespace orvo
