// The preprocessor's token kinds, one constant record per kind. The table is
// constant-initialised, so it exists before any parser and never changes.
#include "scan/Symbol.h"

namespace orvo {
namespace {

// Patterns are raw strings: every backslash is one character of the pattern.
constexpr symbol kTokenTable[kTokenCount + 1] = {
    {tok::Unrecognized, false, "unrecognized", "", 0},
    {tok::Eof, false, "EOF", R"re(\z)re", 1},
    {tok::Eps, false, "EPS", "", 1},
    {tok::ExitOk, false, "EXIT_OK", "", 1},
    {tok::ExitErr, false, "EXIT_ERR", "", 1},
    {tok::Break, false, "BREAK", "", 1},
    {tok::Eol, false, "EOL", R"re(\r?\n)re", 1},
    {tok::PdInclude, false, "PD_INCLUDE", R"re(#\s*include\s*("([^"]+)"|<([^>]+)>))re", 4},
    {tok::Bseol, false, "BSEOL", R"re(\\\s*)re", 1},
    {tok::Id, false, "ID", R"re(\w+)re", 1},
    {tok::Char, false, "CHAR",
     R"re(L?'(\\([abfnrtv"'\\?]|[0-7]([0-7][0-7]?)?|x[[:xdigit:]]+)|[^'])')re", 4},
    {tok::String, false, "STRING", R"re(L?"([^"\\\r\n]*(\\.[^"\\\r\n]*)*)")re", 3},
    {tok::Float, false, "FLOAT",
     R"re(\d+\.\d*[eE][+-]?\d+[fFdD]?|\.\d+[eE][+-]?\d+[fFdD]?|\d+[eE][+-]?\d+[fFdD]?|\d+[fFdD])re",
     1},
    {tok::DecimalInt, false, "DECIMALINT", R"re(\d+[fFlL]*)re", 1},
    {tok::HexInt, false, "HEXADECIMALINT", R"re(0[xX][[:xdigit:]]+(u|ul|U|UL|l|L)?)re", 2},
    {tok::OctInt, false, "OCTADECIMALLINT", R"re(0[0-7]+(u|ul|U|UL|l|L)?)re", 2},
    {tok::Unsigned, false, "UNSIGNED", R"re((\d+)[uU]*)re", 2},
    {tok::NotOtherPpTokenChar, false, "NOT_OTHER_PP_TOKEN_CHAR", R"re([^ \\\r\n\t\)|&%?:#])re", 1},
    {tok::Rparen, true, ")", ")", 1},
    {tok::Lparen, true, "(", "(", 1},
    {tok::Colon, true, ":", ":", 1},
    {tok::Question, true, "?", "?", 1},
    {tok::Arrow, true, "->", "->", 1},
    {tok::LBrace, true, "{", "{", 1},
    {tok::RBrace, true, "}", "}", 1},
    {tok::LBracket, true, "[", "[", 1},
    {tok::RBracket, true, "]", "]", 1},
    {tok::Star, true, "*", "*", 1},
    {tok::Eq, true, "==", "==", 1},
    {tok::Ne, true, "!=", "!=", 1},
    {tok::Le, true, "<=", "<=", 1},
    {tok::Lt, true, "<", "<", 1},
    {tok::Ge, true, ">=", ">=", 1},
    {tok::Gt, true, ">", ">", 1},
    {tok::Slash, true, "/", "/", 1},
    {tok::PlusPlus, true, "++", "++", 1},
    {tok::MinusMinus, true, "--", "--", 1},
    {tok::Percent, true, "%", "%", 1},
    {tok::Shr, true, ">>", ">>", 1},
    {tok::Shl, true, "<<", "<<", 1},
    {tok::AndAnd, true, "&&", "&&", 1},
    {tok::OrOr, true, "||", "||", 1},
    {tok::Amp, true, "&", "&", 1},
    {tok::Caret, true, "^", "^", 1},
    {tok::Dot, true, ".", ".", 1},
    {tok::ArrowStar, true, "->*", "->*", 1},
    {tok::DotStar, true, ".*", ".*", 1},
    {tok::ColonColon, true, "::", "::", 1},
    {tok::Pipe, true, "|", "|", 1},
    {tok::Plus, true, "+", "+", 1},
    {tok::Minus, true, "-", "-", 1},
    {tok::Tilde, true, "~", "~", 1},
    {tok::Assign, true, "=", "=", 1},
    {tok::StarAssign, true, "*=", "*=", 1},
    {tok::SlashAssign, true, "/=", "/=", 1},
    {tok::PercentAssign, true, "%=", "%=", 1},
    {tok::PlusAssign, true, "+=", "+=", 1},
    {tok::MinusAssign, true, "-=", "-=", 1},
    {tok::ShrAssign, true, ">>=", ">>=", 1},
    {tok::ShlAssign, true, "<<=", "<<=", 1},
    {tok::AmpAssign, true, "&=", "&=", 1},
    {tok::CaretAssign, true, "^=", "^=", 1},
    {tok::PipeAssign, true, "|=", "|=", 1},
    {tok::Bang, true, "!", "!", 1},
    {tok::Ellipsis, true, "...", "...", 1},
    {tok::PdDefine, false, "PD_DEFINE", R"re(#\s*define)re", 1},
    {tok::PdError, false, "PD_ERROR", R"re(#\s*error)re", 1},
    {tok::PdEndif, false, "PD_ENDIF", R"re(#\s*endif)re", 1},
    {tok::PdLine, false, "PD_LINE", R"re(#\s*line)re", 1},
    {tok::MacroCallBegin, false, "MACRO_CALL_BEGIN", R"re((\w+)\s*\()re", 2},
    {tok::PdPragma, false, "PD_PRAGMA", R"re(#\s*pragma)re", 1},
    {tok::PdUndef, false, "PD_UNDEF", R"re(#\s*undef)re", 1},
    {tok::PdWarning, false, "PD_WARNING", R"re(#\s*warning)re", 1},
    {tok::Skip73, false, "SKIP73", "", 1},
    {tok::PdIfdef, false, "PD_IFDEF", R"re(#\s*ifdef\s+)re", 1},
    {tok::MacroDefBegin, false, "MACRO_DEF_BEGIN", R"re((\w+)\()re", 2},
    {tok::Comma, true, ",", ",", 1},
    {tok::Hash, true, "#", "#", 1},
    {tok::HashHash, true, "##", "##", 1},
    {tok::PdIfndef, false, "PD_IFNDEF", R"re(#\s*ifndef)re", 1},
    {tok::PdIf, false, "PD_IF", R"re(#\s*if)re", 1},
    {tok::Skip81, false, "SKIP81", "", 1},
    {tok::PdElif, false, "PD_ELIF", R"re(#\s*elif)re", 1},
    {tok::PdElse, false, "PD_ELSE", R"re(#\s*else)re", 1},
    {tok::Defined, true, "defined", "defined", 1},
    {tok::LineComment, false, "LINE_COMMENT", R"re(//[^\r\n]*$)re", 1},
    {tok::SlashStar, true, "/*", "/*", 1},
    {tok::Skip87, false, "SKIP87", "", 1},
    {tok::StarSlash, true, "*/", "*/", 1},
    {tok::Skip89, false, "SKIP89", "", 1},
    {kTokenCount, false, "", "", 0},
};

// Row i is token kind i: lookups index the table by id.
constexpr bool RowsInIdOrder() {
  for (int id = 0; id <= kTokenCount; ++id)
    if (kTokenTable[id].id != id) return false;
  return true;
}
static_assert(RowsInIdOrder(), "a token-table row is out of id order");

constexpr symbol kEof = {tok::Eof, true, "EOF", "", 1};
constexpr symbol kEps = {tok::Eps, true, "EPS", "", 1};

}  // namespace

const symbol* GetSymbol(int id) { return &kTokenTable[id]; }

const symbol& EofSymbol() { return kEof; }

const symbol& EpsSymbol() { return kEps; }

}  // namespace orvo
