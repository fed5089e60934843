// The preprocessor's token kinds, one constant record per kind. The table is
// constant-initialised, so it exists before any parser and never changes.
#include "scan/Symbol.h"

namespace orvo {
namespace {

// Patterns are raw strings: every backslash is one character of the pattern.
constexpr symbol kTokenTable[kTokenCount + 1] = {
    {0, false, "unrecognized", "", 0},
    {1, false, "EOF", R"re(\z)re", 1},
    {2, false, "EPS", "", 1},
    {3, false, "EXIT_OK", "", 1},
    {4, false, "EXIT_ERR", "", 1},
    {5, false, "BREAK", "", 1},
    {6, false, "EOL", R"re(\r?\n)re", 1},
    {7, false, "PD_INCLUDE", R"re(#\s*include\s*("([^"]+)"|<([^>]+)>))re", 4},
    {8, false, "BSEOL", R"re(\\\s*)re", 1},
    {9, false, "ID", R"re(\w+)re", 1},
    {10, false, "CHAR",
     R"re(L?'(\\([abfnrtv"'\\?]|[0-7]([0-7][0-7]?)?|x[[:xdigit:]]+)|[^'])')re", 4},
    {11, false, "STRING", R"re(L?"([^"\\\r\n]*(\\.[^"\\\r\n]*)*)")re", 3},
    {12, false, "FLOAT",
     R"re(\d+\.\d*[eE][+-]?\d+[fFdD]?|\.\d+[eE][+-]?\d+[fFdD]?|\d+[eE][+-]?\d+[fFdD]?|\d+[fFdD])re",
     1},
    {13, false, "DECIMALINT", R"re(\d+[fFlL]*)re", 1},
    {14, false, "HEXADECIMALINT", R"re(0[xX][[:xdigit:]]+(u|ul|U|UL|l|L)?)re", 2},
    {15, false, "OCTADECIMALLINT", R"re(0[0-7]+(u|ul|U|UL|l|L)?)re", 2},
    {16, false, "UNSIGNED", R"re((\d+)[uU]*)re", 2},
    {17, false, "NOT_OTHER_PP_TOKEN_CHAR", R"re([^ \\\r\n\t\)|&%?:#])re", 1},
    {18, true, ")", ")", 1},
    {19, true, "(", "(", 1},
    {20, true, ":", ":", 1},
    {21, true, "?", "?", 1},
    {22, true, "->", "->", 1},
    {23, true, "{", "{", 1},
    {24, true, "}", "}", 1},
    {25, true, "[", "[", 1},
    {26, true, "]", "]", 1},
    {27, true, "*", "*", 1},
    {28, true, "==", "==", 1},
    {29, true, "!=", "!=", 1},
    {30, true, "<=", "<=", 1},
    {31, true, "<", "<", 1},
    {32, true, ">=", ">=", 1},
    {33, true, ">", ">", 1},
    {34, true, "/", "/", 1},
    {35, true, "++", "++", 1},
    {36, true, "--", "--", 1},
    {37, true, "%", "%", 1},
    {38, true, ">>", ">>", 1},
    {39, true, "<<", "<<", 1},
    {40, true, "&&", "&&", 1},
    {41, true, "||", "||", 1},
    {42, true, "&", "&", 1},
    {43, true, "^", "^", 1},
    {44, true, ".", ".", 1},
    {45, true, "->*", "->*", 1},
    {46, true, ".*", ".*", 1},
    {47, true, "::", "::", 1},
    {48, true, "|", "|", 1},
    {49, true, "+", "+", 1},
    {50, true, "-", "-", 1},
    {51, true, "~", "~", 1},
    {52, true, "=", "=", 1},
    {53, true, "*=", "*=", 1},
    {54, true, "/=", "/=", 1},
    {55, true, "%=", "%=", 1},
    {56, true, "+=", "+=", 1},
    {57, true, "-=", "-=", 1},
    {58, true, ">>=", ">>=", 1},
    {59, true, "<<=", "<<=", 1},
    {60, true, "&=", "&=", 1},
    {61, true, "^=", "^=", 1},
    {62, true, "|=", "|=", 1},
    {63, true, "!", "!", 1},
    {64, true, "...", "...", 1},
    {65, false, "PD_DEFINE", R"re(#\s*define)re", 1},
    {66, false, "PD_ERROR", R"re(#\s*error)re", 1},
    {67, false, "PD_ENDIF", R"re(#\s*endif)re", 1},
    {68, false, "PD_LINE", R"re(#\s*line)re", 1},
    {69, false, "MACRO_CALL_BEGIN", R"re((\w+)\s*\()re", 2},
    {70, false, "PD_PRAGMA", R"re(#\s*pragma)re", 1},
    {71, false, "PD_UNDEF", R"re(#\s*undef)re", 1},
    {72, false, "PD_WARNING", R"re(#\s*warning)re", 1},
    {73, false, "SKIP73", "", 1},
    {74, false, "PD_IFDEF", R"re(#\s*ifdef\s+)re", 1},
    {75, false, "MACRO_DEF_BEGIN", R"re((\w+)\()re", 2},
    {76, true, ",", ",", 1},
    {77, true, "#", "#", 1},
    {78, true, "##", "##", 1},
    {79, false, "PD_IFNDEF", R"re(#\s*ifndef)re", 1},
    {80, false, "PD_IF", R"re(#\s*if)re", 1},
    {81, false, "SKIP81", "", 1},
    {82, false, "PD_ELIF", R"re(#\s*elif)re", 1},
    {83, false, "PD_ELSE", R"re(#\s*else)re", 1},
    {84, true, "defined", "defined", 1},
    {85, false, "LINE_COMMENT", R"re(//[^\r\n]*$)re", 1},
    {86, true, "/*", "/*", 1},
    {87, false, "SKIP87", "", 1},
    {88, true, "*/", "*/", 1},
    {89, false, "SKIP89", "", 1},
    {90, false, "", "", 0},
};

constexpr symbol kEof = {tok::Eof, true, "EOF", "", 1};
constexpr symbol kEps = {tok::Eps, true, "EPS", "", 1};

}  // namespace

const symbol* GetSymbol(int id) { return &kTokenTable[id]; }

const symbol& EofSymbol() { return kEof; }

const symbol& EpsSymbol() { return kEps; }

}  // namespace orvo
