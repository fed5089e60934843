#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Message.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

std::vector<int> Ids(const CVL_TokenSet& set) {
  std::vector<int> ids;
  set.forEach([&](int id) { ids.push_back(id); });
  return ids;
}

std::string MessageOf(void (*action)()) {
  try {
    action();
  } catch (const CVL_Message& m) {
    return m.text();
  }
  return "no message";
}

TEST(TokenSetNotation, ParsesItemsAndRanges) {
  const CVL_TokenSet wide = ParseTokenSet("18-64, 76-78, 84");
  EXPECT_EQ(wide.size(), 51u);
  EXPECT_TRUE(wide.contains(18) && wide.contains(64) && wide.contains(77) && wide.contains(84));
  EXPECT_FALSE(wide.contains(65) || wide.contains(79));

  struct Case {
    const char* text;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"30-33", {30, 31, 32, 33}}, {"9", {9}},          {"5-3", {}},
      {"", {}},                    {"85,86", {85, 86}}, {"1,  6-7", {1, 6, 7}},
  };
  for (const Case& c : cases) EXPECT_EQ(Ids(ParseTokenSet(c.text)), c.ids) << c.text;
}

TEST(TokenSetNotation, RefusesMalformedTextAndUnknownTokens) {
  for (const char* text : {"1,,2", "a", "1-", "3 ", "-4", "1;2"})
    EXPECT_THROW(ParseTokenSet(text), CVL_Message) << text;
  EXPECT_EQ(MessageOf([] { ParseTokenSet("89-91"); }), "token number out of range");
}

TEST(PairListNotation, ReadsGroupTokenPairsInOrder) {
  const std::vector<std::pair<int, int>> expected = {{2, 75}, {4, 9}};
  EXPECT_EQ(ParsePairList("2, 75, 4, 9"), expected);
  EXPECT_EQ(MessageOf([] { ParsePairList("2, 75, 4"); }), "malformed pair list");
  EXPECT_EQ(MessageOf([] { ParsePairList("2, 75-76"); }), "malformed pair list");
  EXPECT_EQ(MessageOf([] { ParsePairList("2, 91"); }), "token number out of range");
}

}  // namespace
}  // namespace orvo
