#include "app/ExampleCatalogue.h"

#include <array>
#include <string_view>

#include "orvo/DifferenceRules.h"

namespace orvo {
namespace {

// In catalogue order; the list item at index i shows record i. An input that
// ends with a blank keeps it.
constexpr std::array<ExampleRecord, 38> kExamples = {{
    {"Tokenization",
     "#define foo() bar\r\nfoo()baz",
     "bar baz",
     "Output tokens stay apart: a macro's value is not glued to the token after it"},
    {"object_like1",
     "#define BUFFER_SIZE 1024\r\nfoo = (char *) malloc (BUFFER_SIZE);",
     "foo = (char *) malloc(1024);",
     "An object-like macro names a constant: BUFFER_SIZE becomes 1024"},
    {"object_like2",
     "#define NUMBERS 1, \\\r\n                2, \\\r\n                3\r\nint x[] = { NUMBERS };",
     "int x[] = { 1,2,3 };",
     "A definition continued over several lines with backslashes"},
    {"object_like3",
     "foo = X;\r\n#define X 4\r\nbar = X;",
     "foo = X;\r\nbar = 4;",
     "A macro takes effect only after its definition"},
    {"object_like4",
     "#define TABLESIZE BUFSIZE\r\n#define BUFSIZE 1024\r\nTABLESIZE",
     "1024",
     "A value is expanded where the macro is used, not where it is defined"},
    {"object_like5",
     "#define BUFSIZE 1020\r\n#define TABLESIZE BUFSIZE\r\n#undef BUFSIZE\r\n#define BUFSIZE 37\r\nTABLESIZE",
     "\r\n37",
     "Redefining an inner macro changes what an outer one gives"},
    {"function_like1",
     "#define lang_init ()    c_init()\r\nlang_init()",
     "()    c_init()()",
     "A blank before ( makes an object-like macro whose value starts with ()"},
    {"function_like2",
     "#define lang_init()    c_init()\r\nlang_init()",
     "c_init()",
     "A function-like macro without parameters, called with ()"},
    {"function_like3",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nx = min(a, b);",
     "x = ((a) < (b) ? (a) : (b)) ;",
     "min(X, Y) called with two names"},
    {"function_like4",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\ny = min(1, 2);",
     "y = ((1) < (2) ? (1) : (2)) ;",
     "min(X, Y) called with two numbers"},
    {"function_like5",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nz = min(a + 28, *p);",
     "z = ((a + 28) < (*p) ? (a + 28) : (*p)) ;",
     "Arguments that are expressions are put in whole"},
    {"function_like6",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nx = min(, b)",
     "(() < (b) ? () : (b))",
     "An empty first argument"},
    {"function_like7",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(a, )",
     "((a) < () ? (a) : ()) ",
     "An empty second argument"},
    {"function_like8",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(,)",
     "(() < () ? () : ())",
     "Both arguments empty"},
    {"function_like9",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin((,),)",
     "(((,)) < () ? ((,)) : ())",
     "A comma inside parentheses does not separate arguments"},
    {"function_like10",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin()",
     "macro \"min\" requires 2 arguments, but only 1 given",
     "Too few arguments: a warning, and the call is expanded with the missing one empty"},
    {"function_like11",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nmin(,,)",
     "macro \"min\" passed 3 arguments, but takes just 2",
     "Too many arguments: a warning, and the call is expanded without the extra one"},
    {"function_like12",
     "#define foo2(x) x, \"x\"\r\nfoo2(bar)",
     "bar, \"x\"",
     "Parameters are not replaced inside string literals"},
    {"stringification1",
     "#define WARN_IF(EXP) \\\r\ndo { if (EXP) \\\r\n  fprintf (stderr, \"Warning: \" #EXP \"\\n\"); } \\\r\nwhile (0)\r\nWARN_IF (x == 0);",
     "do { if(x == 0)fprintf(stderr, \"Warning: \"\"x == 0\" \"\n\"); }while(0) ;",
     "# makes a string literal of an argument, in a macro over several lines"},
    // The input holds a bare line feed inside the string literal, as the
    // examples' source has it.
    {"stringification2",
     "#define STRINGIFY(EXP) #EXP\r\nSTRINGIFY (p = \"foo\n\";)",
     "\"p = \"foo\\n\";\"",
     "# escapes the quotes inside its argument; the line break in the string stays"},
    {"stringification3",
     "#define xstr(s) str(s)\r\n#define str(s) #s\r\n#define foo 4\r\nstr (foo)",
     "\"foo\"",
     "# takes the argument as written: str(foo) gives \"foo\""},
    {"stringification4",
     "#define xstr(s) str(s)\r\n#define str(s) #s\r\n#define foo 4\r\nxstr (foo)",
     "\"4\"",
     "A second macro level expands the argument first: xstr(foo) gives \"4\""},
    {"concatenation",
     "#define COMMAND(NAME)  { #NAME, NAME ## _command }\r\n\r\nstruct command commands[] =\r\n{\r\n  COMMAND (quit),\r\n  COMMAND (help),\r\n  ...\r\n}; ",
     "struct command commands[] =\r\n{\r\n  {\"quit\",quit_command } ,\r\n  {\"help\",help_command } ,\r\n  ...\r\n};",
     "## pastes a parameter to other text to make one name"},
    {"redefine",
     "#define FOO 4\r\n#define FOO 5\r\nx = FOO;",
     "x = 5;",
     "A second, different definition replaces the first, with a warning"},
    {"undefine",
     "#define FOO 4\r\n#undef FOO\r\nx = FOO;",
     "x = FOO;",
     "#undef removes a macro; the name then stays as it is"},
    {"misnesting1",
     "#define twice(x) (2*(x))\r\n#define call_with_1(x) x(1)\r\ncall_with_1 (twice)",
     "(2*(1))",
     "A macro name passed as an argument is called in the macro's value"},
    {"misnesting2",
     "#define strange(file) fprintf (file, \"%s %d\",\r\nstrange(stderr) p, 35)",
     "fprintf(stderr, \"%s %d\",  p, 35)",
     "A call's arguments may run on after the macro's value"},
    {"precedence_problem1",
     "#define ceil_div(x, y) (x + y - 1) / y\r\na = ceil_div (b & c, sizeof (int));",
     "a = (b & c + sizeof(int) - 1) / sizeof(int) ;",
     "Without parentheses the argument mixes with the macro's operators"},
    {"precedence_problem2",
     "#define ceil_div(x, y) ((x) + (y) - 1) / (y)\r\na = ceil_div (b & c, sizeof (int));",
     "a = ((b & c) + ( sizeof(int)) - 1) / ( sizeof(int)) ;",
     "Parentheses around each parameter keep the intended order"},
    {"sideeffect",
     "#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\nnext = min (x + y, foo (z));",
     "next = ((x + y) < ( foo(z)) ? (x + y) : ( foo(z))) ;",
     "An argument used twice is evaluated twice"},
    {"self_referential1",
     "#define foo (4 + foo)\r\nfoo",
     "(4 + foo)",
     "A macro does not expand inside its own value"},
    {"self_referential2",
     "#define EPERM EPERM\r\nEPERM",
     "EPERM",
     "A macro defined as its own name stays that name"},
    {"self_referential3",
     "#define x (4 + y)\r\n#define y (2 * x)\r\nx",
     "(4 + (2 * x))",
     "Self-reference through a second macro, starting with x"},
    {"self_referential4",
     "#define x (4 + y)\r\n#define y (2 * x)\r\ny",
     "(2 * (4 + y))",
     "Self-reference through a second macro, starting with y"},
    {"macro_macro1",
     "#define AFTERX(x) X_ ## x\r\n#define XAFTERX(x) AFTERX(x)\r\n#define TABLESIZE 1024\r\n#define BUFSIZE TABLESIZE\r\nAFTERX(BUFSIZE)",
     "X_BUFSIZE",
     "## uses the argument as written, before it is expanded"},
    {"macro_macro2",
     "#define AFTERX(x) X_ ## x\r\n#define XAFTERX(x) AFTERX(x)\r\n#define TABLESIZE 1024\r\n#define BUFSIZE TABLESIZE\r\nXAFTERX(BUFSIZE)",
     "X_1024",
     "A second macro level expands the argument before ##"},
    {"unshielded_comma1",
     "#define foo  a,b\r\n#define bar(x) lose(x)\r\n#define lose(x) (1 + (x))\r\nbar(foo)",
     "error",
     "A comma in an object-like value separates arguments: lose gets two, with a warning"},
    {"unshielded_comma2",
     "#define lose(x) (1 + (x))\r\n#define foo (a,b)\r\n#define bar(x) lose(x)\r\nbar(foo)",
     "(1 + ((a,b)))",
     "Parentheses shield the comma: (a,b) stays one argument"},
}};

// The files each difference example includes, by the rule's id. The
// subdirectory rule needs a header one folder below an include directory:
// this preprocessor finds it there, a standard C compiler does not.
struct RuleFiles {
  std::string_view ruleId;
  ExampleFile file;
};
const RuleFiles kRuleFiles[] = {
    {"recursive-include",
     {"sub/sys.h", "/* sub/sys.h, one folder below the include directory */\nint sys_found = 1;\n"}},
};

// Line ends of the input area.
std::string withCrLf(std::string_view text) {
  std::string converted;
  for (const char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return converted;
}

}  // namespace

std::size_t ExampleCatalogue::count() { return kExamples.size(); }

const ExampleRecord& ExampleCatalogue::record(std::size_t index) { return kExamples.at(index); }

std::vector<GroupExample> differenceExamples() {
  std::vector<GroupExample> examples;
  for (const compare::DifferenceRule& rule : compare::differenceRules()) {
    if (rule.example.empty()) continue;
    GroupExample example{std::string(rule.title), withCrLf(rule.example),
                         std::string(rule.summary)};
    for (const RuleFiles& files : kRuleFiles)
      if (files.ruleId == rule.id) example.includeFiles.push_back(files.file);
    examples.push_back(std::move(example));
  }
  return examples;
}

}  // namespace orvo
