#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <boost/regex.hpp>

#include "base/Message.h"
#include "scan/RegexScanner.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const CVL_Message& m) {
    return m.text();
  }
  return "no message";
}

TEST(ScannerTableConstruction, RefusesIndicesOutsideTheTable) {
  CVL_ScannerTable table;
  table.AllocScanners(2);
  table.AddIgnoreScanner(" ");
  EXPECT_EQ(MessageOf([&] { table.SetScanner(2, 0, -1, -1, -1, -1, -1); }),
            "scanner index out of range");
  EXPECT_EQ(MessageOf([&] { table.SetScanner(-1, 0, -1, -1, -1, -1, -1); }),
            "scanner index out of range");
  EXPECT_EQ(MessageOf([&] { table.SetScanner(0, 1, -1, -1, -1, -1, -1); }),
            "scanner index out of range");
  EXPECT_EQ(MessageOf([&] { table.AddExpectedTokens(1, "9"); }), "scanner index out of range");
  EXPECT_EQ(MessageOf([&] { table.AddLiteralTokens(0, "18"); }), "scanner index out of range");
  EXPECT_EQ(table.scanner(0), nullptr);
}

TEST(ScannerTableConstruction, ResolvesInclusionsAndRefusesIndexZero) {
  CVL_ScannerTable table;
  table.AllocScanners(3);
  table.SetScanner(0, -1, -1, -1, -1, -1, -1);
  table.SetScanner(1, -1, -1, -1, -1, -1, 2);
  table.SetScanner(2, -1, -1, -1, -1, -1, 2);
  table.ResolveInclusions();
  EXPECT_EQ(table.scanner(1)->m_Inclusion, table.scanner(2));
  EXPECT_EQ(table.scanner(2)->m_Inclusion, table.scanner(2));
  EXPECT_EQ(table.scanner(0)->m_Inclusion, nullptr);

  table.SetScanner(1, -1, -1, -1, -1, -1, 0);
  EXPECT_EQ(MessageOf([&] { table.ResolveInclusions(); }), "inclusion not found");
}

TEST(ScannerTableConstruction, ExpectedTokensAccumulateAndLiteralsStoreTheirSymbols) {
  CVL_ScannerTable table;
  table.AllocScanners(1);
  table.AddLiteralScanner();
  table.AddLiteralTokens(0, "38, 58");
  table.SetScanner(0, -1, 0, -1, -1, -1, -1);
  table.AddExpectedTokens(0, "38");
  table.AddExpectedTokens(0, "58");
  const CVL_Scanner* s = table.scanner(0);
  EXPECT_EQ(s->m_ExpectedTokens.size(), 2u);
  EXPECT_TRUE(s->m_WholeWord);

  const std::string input = ">>=";
  CVL_Match match;
  match.reset(input.data());
  int inclusion = -1;
  ASSERT_TRUE(s->scanWith(match, input.data() + input.size(), 7, nullptr, inclusion));
  EXPECT_EQ(match.m_pSymbol, GetSymbol(58));
  EXPECT_EQ(match.m_Kind, match_kind::Literal);
}

TEST(ScannerTableConstruction, RefusedExpressionThrowsTheLibrarysError) {
  CVL_ScannerTable table;
  EXPECT_THROW(table.AddRegexScanner("\\A(("), boost::regex_error);
  EXPECT_EQ(table.regexPartCount(), 0u);
}

TEST(RegexPart, UnmappedAlternativeIsAnInternalError) {
  CVL_RegexScanner part("\\A((a)|(b))");
  part.mapGroup(2, GetSymbol(9));
  const std::string input = "b";
  CVL_Match match;
  match.reset(input.data());
  EXPECT_EQ(MessageOf([&] { part.find(match, input.data() + 1); }), "token not found");

  CVL_RegexScanner unrecognized("\\A((a))");
  unrecognized.mapGroup(2, GetSymbol(0));
  const std::string a = "a";
  match.reset(a.data());
  EXPECT_EQ(MessageOf([&] { unrecognized.find(match, a.data() + 1); }), "token not found");
}

TEST(RegexPart, ReplacesAnEarlierCandidateOnlyWhenLongerOrOfAnotherKind) {
  CVL_RegexScanner part("\\A((\\z)|(\\w+))");
  part.mapGroup(2, GetSymbol(1));
  part.mapGroup(3, GetSymbol(9));
  const std::string input = "ab";
  const char* end = input.data() + input.size();

  CVL_Match match;
  match.reset(input.data());
  match.m_bFound = true;
  match.m_Kind = match_kind::Literal;
  match.m_Length = 2;
  match.m_pSymbol = GetSymbol(84);
  EXPECT_TRUE(part.find(match, end));
  EXPECT_EQ(match.m_pSymbol, GetSymbol(84));  // equally long literal stays

  match.m_Length = 1;
  EXPECT_TRUE(part.find(match, end));
  EXPECT_EQ(match.m_pSymbol, GetSymbol(9));  // longer pattern replaces it
  EXPECT_EQ(match.m_Kind, match_kind::Regex);
  EXPECT_EQ(match.m_Length, 2);
  EXPECT_EQ(match.m_Group, 3);

  // At the end of input a pattern match of equal length replaces the
  // end-of-input candidate.
  match.reset(end);
  match.m_bFound = true;
  match.m_Kind = match_kind::EndOfInput;
  match.m_pSymbol = &EofSymbol();
  EXPECT_TRUE(part.find(match, end));
  EXPECT_EQ(match.m_Kind, match_kind::Regex);
  EXPECT_EQ(match.m_pSymbol, GetSymbol(1));
}

}  // namespace
}  // namespace orvo
