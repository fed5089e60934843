#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "scan/ScannerTable.h"

namespace orvo {
namespace {

const CVL_ScannerTable& Table() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  return *table;
}

struct Outcome {
  bool found = false;
  int inclusion = 0;
  CVL_Match match;
};

Outcome Scan(const CVL_Scanner& scanner, const std::string& input, int kindLimit,
             CVL_ScanStartMemo* memo) {
  Outcome outcome;
  const char* const end = input.data() + input.size();
  outcome.match.reset(input.data());
  outcome.found =
      memo != nullptr
          ? scanner.scanWith(outcome.match, end, kindLimit, nullptr, outcome.inclusion, *memo)
          : scanner.scanWith(outcome.match, end, kindLimit, nullptr, outcome.inclusion);
  return outcome;
}

void ExpectSameOutcome(const Outcome& expected, const Outcome& actual) {
  EXPECT_EQ(expected.found, actual.found);
  EXPECT_EQ(expected.inclusion, actual.inclusion);
  EXPECT_EQ(expected.match.m_bFound, actual.match.m_bFound);
  EXPECT_EQ(expected.match.m_pTokenBegin, actual.match.m_pTokenBegin);
  EXPECT_EQ(expected.match.m_Kind, actual.match.m_Kind);
  EXPECT_EQ(expected.match.m_Length, actual.match.m_Length);
  EXPECT_EQ(expected.match.m_pSymbol, actual.match.m_pSymbol);
  EXPECT_EQ(expected.match.m_SkipId, actual.match.m_SkipId);
  if (expected.match.m_bFound && expected.match.m_Kind != match_kind::Literal) {
    EXPECT_EQ(expected.match.m_Submatches[0].first, actual.match.m_Submatches[0].first);
    EXPECT_EQ(expected.match.m_Submatches[0].second, actual.match.m_Submatches[0].second);
  }
}

// A scanner that follows others from the same start, sharing what they found
// there, reads exactly what it reads alone: across blanks, comments after
// blanks, line ends, skips and the end of input.
TEST(ScanStartMemo, SharedStartGivesTheScannersOwnResult) {
  const std::string inputs[] = {"  name", " \t/* c */ x", "\t // line\n", "", "   ",
                                " 12+3",  "\n#if 1\n",    " \\\nx",      "\t\n  #endif\n"};
  // Scanners with every ignore part, the comment inclusion itself, skips.
  const int firstScanners[] = {14, 29, 5, 8, 2, 40, 186, 217};
  for (const std::string& input : inputs) {
    for (const int first : firstScanners) {
      for (int index = 0; index < Table().scannerCount(); ++index) {
        for (const int kindLimit : {int{match_kind::None}, int{match_kind::Regex}}) {
          SCOPED_TRACE("input \"" + input + "\", scanner " + std::to_string(first) + " then " +
                       std::to_string(index) + ", limit " + std::to_string(kindLimit));
          const CVL_Scanner& scanner = *Table().scanner(index);
          CVL_ScanStartMemo memo;
          Scan(*Table().scanner(first), input, match_kind::None, &memo);
          const Outcome shared = Scan(scanner, input, kindLimit, &memo);
          // The same scanner once more, now surely from the memo.
          const Outcome again = Scan(scanner, input, kindLimit, &memo);
          const Outcome alone = Scan(scanner, input, kindLimit, nullptr);
          ExpectSameOutcome(alone, shared);
          ExpectSameOutcome(alone, again);
        }
      }
    }
  }
}

}  // namespace
}  // namespace orvo
