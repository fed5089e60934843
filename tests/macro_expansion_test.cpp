// Macro calls, rescanning, # and ##, and the spacing of text lines, through
// the whole preprocessing run. The catalogue examples (macro_examples_test)
// cover the classic cases; these are the ones they leave out.
#include <gtest/gtest.h>

#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::crlf;
using test::pp;

struct Case {
  std::string input;
  std::string output;
};

void ExpectOutputs(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
}

TEST(MacroExpansion, TextLinesKeepTheirSpacing) {
  ExpectOutputs({
      // A backslash-newline joins the tokens on both sides.
      {crlf({"a \\", "   b"}), "ab"},
      {crlf({"int \\", " x;"}), "intx;"},
      // A name that is no function-like macro keeps its "(" but not the
      // blanks before it.
      {"malloc (n)", "malloc(n)"},
      {crlf({"#define F f", "F (1)"}), "f(1)"},
      {crlf({"#define strange(file) fprintf (file, \"%s %d\",", "strange(stderr) p, 35)"}),
       "fprintf(stderr, \"%s %d\",  p, 35)"},
  });
}

TEST(MacroExpansion, CallsCollectAndCountTheirArguments) {
  ExpectOutputs({
      // A macro without parameters takes one argument, empty or not.
      {crlf({"#define foo() bar", "foo() foo(x)"}), "bar  bar "},
      {crlf({"#define foo() bar", "foo(x, y)"}),
       "bar  // macro \"foo\" passed 2 arguments, but takes just 0"},
      // The same name is a call before "(" and an object-like macro elsewhere.
      {crlf({"#define f(x) x", "#define f 1", "f(2) f"}), "2  1"},
      // An undef leaves a function-like macro defined.
      {crlf({"#define f(x) [x]", "#undef f", "f(1)"}), "\r\n[1] "},
      // The line break inside the argument list stays in the argument.
      {crlf({"#define f(x) [x]", "f(a", "  b) c"}), "[a\n  b]  c"},
      {crlf({"#define f(x, y) x+y", "f(", "a,", "b)"}), "\na+\nb "},
  });
}

TEST(MacroExpansion, AnUnclosedCallEndsTheRun) {
  EXPECT_EQ(test::ppError(crlf({"#define f(x) x", "f(a"})), "EOF found; ) expected");
  EXPECT_EQ(test::ppError(crlf({"#define f(x) x", "f((a), b", ""})), "EOF found; ) expected");
  EXPECT_EQ(test::ppError(crlf({"#define f(x) x", "f((a, b)"})), "EOF found; ) expected");
}

TEST(MacroExpansion, RescanningExpandsEachMacroOncePerRescan) {
  ExpectOutputs({
      {crlf({"#define B 1", "#define A B B", "A", "B B"}), "1 B\r\n1 1"},
      {crlf({"#define DECL(type, name) type name", "DECL(int, x)"}), "intx "},
      // A busy call is copied through and expanded by the outer call's final
      // pass, once that macro is idle again.
      {crlf({"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))", "min(min(a,b),c)"}),
       "((((a) < (b) ? (a) : (b)) ) < (c) ? (((a) < (b) ? (a) : (b)) ) : (c)) "},
      {crlf({"#define f(x) <x>", "f(f(1))"}), "<<1> > "},
      // Text the rescan cannot parse ("#" from an argument) is kept.
      {crlf({"#define id(x) x", "id(a # b) c"}), "a# b  c"},
      // A parameter that the call leaves without an argument expands to nothing.
      {crlf({"#define p(a, b) [a|b]", "p(1)"}),
       "[1|]  // macro \"p\" requires 2 arguments, but only 1 given"},
  });
}

TEST(MacroExpansion, StringizingAndPasting) {
  ExpectOutputs({
      {crlf({"#define STRINGIFY(EXP) #EXP", "STRINGIFY (p = \"foo\\n\";)"}),
       "\"p = \\\"foo\\\\n\\\";\" "},
      {crlf({"#define CAT(a, b) a ## b", "#define xy 1", "CAT(x, y)"}), "1 "},
      // The literal 1 is pasted, though "1" is also the second argument's key.
      {crlf({"#define g(a, b) a ## 1", "g(x, y)"}), "x1 "},
      {crlf({"#define q(x) #", "q(1)"}), "\"\" "},
      // # before something that is no parameter stringizes that text.
      {crlf({"#define s(x) #y x", "s(1)"}), "\"y\"1 "},
      {crlf({"#define AFTERX(x) X_ ## x", "#define BUFSIZE TABLESIZE", "AFTERX(BUFSIZE)"}),
       "X_BUFSIZE "},
  });
  EXPECT_EQ(test::ppError(crlf({"#define bad(x) ## x", "bad(1)"})), "macro may not begin with ##");
  // Defining such a macro is no error; only calling it is.
  EXPECT_EQ(pp(crlf({"#define bad(x) ## x", "ok"})), "ok");
}

}  // namespace
}  // namespace orvo
