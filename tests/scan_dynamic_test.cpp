#include <gtest/gtest.h>

#include <string>

#include "base/Message.h"
#include "scan/DynamicScanner.h"
#include "scan/DynamicScannerData.h"
#include "scan/Scanner.h"

namespace orvo {
namespace {

TEST(DynamicScanner, StaysInertWithoutScopeLevels) {
  CVL_DynamicScanner dynamic;
  EXPECT_FALSE(dynamic.hasLevels());
  EXPECT_FALSE(dynamic.addText("NAME", "foo", 0));
  EXPECT_FALSE(dynamic.addKeyedText("NAME", "foo", "key", 0));
  dynamic.pushKey("key", 0);
  EXPECT_EQ(dynamic.activeKey(), "");

  const std::string input = "foo";
  CVL_Match match;
  match.reset(input.data());
  EXPECT_FALSE(dynamic.dynamicMatch(match, input.data() + input.size(), true));
  EXPECT_FALSE(match.m_bFound);
}

TEST(DynamicScanner, PositionWithoutDynamicTokensIgnoresIt) {
  CVL_DynamicScanner dynamic;
  CVL_Scanner scanner;
  const std::string input = "x";
  CVL_Match match;
  match.reset(input.data());
  int inclusion = -1;
  EXPECT_FALSE(scanner.scanWith(match, input.data() + 1, 7, &dynamic, inclusion));
  EXPECT_EQ(inclusion, 0);
}

TEST(DynamicScannerLevel, AddsDeclaredPlaceholdersOnly) {
  const CVL_DynamicScanner::CDynScannerData::PlaceholderMap placeholders = {
      {"TYPE_NAME", GetSymbol(9)}};
  CVL_DynamicScanner::CDynScannerData level(&placeholders);
  try {
    level.add("OTHER", "foo", "", 0);
    ADD_FAILURE() << "undeclared placeholder accepted";
  } catch (const CVL_Message& m) {
    EXPECT_STREQ(m.text(), "placeholder token is not declared");
  }
  EXPECT_THROW(level.add("TYPE_NAME", "foo", "", kMaxDynamicLevels + 1), CVL_Message);

  EXPECT_TRUE(level.add("TYPE_NAME", "size_t", "", 0));
  EXPECT_TRUE(level.add("TYPE_NAME", "uint", "", 2));
  ASSERT_NE(level.levelAt(2), nullptr);
  EXPECT_EQ(level.levelAt(3), nullptr);

  const std::string input = "size_t x";
  CVL_Match match;
  match.reset(input.data());
  EXPECT_TRUE(level.match(match, input.data() + input.size(), true));
  EXPECT_EQ(match.m_Kind, match_kind::Literal);
  EXPECT_EQ(match.m_Length, 6);
  EXPECT_EQ(match.m_pSymbol, GetSymbol(9));
  const std::string word = "size_tx";
  match.reset(word.data());
  EXPECT_FALSE(level.match(match, word.data() + word.size(), true));
}

}  // namespace
}  // namespace orvo
