#include <gtest/gtest.h>

#include <string>

#include "base/Message.h"
#include "scan/LiteralScanner.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

TEST(TernarySearchTree, SharesPrefixNodesAndRefusesTheEmptyKey) {
  CVL_Tst tree;
  tree.insert(">>=", GetSymbol(58));
  EXPECT_EQ(tree.nodeCount(), 3u);
  tree.insert(">>", GetSymbol(38));
  EXPECT_EQ(tree.nodeCount(), 3u);
  EXPECT_EQ(tree.find(">>")->m_pData, GetSymbol(38));
  EXPECT_EQ(tree.find(">>=")->m_pData, GetSymbol(58));
  EXPECT_EQ(tree.find(">")->m_pData, nullptr);
  EXPECT_EQ(tree.find(">>>"), nullptr);
  EXPECT_EQ(tree.find("<"), nullptr);

  tree.insert(">>", GetSymbol(39));
  EXPECT_EQ(tree.find(">>")->m_pData, GetSymbol(39));

  try {
    tree.getOrCreate("");
    ADD_FAILURE() << "empty key accepted";
  } catch (const CVL_Message& m) {
    EXPECT_STREQ(m.text(), "attempt to get or create node with NULL key");
  }
}

TEST(TernarySearchTree, ReleasesAVeryLongKeyWithoutDeepRecursion) {
  auto tree = std::make_unique<CVL_Tst>();
  tree->insert(std::string(1'000'000, 'x'), GetSymbol(9));
  EXPECT_EQ(tree->nodeCount(), 1'000'000u);
  tree.reset();
}

class LiteralScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ParseTokenSet("18-64, 76-78, 84, 86, 88").forEach([&](int id) {
      m_Scanner.add(GetSymbol(id)->pattern, GetSymbol(id));
    });
  }

  // "id:length" of the longest literal, or "none".
  std::string Longest(const std::string& input, const char* expected) const {
    const CVL_TokenSet set = ParseTokenSet(expected);
    const auto hit = m_Scanner.longestMatch(input.data(), input.data() + input.size(), true, &set);
    if (!hit) return "none";
    return std::to_string(hit->m_pSymbol->id) + ":" + std::to_string(hit->m_pEnd - input.data());
  }

  CVL_LiteralScanner m_Scanner;
};

TEST_F(LiteralScannerTest, FindsTheLongestExpectedLiteralOutsideWords) {
  struct Case {
    const char* input;
    const char* expected;
    const char* result;
  };
  const Case cases[] = {
      {"->*x", "18-64", "45:3"},
      {">>=1", "38, 39", "38:2"},       // ">" and ">>=" are not expected
      {">>=1", "18-64", "58:3"},
      {"defined(X)", "19, 84", "84:7"},
      {"definedX", "19, 84", "none"},   // would end inside a word
      {"defined_X", "19, 84", "none"},
      {"defined", "19, 84", "84:7"},    // the input ends right after it
      {"/*", "85, 86", "86:2"},
      {"*/", "85, 86", "none"},         // held by the tree, not expected here
      {"...", "44", "44:1"},
      {"..", "64", "none"},
      {"", "18-64", "none"},
      {"$", "18-64", "none"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Longest(c.input, c.expected), c.result) << c.input << " with " << c.expected;
}

TEST_F(LiteralScannerTest, WholeWordRuleCanBeSwitchedOffAndExpectedSetOmitted) {
  const std::string input = "definedX";
  const auto hit = m_Scanner.longestMatch(input.data(), input.data() + input.size(), false, nullptr);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->m_pSymbol->id, 84);
  EXPECT_TRUE(m_Scanner.contains("->*"));
  EXPECT_FALSE(m_Scanner.contains("->*="));
}

}  // namespace
}  // namespace orvo
