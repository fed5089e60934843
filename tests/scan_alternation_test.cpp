#include <gtest/gtest.h>

#include <boost/regex.hpp>

#include "scan/ScannerSyntax.h"
#include "scan/TokenAlternation.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

CVL_Alternation RegexFor(const char* set) { return RegexAlternation(ParseTokenSet(set)); }

TEST(RegexAlternation, TextLineSetOrdersAlternativesByGroupsThenName) {
  const CVL_Alternation a = RegexFor("8-64, 69");
  EXPECT_EQ(
      a.expression,
      R"re(\A((L?'(\\([abfnrtv"'\\?]|[0-7]([0-7][0-7]?)?|x[[:xdigit:]]+)|[^'])')|(L?"([^"\\\r\n]*(\\.[^"\\\r\n]*)*)")|(0[xX][[:xdigit:]]+(u|ul|U|UL|l|L)?)|((\w+)\s*\()|(0[0-7]+(u|ul|U|UL|l|L)?)|((\d+)[uU]*)|(\\\s*)|(\d+[fFlL]*)|(\d+\.\d*[eE][+-]?\d+[fFdD]?|\.\d+[eE][+-]?\d+[fFdD]?|\d+[eE][+-]?\d+[fFdD]?|\d+[fFdD])|(\w+)|([^ \\\r\n\t\)|&%?:#])))re");
  EXPECT_EQ(a.groupMap, "2, 10, 6, 11, 9, 14, 11, 69, 13, 15, 15, 16, 17, 8, 18, 13, 19, 12, 20, 9, 21, 17");
}

TEST(RegexAlternation, WorkedExamplesGiveTheirMaps) {
  EXPECT_EQ(RegexFor("9, 10, 12-15, 19, 49-51, 63, 84").groupMap,
            "2, 10, 6, 14, 8, 15, 10, 13, 11, 12, 12, 9");
  const CVL_Alternation definition = RegexFor("9, 75");
  EXPECT_EQ(definition.expression, R"re(\A(((\w+)\()|(\w+)))re");
  EXPECT_EQ(definition.groupMap, "2, 75, 4, 9");
  const CVL_Alternation branches = RegexFor("67, 74, 79, 80, 82, 83");
  EXPECT_EQ(branches.expression,
            R"re(\A((#\s*elif)|(#\s*else)|(#\s*endif)|(#\s*if)|(#\s*ifdef\s+)|(#\s*ifndef)))re");
  EXPECT_EQ(branches.groupMap, "2, 82, 3, 83, 4, 67, 5, 80, 6, 74, 7, 79");
}

TEST(RegexAlternation, EndOfInputIsAnAlternativeOnlyBesideOtherPatterns) {
  const CVL_Alternation group = RegexFor("1, 6-66, 68-72, 74, 79, 80");
  const std::vector<std::pair<int, int>> map = ParsePairList(group.groupMap.c_str());
  ASSERT_EQ(map.size(), 23u);
  EXPECT_EQ(map[9].second, 1);
  EXPECT_EQ(group.groupMap.rfind("2, 10, 6, 7, 10, 11, 13, 14, 15, 69, ", 0), 0u);
  // On empty input only `\z` can match: it must sit in the group the map names.
  const boost::regex compiled(group.expression, kScannerSyntax);
  EXPECT_EQ(static_cast<int>(compiled.mark_count()), map.back().first);
  boost::match_results<const char*> results;
  const char* empty = "";
  ASSERT_TRUE(boost::regex_search(empty, empty, results, compiled));
  EXPECT_TRUE(results[map[9].first].matched);

  EXPECT_EQ(RegexFor("1").expression, "");
  EXPECT_EQ(RegexFor("2, 18, 76").expression, "");
  EXPECT_EQ(RegexFor("1, 6").expression, R"re(\A((\z)|(\r?\n)))re");
}

TEST(SkipAlternation, StopExpressionsAreUnanchoredAndEscapeLiterals) {
  struct Case {
    const char* stops;
    const char* expression;
    const char* map;
  };
  const Case cases[] = {
      {"67, 74, 79, 80, 82, 83",
       R"re((#\s*elif)|(#\s*else)|(#\s*endif)|(#\s*if)|(#\s*ifdef\s+)|(#\s*ifndef))re",
       "1, 82, 2, 83, 3, 67, 4, 80, 5, 74, 6, 79"},
      {"1, 6", R"re((\z)|(\r?\n))re", "1, 1, 2, 6"},
      {"6", R"re((\r?\n))re", "1, 6"},
      {"88", R"re((\*/))re", "1, 88"},
  };
  for (const Case& c : cases) {
    const CVL_Alternation a = SkipAlternation(ParseTokenSet(c.stops));
    EXPECT_EQ(a.expression, c.expression);
    EXPECT_EQ(a.groupMap, c.map);
  }
}

}  // namespace
}  // namespace orvo
