#include <gtest/gtest.h>

#include <string>

#include <boost/regex.hpp>

#include "scan/FirstByteFilter.h"
#include "scan/RegexScanner.h"
#include "scan/ScannerSyntax.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

CVL_FirstByteFilter FilterOf(const std::string& expression) {
  return CVL_FirstByteFilter(expression, boost::regex(expression, kScannerSyntax));
}

std::string Admitted(const CVL_FirstByteFilter& filter) {
  std::string bytes;
  for (int i = 0; i < 256; ++i)
    if (filter.admits(static_cast<char>(i))) bytes += static_cast<char>(i);
  return bytes;
}

// A refused byte must be one that no match can begin with: Boost's partial
// matching reports whether any input starting with it could still match.
void ExpectSound(const std::string& expression) {
  const boost::regex compiled(expression, kScannerSyntax);
  const CVL_FirstByteFilter filter(expression, compiled);
  boost::match_results<const char*> results;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    if (filter.admits(c)) continue;
    EXPECT_FALSE(boost::regex_search(&c, &c + 1, results, compiled,
                                     boost::match_default | boost::match_partial))
        << expression << " refuses byte " << i;
  }
}

TEST(FirstByteFilter, NeverRefusesAByteAMatchOfATokenOrPartCanStartWith) {
  for (int id = 1; id < kTokenCount; ++id) {
    const symbol* s = GetSymbol(id);
    if (!s->literal && s->pattern[0] != '\0') ExpectSound(std::string("\\A(") + s->pattern + ")");
  }
  const auto table = BuildPreprocessorScanners();
  for (int k = 0; k < table->scannerCount(); ++k)
    if (const CVL_RegexScanner* part = table->scanner(k)->m_Regex) ExpectSound(part->expression());
}

TEST(FirstByteFilter, NarrowsToTheBytesTheAlternativesBeginWith) {
  EXPECT_EQ(Admitted(FilterOf(R"re(\A((//[^\r\n]*$)))re")), "/");
  EXPECT_EQ(Admitted(FilterOf(R"re(\A((#\s*if)|(\r?\n)))re")), "\n\r#");
  EXPECT_EQ(Admitted(FilterOf(R"re(\A((\z)|(x)))re")), "x");
  EXPECT_EQ(Admitted(FilterOf("a*b{2}")), "ab");
  EXPECT_EQ(Admitted(FilterOf("\\<a")), "a");
  EXPECT_EQ(Admitted(FilterOf("[^\\x00-\\xff]")).size(), 256u);  // not understood
  EXPECT_EQ(Admitted(FilterOf("[^a-y]")).size(), 256u - 25u);
  EXPECT_EQ(Admitted(FilterOf(R"re([[:xdigit:]])re")), "0123456789ABCDEFabcdef");
}

TEST(FirstByteFilter, AdmitsEverythingWhenAMatchMayBeEmptyOrTheSyntaxIsUnknown) {
  for (const char* expression : {"\\Ax?", "a|", "(a*)", "\\pLa", "\\x41", "a{0,2}"})
    EXPECT_EQ(Admitted(FilterOf(expression)).size(), 256u) << expression;
  const boost::regex folded("a", kScannerSyntax | boost::regex::icase);
  EXPECT_TRUE(CVL_FirstByteFilter("a", folded).admits('A'));
}

}  // namespace
}  // namespace orvo
