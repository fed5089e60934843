// Faults ordinary C code met: a directive that read the next line as the
// arguments of a call, and spacing that glued "/" to "*" into a comment.
#include <gtest/gtest.h>

#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::pp;
using test::ppError;

TEST(DirectiveLine, EndsAtItsLineBreakEvenBeforeAParenthesis) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      {"#define N 10\n(void)x;\nN", "(void)x;\n10"},
      {"#define N foo\n(void)x;\nN", "(void)x;\nfoo"},
      {"#pragma once\n(void)x;", "(void)x;"},
      {"#line 5\n(void)x;", "(void)x;"},
      {"#if 0\n#else x\n(y)\n#endif", " x\n(y)\n"},
      // A continued line still belongs to the definition.
      {"#define N 10 \\\n  + 1\n(x)\nN", "(x)\n10+ 1"},
      // In a text line a call still goes on over lines, and a call inside a
      // definition on its own line still expands.
      {"#define f(a) [a]\nf\n(1)", "[1] "},
      {"#define f(a) [a]\n#define N f(2)\nN", "[2]"},
  };
  for (const auto& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
  EXPECT_EQ(ppError("#error e\n(x)\n"), " e");
}

TEST(ExpansionSpacing, NeverJoinsASlashWithAStarOrSlash) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      {"#define DIV(a,b) ((a) / b)\nDIV(x, *p)", "((x) / *p) "},
      {"#define D(a,b) a / b\nD(x, /y)", "x / /y "},
      {"#define D(a,b) a/b\nD(1, *q)", "1/ *q "},
      // Nothing to keep apart: the blank before a parameter still goes.
      {"#define D(a,b) a/b\nD(1, 2)", "1/2 "},
      {"#define DECL(t, n) t n\nDECL(int, x)", "intx "},
  };
  for (const auto& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
}

}  // namespace
}  // namespace orvo
