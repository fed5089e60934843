#include <gtest/gtest.h>

#include <string>

#include <boost/regex.hpp>

#include "scan/ScannerSyntax.h"
#include "scan/Symbol.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

TEST(TokenTable, RecordsAreIndexedByIdAndEndWithATerminator) {
  for (int id = 0; id <= kTokenCount; ++id) EXPECT_EQ(GetSymbol(id)->id, id);
  const symbol* end = GetSymbol(90);
  EXPECT_FALSE(end->literal);
  EXPECT_STREQ(end->name, "");
  EXPECT_STREQ(end->pattern, "");
  EXPECT_EQ(end->submatches, 0);
}

TEST(TokenTable, LiteralKindsAreNamedByTheirText) {
  const CVL_TokenSet literals = ParseTokenSet("18-64, 76-78, 84, 86, 88");
  for (int id = 0; id < kTokenCount; ++id) {
    const symbol* s = GetSymbol(id);
    EXPECT_EQ(s->literal, literals.contains(id)) << id;
    if (s->literal) {
      EXPECT_STREQ(s->name, s->pattern);
      EXPECT_EQ(s->submatches, 1);
    }
  }
  EXPECT_STREQ(GetSymbol(62)->pattern, "|=");
}

// The sub-match count drives group numbering in every scanner: it must be
// one more than the pattern's own groups.
TEST(TokenTable, SubmatchCountsMatchThePatternsGroups) {
  for (int id = 1; id < kTokenCount; ++id) {
    const symbol* s = GetSymbol(id);
    if (s->literal || s->pattern[0] == '\0') {
      EXPECT_EQ(s->submatches, 1) << s->name;
      continue;
    }
    const boost::regex compiled(s->pattern, kScannerSyntax);
    EXPECT_EQ(static_cast<int>(compiled.mark_count()) + 1, s->submatches) << s->name;
  }
}

TEST(TokenTable, NamesThatAppearInMessagesAreSpelledExactly) {
  EXPECT_STREQ(GetSymbol(15)->name, "OCTADECIMALLINT");
  EXPECT_STREQ(GetSymbol(17)->name, "NOT_OTHER_PP_TOKEN_CHAR");
  EXPECT_STREQ(GetSymbol(0)->name, "unrecognized");
  EXPECT_STREQ(GetSymbol(69)->name, "MACRO_CALL_BEGIN");
}

TEST(TokenTable, RuntimeEndOfInputAndEmptyRecordsDifferFromTheirRows) {
  const symbol& eof = EofSymbol();
  EXPECT_EQ(eof.id, GetSymbol(1)->id);
  EXPECT_TRUE(eof.literal);
  EXPECT_STREQ(eof.name, "EOF");
  EXPECT_STREQ(eof.pattern, "");
  EXPECT_FALSE(GetSymbol(1)->literal);
  EXPECT_STREQ(GetSymbol(1)->pattern, "\\z");
  EXPECT_NE(&eof, GetSymbol(1));

  const symbol& eps = EpsSymbol();
  EXPECT_EQ(eps.id, 2);
  EXPECT_TRUE(eps.literal);
  EXPECT_STREQ(eps.name, "EPS");
  EXPECT_EQ(eps.submatches, 1);
}

}  // namespace
}  // namespace orvo
