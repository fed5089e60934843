#include "orvo/DifferenceRules.h"

#include <array>

namespace orvo::compare {
namespace {

constexpr std::array<DifferenceRule, 9> kRules = {{
    {"macro-value-in-if", "A macro counts 1 in #if",
     "V is 5, yet #if V > 3 takes the #else branch here",
     "In #if and #elif a macro the input defined counts 1, whatever its value, and an unknown "
     "name 0; ISO C replaces the macro by its value first, so V defined as 5 is 5 and DEBUG "
     "defined as 0 is 0.",
     "#define V 5\n#if V > 3\nbig\n#else\nsmall\n#endif\n"},
    {"suffix-in-if", "Integer suffixes in #if",
     "#if 10UL > 3 is false here, true in standard C",
     "A constant with a suffix (10UL, 199901L) is not read as a number in #if: a U or L "
     "suffix ends the run with \"bad lexical cast\" or counts as 0; ISO C reads the suffix as "
     "part of the constant.",
     "#if 10UL > 3\nyes\n#else\nno\n#endif\n"},
    {"function-call-in-if", "Function-like calls in #if",
     "TWICE(2) in #if is written out instead of expanded",
     "A call of a function-like macro in #if is not expanded there: its arguments are written "
     "to the output and the name counts as a macro; ISO C expands the call and uses the result.",
     "#define TWICE(x) ((x) * 2)\n#if TWICE(2) == 4\nfour\n#endif\n"},
    {"spacing", "Blanks around macro arguments",
     "DECL(int, x) gives intx and NEG(-1) gives --1 here",
     "Each token keeps the blanks written before it, but an argument loses its leading blanks "
     "and no blank is put between tokens that would read as one; ISO C keeps the tokens apart, "
     "so DECL(int, x) gives int x and NEG(-1) gives - -1.",
     "#define DECL(t, n) t n;\n#define NEG(x) -x\nDECL(int, x)\nNEG(-1)\n"},
    {"variadic", "No variadic macros",
     "LOG(\"%d\", 1) gives printf(__VA_ARGS__) and an argument-count warning here; C99 "
     "passes the arguments on",
     "A parameter list with ... is not taken as variadic: __VA_ARGS__ stays as written and a "
     "call with more arguments than named parameters is an argument-count mismatch (a warning; "
     "the warning is also written after the call as a // comment, which takes in the rest of "
     "the line); ISO C passes the extra arguments as __VA_ARGS__.",
     "#define LOG(...) printf(__VA_ARGS__)\nLOG(\"%d\", 1);\n"},
    {"predefined-values", "__LINE__, __FILE__, __DATE__ are 1",
     "__FILE__ and __LINE__ give 1 here, the real name and line in C",
     "__LINE__, __FILE__, __DATE__ and __TIME__ are fixed at 1; ISO C gives the current line, "
     "the file's name as a string, the date and the time.",
     "const char *file = __FILE__;\nint line = __LINE__;\n"},
    {"own-predefined", "Predefined names of its own",
     "_Windows is predefined here and __STDC__ is not",
     "Fifteen names such as __BORLANDC__, _Windows and __cplusplus are predefined with fixed "
     "values, and __STDC__ and __STDC_VERSION__ are not; a C compiler defines __STDC__ and "
     "__STDC_VERSION__ and none of the others.",
     "#ifdef _Windows\nwindows\n#endif\n#ifdef __STDC__\nstandard\n#endif\n"},
    {"recursive-include", "Includes found in subdirectories",
     "<sys.h> is found in a subdirectory of an include directory",
     "An include directory is searched with all its subdirectories, and angled names also "
     "beside the input; ISO C compilers look in each directory itself only, so <sys.h> in "
     "inc/sub/ is not found with -I inc.",
     "#include <sys.h>\n"},
    {"other", "Other differences",
     "",
     "A difference that none of the rules above explains; the message gives both results.",
     ""},
}};

}  // namespace

std::span<const DifferenceRule> differenceRules() { return kRules; }

const DifferenceRule* findRule(std::string_view id) {
  for (const DifferenceRule& rule : kRules)
    if (rule.id == id) return &rule;
  return nullptr;
}

}  // namespace orvo::compare
