// A scan passes over a fallback scanner when that scanner could not change
// the candidate it holds. These tests run the passed-over scanners anyway and
// check that their results would indeed have lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/ParseState.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

const CVL_ScannerTable& Table() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  return *table;
}

// One scanner of each kind the table holds: scanners with the same parts,
// expected set and inclusion find the same tokens.
const std::vector<const CVL_Scanner*>& DistinctScanners() {
  static const std::vector<const CVL_Scanner*> scanners = [] {
    std::vector<const CVL_Scanner*> result;
    std::set<std::tuple<const void*, const void*, const void*, const void*, const void*,
                        std::string>>
        seen;
    for (int k = 0; k < Table().scannerCount(); ++k) {
      const CVL_Scanner* s = Table().scanner(k);
      std::string expected;
      s->m_ExpectedTokens.forEach([&](int id) { expected += std::to_string(id) + ","; });
      if (seen.emplace(s->m_Regex, s->m_Literal, s->m_Ignore, s->m_Skip, s->checkedInclusion(),
                       expected)
              .second)
        result.push_back(s);
    }
    return result;
  }();
  return scanners;
}

struct Tally {
  long passedOver = 0;
};

// At every position of `text`, for every holder and every other scanner the
// holder's candidate lets a scan pass over, the other scanner's own result
// must lose to the candidate.
void ExpectPassedOverScannersLose(const std::string& text, const std::string& where,
                                  Tally& tally) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  CVL_ParseState state(begin, end);
  for (const char* p = begin; p < end; ++p) {
    for (const CVL_Scanner* holder : DistinctScanners()) {
      CVL_Match candidate;
      candidate.reset(p);
      int inclusion = 0;
      holder->scanWith(candidate, end, match_kind::None, nullptr, inclusion);
      if (inclusion != 0 || !candidate.m_bFound || candidate.m_pTokenBegin == end ||
          (candidate.m_Kind != match_kind::Literal && candidate.m_Kind != match_kind::Regex))
        continue;
      for (const CVL_Scanner* other : DistinctScanners()) {
        if (!other->cannotReplace(*holder, candidate)) continue;
        CVL_Match rival;
        rival.reset(p);
        other->scanWith(rival, end, match_kind::None, nullptr, inclusion);
        // The scan passes over only a scanner that begins the token where the
        // candidate begins, with no comment in front.
        if (inclusion != 0 || rival.m_pTokenBegin != candidate.m_pTokenBegin) continue;
        ++tally.passedOver;
        state.m_Match = candidate;
        state.m_AltMatch = rival;
        ASSERT_FALSE(state.chooseCandidate())
            << where << " at offset " << (p - begin) << ": token " << candidate.m_pSymbol->name
            << " would lose to " << (rival.m_pSymbol ? rival.m_pSymbol->name : "?");
      }
    }
  }
}

TEST(WalkShortcut, EveryPreprocessorScannerKnowsItsFirstBytes) {
  for (int k = 0; k < Table().scannerCount(); ++k)
    EXPECT_NE(Table().scanner(k)->m_pFirstByteTokens, nullptr) << "scanner " << k;
}

// Fixture files, tricky text and generated text to scan at every position.
std::vector<std::pair<std::string, std::string>> TextsToScan() {
  std::vector<std::pair<std::string, std::string>> texts = {
      {"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\nx = min(a, b);\n# if 1\n#endif\n", "macros"},
      {"123 123u 0x1FUL 017 1.5e3 .5e-2f 1f 'a' '\\n' L'x' \"a\\\"b\" L\"w\" x->y ->* .* ...",
       "literals"},
      {"a<<=b>>=c<=d>=e==f!=g&&h||i&=j|=k^=l%=m+=n-=o*=p/=q++r--s::t##u#v,w;defined(X) definedY",
       "operators"},
      {"// c\r\n/* b */ \\\n x \\  \n\t\v\f\x80\xff $ @ `", "comments and odd bytes"},
  };
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ORVO_TEST_DATA)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    texts.emplace_back(text.str(), entry.path().string());
  }
  const std::vector<std::string> pieces = {"#", "define", "if", "x", "L", "0", "1", "u", "e",
                                           ".", "+", "-", "<", ">", "=", "&", "|", "'", "\"",
                                           "\\", "/", "*", "(", ")", ",", " ", "\n", "\r\n"};
  std::mt19937 random(20261210);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  for (int n = 0; n < 40; ++n) {
    std::string text;
    for (int i = 0; i < 12; ++i) text += pieces[pick(random)];
    texts.emplace_back(text, "generated text " + std::to_string(n));
  }

  return texts;
}

TEST(WalkShortcut, PassedOverScannersNeverBeatTheCandidate) {
  Tally tally;
  for (const auto& [text, where] : TextsToScan()) {
    ExpectPassedOverScannersLose(text, where, tally);
    if (HasFatalFailure()) return;
  }
  // The shortcut must actually apply, or this test proves nothing.
  EXPECT_GT(tally.passedOver, 10000);
}

TEST(WalkShortcut, ScannersFindNothingWhereNothingTheyLookForBegins) {
  // Where a scanner's blanks and comment check leave the token begin as it
  // is, a byte that begins none of its tokens means it finds nothing.
  long passedOver = 0;
  for (const auto& [text, where] : TextsToScan()) {
    const char* const end = text.data() + text.size();
    for (const char* p = text.data(); p < end; ++p) {
      for (const CVL_Scanner* scanner : DistinctScanners()) {
        if (!scanner->findsNothingAt(*p)) continue;
        CVL_Match match;
        match.reset(p);
        int inclusion = 0;
        scanner->scanWith(match, end, match_kind::None, nullptr, inclusion);
        if (inclusion != 0 || match.m_pTokenBegin != p) continue;
        ++passedOver;
        ASSERT_FALSE(match.m_bFound) << where << " at offset " << (p - text.data());
      }
    }
  }
  EXPECT_GT(passedOver, 10000);
}

TEST(WalkShortcut, ScannersWithHandWrittenExpressionsAlwaysRun) {
  // An expression the tables would not build for its tokens may order its
  // alternatives differently, so nothing is known about what it finds first.
  CVL_ScannerTable table;
  table.AllocScanners(2);
  table.AddIgnoreScanner(" ");
  table.AddRegexScanner("\\A((\\w+)|(\\d+))");
  table.MapRegexGroups(0, "2, 9, 3, 13");
  table.AddRegexScanner("\\A((\\w+))");
  table.MapRegexGroups(1, "2, 9");
  table.SetScanner(0, 0, -1, 0, -1, -1, -1);
  table.SetScanner(1, 0, -1, 1, -1, -1, -1);
  table.DeriveFirstByteTokens();
  EXPECT_EQ(table.scanner(0)->m_pFirstByteTokens, nullptr);
  EXPECT_NE(table.scanner(1)->m_pFirstByteTokens, nullptr);
}

}  // namespace
}  // namespace orvo
