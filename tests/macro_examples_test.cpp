// The 38 built-in examples run through the preprocessor, each with the
// output its macro rules give (not the catalogue's "expected result" text,
// which comes from another preprocessor's spacing).
#include <gtest/gtest.h>

#include <string>

#include "app/ExampleCatalogue.h"
#include "support/RunHelpers.h"

namespace orvo {
namespace {

struct ExampleOutput {
  const char* name;
  std::string output;
};

// In catalogue order.
const ExampleOutput kExampleOutputs[] = {
    {"Tokenization", "bar baz"},
    {"object_like1", "foo = (char *) malloc(1024);"},
    {"object_like2", "int x[] = { 1,2,3 };"},
    {"object_like3", "foo = X;\r\nbar = 4;"},
    {"object_like4", "1024"},
    {"object_like5", "\r\n37"},
    {"function_like1", "()    c_init()()"},
    {"function_like2", "c_init() "},
    {"function_like3", "x = ((a) < (b) ? (a) : (b)) ;"},
    {"function_like4", "y = ((1) < (2) ? (1) : (2)) ;"},
    {"function_like5", "z = ((a + 28) < (*p) ? (a + 28) : (*p)) ;"},
    {"function_like6", "x = (() < (b) ? () : (b)) "},
    {"function_like7", "((a) < () ? (a) : ()) "},
    {"function_like8", "(() < () ? () : ()) "},
    // The parenthesised comma belongs to the first argument.
    {"function_like9", "(((,)) < () ? ((,)) : ()) "},
    // A parameter without an argument contributes nothing.
    {"function_like10",
     "(() < () ? () : ())  // macro \"min\" requires 2 arguments, but only 1 given"},
    {"function_like11", "(() < () ? () : ())  // macro \"min\" passed 3 arguments, but takes just 2"},
    {"function_like12", "bar, \"x\" "},
    {"stringification1",
     "do { if(x == 0)fprintf(stderr, \"Warning: \"\"x == 0\" \"\\n\"); }while(0) ;"},
    // The argument spans two lines (a line feed inside the quotes): the
    // string keeps both, and the backslashes that stringizing put in front of
    // the quotes stay, since they end no line.
    {"stringification2", "\"p = \\\"foo\n\\\";\" "},
    {"stringification3", "\"foo\" "},
    {"stringification4", "\"4\"  "},
    {"concatenation",
     "\r\nstruct command commands[] =\r\n{\r\n  {\"quit\",quit_command } ,\r\n"
     "  {\"help\",help_command } ,\r\n  ...\r\n};"},
    {"redefine", "x = 5;"},
    {"undefine", "\r\nx = FOO;"},
    {"misnesting1", "(2*(1))  "},
    {"misnesting2", "fprintf(stderr, \"%s %d\",  p, 35)"},
    {"precedence_problem1", "a = (b & c + sizeof(int) - 1) / sizeof(int) ;"},
    {"precedence_problem2", "a = ((b & c) + ( sizeof(int)) - 1) / ( sizeof(int)) ;"},
    {"sideeffect", "next = ((x + y) < ( foo(z)) ? (x + y) : ( foo(z))) ;"},
    {"self_referential1", "(4 + foo)"},
    {"self_referential2", "EPERM"},
    {"self_referential3", "(4 + (2 * x))"},
    {"self_referential4", "(2 * (4 + y))"},
    {"macro_macro1", "X_BUFSIZE "},
    {"macro_macro2", "X_1024  "},
    {"unshielded_comma1", "(1 + (a))  // macro \"lose\" passed 2 arguments, but takes just 1 "},
    {"unshielded_comma2", "(1 + ((a,b)))  "},
};

TEST(MacroExamples, EveryCatalogueInputGivesItsOutput) {
  ASSERT_EQ(std::size(kExampleOutputs), ExampleCatalogue::count());
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    const ExampleOutput& example = kExampleOutputs[i];
    ASSERT_STREQ(ExampleCatalogue::name(i), example.name);
    EXPECT_EQ(test::pp(ExampleCatalogue::input(i)), example.output) << example.name;
  }
}

}  // namespace
}  // namespace orvo
