// The token matchers against the regular-expression library: for every
// regex and skip part of the preprocessor's table, at every position of the
// fixture files, of typical and tricky C text and of generated text, both
// must find the same match, the same token and the same groups.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/FastMatcherDifference.h"

namespace orvo {
namespace {

using differential::Part;
using differential::Parts;

void ExpectSameEverywhere(const std::string& text, const std::string& origin) {
  EXPECT_EQ(differential::FirstDifference(text), "") << "in " << origin;
}

TEST(FastMatcher, RunsEveryPartOfThePreprocessorTable) {
  for (const Part& part : Parts()) {
    ASSERT_NE(part.matchers, nullptr) << part.expression;
    EXPECT_TRUE(part.matchers->agreesWith(*part.map)) << part.expression;
    EXPECT_TRUE(part.fast) << part.expression;
  }
}

TEST(FastMatcher, LeavesUnknownExpressionsAndMapsToTheLibrary) {
  const std::vector<std::string> unknown = {
      R"(\A((a+b)))",          // a pattern no token has
      R"(\A((\w+))",           // unbalanced
      R"(\A((\w+)|(\w+)x))",   // text after an alternative
      R"((\*/)|(\w+)|)",       // an empty alternative
  };
  for (const std::string& expression : unknown) {
    std::shared_ptr<const CVL_CompiledPattern> pattern;
    try {
      pattern = CompileScannerPattern(expression);
    } catch (const boost::regex_error&) {
      continue;  // refused by the library as well
    }
    EXPECT_EQ(CVL_FastAlternation::Build(expression, pattern->regex()), nullptr) << expression;
  }
  // A map that does not name the alternatives' groups keeps the library.
  CVL_RegexScanner scanner(R"(\A(((\w+)\()|(\w+)))");
  scanner.mapGroup(2, GetSymbol(tok::MacroDefBegin));
  scanner.mapGroup(5, GetSymbol(tok::Id));
  EXPECT_FALSE(scanner.fast());
  CVL_RegexScanner agreeing(R"(\A(((\w+)\()|(\w+)))");
  agreeing.mapGroup(2, GetSymbol(tok::MacroDefBegin));
  agreeing.mapGroup(4, GetSymbol(tok::Id));
  EXPECT_TRUE(agreeing.fast());
}

TEST(FastMatcher, AgreesWithTheLibraryOnTrickyText) {
  using namespace std::string_literals;
  const std::string cases[] = {
      "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\nx = min(a, b);\n",
      "#  ifdef X\n#ifdefX\n#ifndef Y\r\n# if 1\n#\n\n  elif\n#else\n#endif\n#\tinclude <a.h>\n",
      "#include \"a\\b.h\"\n#include <>\n#include \"\"\n#include<x\n#include \"y\n",
      "#pragma once\n#error e\n#warning w\n#line 3\n#undef U\n#define F(a) a\n#definex\n",
      "123 123u 123UuU 123L 0x1F 0X1fUL 0xul 017 017ul 018 0 00 1.5 1.5e3 .5e-2f 1e+5 1f 1d 1E 1.e5",
      "'a' '\\n' '\\'' '\\' '\\\\' '\\0' '\\01' '\\012' '\\0123' '\\x' '\\x1F' '\\q' L'x' '' ''' 'ab'",
      "\"\" \"a\\\"b\" \"a\\\\\" \"a\\\nb\" \"unterminated\n L\"wide\" \"\\x\\y\\z\" \"a\\",
      "// line comment\r\n// at end\f x /* block */ */ *//**/ \\  \n\\\t\r\n\\",
      "foo (x) foo\t\n(y) foo(z) foo _a1 $ @ ` -> ->* .* ... :: ## # , ; \x80\xff\x01",
      "nul\0byte 'x\0' \"a\0b\""s,
      "\r\r\n\n\r \t\v\f",
  };
  for (const std::string& text : cases) ExpectSameEverywhere(text, "a tricky case");
}

TEST(FastMatcher, AgreesWithTheLibraryOnTheFixtureFiles) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ORVO_TEST_DATA)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ExpectSameEverywhere(text.str(), entry.path().string());
  }
}

TEST(FastMatcher, AgreesWithTheLibraryOnGeneratedText) {
  // Pieces that make tokens, near-tokens and everything that ends them.
  const std::vector<std::string> pieces = {
      "#", "define", "include", "if", "ifdef", "ifndef", "elif", "else", "endif", "error",
      "pragma", "line", "undef", "warning", " ", "\t", "\n", "\r\n", "\r", "\v", "\f", "\\",
      "'", "\"", "L", "x", "X", "0", "1", "7", "8", "9", "a", "F", "e", "E", "u", "U", "l",
      "ul", "UL", "d", ".", "+", "-", "_", "(", ")", "<", ">", "/", "*", "//", "/*", "*/", "|",
      "&", "%", "?", ":", ",", "$", "\x80", "\xe9", std::string(1, '\0')};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 14);
  for (int n = 0; n < 1500; ++n) {
    std::string text;
    for (int i = length(random); i > 0; --i) text += pieces[pick(random)];
    ASSERT_EQ(differential::FirstDifference(text), "") << "in generated text " << n;
  }
}

}  // namespace
}  // namespace orvo
