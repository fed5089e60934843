// Shortcuts of macro expansion: a rescan that settled without a nested
// parse is used again for the same text while the definitions stay and no
// object-like macro is busy, and a run of replacement-list elements that a
// rescan leaves alone comes as one part, rescanned when the macro is
// defined. Each case must give what rescanning every part gives: the runs
// with the plain token reader off do that.
#include <gtest/gtest.h>

#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::pp;

std::string Both(const std::string& input, RunOptions options) {
  options.mode = Mode::Reference;
  const RunResult slow = runPreprocessor(input, options);
  options.mode = Mode::Fast;
  const RunResult fast = runPreprocessor(input, options);
  EXPECT_EQ(test::RunSummary(fast), test::RunSummary(slow)) << input;
  return fast.output;
}

// Both ways under every parse budget up to `mostParses` and every byte
// budget up to `mostBytes`: a budget crossed by reused work ends the run
// where doing the work would have ended it.
void BothWithinBudgets(const std::string& input, int mostParses, std::size_t mostBytes) {
  for (int parses = 1; parses <= mostParses; ++parses) {
    RunOptions options;
    options.maxExpansionParses = parses;
    Both(input, options);
  }
  for (std::size_t bytes = 1; bytes <= mostBytes; ++bytes) {
    RunOptions options;
    options.maxExpandedBytes = bytes;
    Both(input, options);
  }
}

TEST(SettledRescan, GivesWhatRescanningAgainGives) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      // Removed and redefined between uses of the same argument.
      {"#define F(x) [x]\n#define L 1\nF(L) F(L)\n#undef L\nF(L)\n#define L 2\nF(L)\n"
       "#define L 3 + L\nF(L) F( L )\n",
       "[1]  [1] \n\n[L] \n[2] \n[3 + 3 + L]  [L] \n"},
      // The same argument rescanned while an object-like macro is busy,
      // then outside any expansion.
      {"#define F(x) [x]\n#define Y X\n#define X F(Y) Y\nX\nF(Y)\nX F(Y)\n",
       "[X]  X\n[[[X]  Y]  X] \n[X]  X [[[X]  Y]  X] \n"},
      {"#define F(x) [x]\n#define G(x) F(x) x\n#define A B\n#define B A C\nG(A) F(A) F(B) A B\n",
       "[B C C] A C  [A]  [A C]  A A C\n"},
      // "B" rescanned while A is busy gives A; outside, it gives A again
      // only by expanding both.
      {"#define F(x) [x]\n#define A B\n#define B A\nA\nF(B)\nB F(A) F(B)\n", "A\n[A] \nB [B]  [A] \n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pp(c.input), c.output) << c.input;
    Both(c.input, {});
  }
}

TEST(SettledRescan, CountsAgainstTheBudgetEachTime) {
  // Every call rescans the same argument; a budget crossed by a reused
  // rescan ends the run where rescanning would have ended it.
  const std::string input =
      "#define L M\n#define M 1\n#define F(x) x\n#define G(x) F(x) F(x) F(x) F(x)\n"
      "G(L) G(L)\n";
  BothWithinBudgets(input, 40, 64);
}

TEST(SettledParse, GivesWhatParsingAgainGives) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      // Redefined between calls whose expansion holds a call.
      {"#define STR(x) #x\n#define XSTR(x) STR(x)\n#define L 64\nXSTR(L) XSTR(L)\n#undef L\n"
       "XSTR(L)\n#define L 65\nXSTR(L) XSTR(L)\n",
       "\"64\"   \"64\"  \n\n\"L\"  \n\"65\"   \"65\"  \n"},
      {"#define F(x) G(x) G(x)\n#define G(y) <y>\nF(1) F(1) F(2)\n#define G(y) [y]\nF(1)\n",
       "<1>  <1>   <1>  <1>   <2>  <2>  \n[1]  [1]  \n"},
      // A call within the expansion of a macro that is busy.
      {"#define P(x) Q(x) R\n#define Q(x) x\n#define R P(1)\nP(1) P(1) R R\n",
       "1  1  1  R  1  R  R R\n"},
      // The count of arguments is reported in the text each time.
      {"#define F(x) G(x)\n#define G(x, y) x y\nF(1) F(1)\n",
       "1  // macro \"G\" requires 2 arguments, but only 1 given  1  // macro \"G\" requires 2 "
       "arguments, but only 1 given \n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Both(c.input, {}), c.output) << c.input;
  // A comment met while parsing macro text writes its blank at once (here
  // the argument-count comment, and a comment pasted together from "/"s):
  // a parse that did is done again each time, so every line gets the blank,
  // and a small output limit ends both ways alike.
  for (const char* twice : {"#define f(x) x\n#define g() 1\nf(f(g(,)))\nf(f(g(,)))\n",
                            "#define f(x) x\n#define C(a) a##/##/\nf(f(C(x)))\nf(f(C(x)))\n"}) {
    const std::string output = Both(twice, {});
    EXPECT_EQ(output.substr(0, output.size() / 2), output.substr(output.size() / 2)) << twice;
    for (std::size_t limit = 1; limit <= output.size(); ++limit) {
      RunOptions options;
      options.maxOutputBytes = limit;
      Both(twice, options);
    }
  }
  // G(1) is parsed again while G is busy, where it stays as it is; that
  // result must not stand for the parse of G(1) outside G.
  const std::string nested = "#define F(x) x\n#define G(x) F(G(x))\nG(1) F(G(1)) G(1)\n";
  EXPECT_EQ(test::ppError(nested), "macro \"F\" nests more than 200 expansions deep");
  Both(nested, {});
  // A parse kept from a shallow call is not used in a deep one, where the
  // calls it makes cross the depth limit.
  std::string chain;
  for (int i = 0; i < 260; ++i)
    chain += "#define F" + std::to_string(i) + "(x) F" + std::to_string(i + 1) + "(x)\n";
  chain += "#define F260(x) [x]\nF150(1)\nF0(1)\n";
  EXPECT_EQ(test::ppError(chain), "macro \"F200\" nests more than 200 expansions deep");
  Both(chain, {});
  // A reused parse counts against the budget each time.
  const std::string input =
      "#define STR(x) #x\n#define XSTR(x) STR(x)\n#define G(x) XSTR(x) XSTR(x) XSTR(x)\nG(1) G(1)\n";
  BothWithinBudgets(input, 24, 0);
}

TEST(InertRuns, GiveWhatRescanningEachElementGives) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      // Blanks before a parameter, trailing blanks, "/" before "*" and "/".
      {"#define F(a, b) ( ( a ) / b +- ~ ) , ; / * / / x\nF(1, *p) F(2, /q)\n",
       "( (1 ) / *p +- ~ ) , ; / * / / x  ( (2 ) / /q +- ~ ) , ; / * / / x \n"},
      // Runs cut by "#" and "##" and their operands.
      {"#define S(a) + # a - ## a * ( a ## ) # - \nS(x) S( y )\n",
       "+\"x\" -x * (x)\"-\"  +\"y\" -y * (y)\"-\" \n"},
      {"#define E(a) a\nE(=) E(-) E()\n", "=  -  \n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Both(c.input, {}), c.output) << c.input;
  // A run whose bytes cross the budget ends the run as the parts would.
  const std::string input = "#define F(a) ( a ) + ( a ) - [ ] { }  \nF(1) F(2)\n";
  BothWithinBudgets(input, 0, 48);
}

}  // namespace
}  // namespace orvo
