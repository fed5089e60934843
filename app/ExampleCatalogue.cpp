#include "app/ExampleCatalogue.h"

#include <array>

#include "orvo/DifferenceRules.h"

namespace orvo {
namespace {

// In catalogue order; the list item at index i shows record i. An input that
// ends with a blank keeps it.
constexpr std::array<ExampleRecord, 38> kExamples = {{
    {"Tokenization",
     "#define foo() bar\r\nfoo()baz",
     "bar baz"},
    {"object_like1",
     "#define BUFFER_SIZE 1024\r\nfoo = (char *) malloc (BUFFER_SIZE);",
     "foo = (char *) malloc(1024);"},
    {"object_like2",
     "#define NUMBERS 1, \\\r\n                2, \\\r\n                3\r\nint x[] = { NUMBERS };",
     "int x[] = { 1,2,3 };"},
    {"object_like3",
     "foo = X;\r\n#define X 4\r\nbar = X;",
     "foo = X;\r\nbar = 4;"},
    {"object_like4",
     "#define TABLESIZE BUFSIZE\r\n#define BUFSIZE 1024\r\nTABLESIZE",
     "1024"},
    {"object_like5",
     "#define BUFSIZE 1020\r\n#define TABLESIZE BUFSIZE\r\n#undef BUFSIZE\r\n#define BUFSIZE 37\r\nTABLESIZE",
     "\r\n37"},
    {"function_like1",
     "#define lang_init ()    c_init()\r\nlang_init()",
     "()    c_init()()"},
    {"function_like2",
     "#define lang_init()    c_init()\r\nlang_init()",
     "c_init()"},
    {"function_like3",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nx = min(a, b);",
     "x = ((a) < (b) ? (a) : (b)) ;"},
    {"function_like4",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\ny = min(1, 2);",
     "y = ((1) < (2) ? (1) : (2)) ;"},
    {"function_like5",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nz = min(a + 28, *p);",
     "z = ((a + 28) < (*p) ? (a + 28) : (*p)) ;"},
    {"function_like6",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nx = min(, b)",
     "(() < (b) ? () : (b))"},
    {"function_like7",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(a, )",
     "((a) < () ? (a) : ()) "},
    {"function_like8",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(,)",
     "(() < () ? () : ())"},
    {"function_like9",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin((,),)",
     "(((,)) < () ? ((,)) : ())"},
    {"function_like10",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin()",
     "macro \"min\" requires 2 arguments, but only 1 given"},
    {"function_like11",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(,,)",
     "macro \"min\" passed 3 arguments, but takes just 2"},
    {"function_like12",
     "#define foo2(x) x, \"x\"\r\nfoo2(bar)",
     "bar, \"x\""},
    {"stringification1",
     "#define WARN_IF(EXP) \\\r\ndo { if (EXP) \\\r\n  fprintf (stderr, \"Warning: \" #EXP \"\\n\"); } \\\r\nwhile (0)\r\nWARN_IF (x == 0);",
     "do { if(x == 0)fprintf(stderr, \"Warning: \"\"x == 0\" \"\n\"); }while(0) ;"},
    // The input holds a bare line feed inside the string literal, as the
    // examples' source has it.
    {"stringification2",
     "#define STRINGIFY(EXP) #EXP\r\nSTRINGIFY (p = \"foo\n\";)",
     "\"p = \"foo\\n\";\""},
    {"stringification3",
     "#define xstr(s) str(s)\r\n#define str(s) #s\r\n#define foo 4\r\nstr (foo)",
     "\"foo\""},
    {"stringification4",
     "#define xstr(s) str(s)\r\n#define str(s) #s\r\n#define foo 4\r\nxstr (foo)",
     "\"4\""},
    {"concatenation",
     "#define COMMAND(NAME)  { #NAME, NAME ## _command }\r\n\r\nstruct command commands[] =\r\n{\r\n  COMMAND (quit),\r\n  COMMAND (help),\r\n  ...\r\n}; ",
     "struct command commands[] =\r\n{\r\n  {\"quit\",quit_command } ,\r\n  {\"help\",help_command } ,\r\n  ...\r\n};"},
    {"redefine",
     "#define FOO 4\r\n#define FOO 5\r\nx = FOO;",
     "x = 5;"},
    {"undefine",
     "#define FOO 4\r\n#undef FOO\r\nx = FOO;",
     "x = FOO;"},
    {"misnesting1",
     "#define twice(x) (2*(x))\r\n#define call_with_1(x) x(1)\r\ncall_with_1 (twice)",
     "(2*(1))"},
    {"misnesting2",
     "#define strange(file) fprintf (file, \"%s %d\",\r\nstrange(stderr) p, 35)",
     "fprintf(stderr, \"%s %d\",  p, 35)"},
    {"precedence_problem1",
     "#define ceil_div(x, y) (x + y - 1) / y\r\na = ceil_div (b & c, sizeof (int));",
     "a = (b & c + sizeof(int) - 1) / sizeof(int) ;"},
    {"precedence_problem2",
     "#define ceil_div(x, y) ((x) + (y) - 1) / (y)\r\na = ceil_div (b & c, sizeof (int));",
     "a = ((b & c) + ( sizeof(int)) - 1) / ( sizeof(int)) ;"},
    {"sideeffect",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nnext = min (x + y, foo (z));",
     "next = ((x + y) < ( foo(z)) ? (x + y) : ( foo(z))) ;"},
    {"self_referential1",
     "#define foo (4 + foo)\r\nfoo",
     "(4 + foo)"},
    {"self_referential2",
     "#define EPERM EPERM\r\nEPERM",
     "EPERM"},
    {"self_referential3",
     "#define x (4 + y)\r\n#define y (2 * x)\r\nx",
     "(4 + (2 * x))"},
    {"self_referential4",
     "#define x (4 + y)\r\n#define y (2 * x)\r\ny",
     "(2 * (4 + y))"},
    {"macro_macro1",
     "#define AFTERX(x) X_ ## x\r\n#define XAFTERX(x) AFTERX(x)\r\n#define TABLESIZE 1024\r\n#define BUFSIZE TABLESIZE\r\nAFTERX(BUFSIZE)",
     "X_BUFSIZE"},
    {"macro_macro2",
     "#define AFTERX(x) X_ ## x\r\n#define XAFTERX(x) AFTERX(x)\r\n#define TABLESIZE 1024\r\n#define BUFSIZE TABLESIZE\r\nXAFTERX(BUFSIZE)",
     "X_1024"},
    {"unshielded_comma1",
     "#define foo  a,b\r\n#define bar(x) lose(x)\r\n#define lose(x) (1 + (x))\r\nbar(foo)",
     "error"},
    {"unshielded_comma2",
     "#define lose(x) (1 + (x))\r\n#define foo (a,b)\r\nbar(foo)",
     "(1 + ((a,b)))"},
}};

}  // namespace

std::size_t ExampleCatalogue::count() { return kExamples.size(); }

const ExampleRecord& ExampleCatalogue::record(std::size_t index) { return kExamples.at(index); }

std::vector<GroupExample> differenceExamples() {
  std::vector<GroupExample> examples;
  for (const compare::DifferenceRule& rule : compare::differenceRules()) {
    if (rule.example.empty()) continue;
    std::string input;
    for (const char c : rule.example) input += c == '\n' ? std::string("\r\n") : std::string(1, c);
    examples.push_back({std::string(rule.title), input, std::string(rule.summary)});
  }
  return examples;
}

}  // namespace orvo
