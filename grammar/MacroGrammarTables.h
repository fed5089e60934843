// Scanner indices that follow line breaks, the tokens of text lines and the
// single-token alternatives of the macro productions' choices, as the
// grammar gives them, and the token sets of those productions that the
// shared sets do not cover.
#pragma once

#include <span>

#include "grammar/GrammarPositions.h"
#include "grammar/TokenSets.h"
#include "scan/Symbol.h"

namespace orvo {

struct TokenScanner {
  int token;
  int scanner;  // scanner that reads the token after this one
};

// Scanner after `token` in `table`, or -1 when the table has no such token.
inline int ScannerAfter(std::span<const TokenScanner> table, int token) {
  for (const TokenScanner& entry : table)
    if (entry.token == token) return entry.scanner;
  return -1;
}

// Literals, numbers and single characters of a text line (pp_tokens).
inline constexpr TokenScanner kTextLineTokens[] = {
    {tok::Char, pos::pp_tokens_after_Char},
    {tok::String, pos::pp_tokens_after_String},
    {tok::Float, pos::pp_tokens_after_Float},
    {tok::DecimalInt, pos::pp_tokens_after_DecimalInt},
    {tok::HexInt, pos::pp_tokens_after_HexInt},
    {tok::OctInt, pos::pp_tokens_after_OctInt},
    {tok::Unsigned, pos::pp_tokens_after_Unsigned},
    {tok::NotOtherPpTokenChar, pos::pp_tokens_after_NotOtherPpTokenChar},
    {tok::Rparen, pos::pp_tokens_after_Rparen},
    {tok::Lparen, pos::pp_tokens_after_Lparen},
};

// The same inside an object-like macro's replacement list, identifiers
// included.
inline constexpr TokenScanner kObjectLikeTokens[] = {
    {tok::Id, pos::object_like_macro_after_Id},
    {tok::Char, pos::object_like_macro_after_Char},
    {tok::String, pos::object_like_macro_after_String},
    {tok::Float, pos::object_like_macro_after_Float},
    {tok::DecimalInt, pos::object_like_macro_after_DecimalInt},
    {tok::HexInt, pos::object_like_macro_after_HexInt},
    {tok::OctInt, pos::object_like_macro_after_OctInt},
    {tok::Unsigned, pos::object_like_macro_after_Unsigned},
    {tok::NotOtherPpTokenChar, pos::object_like_macro_after_NotOtherPpTokenChar},
    {tok::Rparen, pos::object_like_macro_after_Rparen},
    {tok::Lparen, pos::object_like_macro_after_Lparen},
};

// The same in a rescanned text (re_pp_tokens).
inline constexpr TokenScanner kRescanTokens[] = {
    {tok::Char, pos::re_pp_tokens_after_Char},
    {tok::String, pos::re_pp_tokens_after_String},
    {tok::Float, pos::re_pp_tokens_after_Float},
    {tok::DecimalInt, pos::re_pp_tokens_after_DecimalInt},
    {tok::HexInt, pos::re_pp_tokens_after_HexInt},
    {tok::OctInt, pos::re_pp_tokens_after_OctInt},
    {tok::Unsigned, pos::re_pp_tokens_after_Unsigned},
    {tok::NotOtherPpTokenChar, pos::re_pp_tokens_after_NotOtherPpTokenChar},
    {tok::Rparen, pos::re_pp_tokens_after_Rparen},
    {tok::Lparen, pos::re_pp_tokens_after_Lparen},
};

// What a run of plain tokens needs to know of the production it stands in
// for: the scanners after an identifier and after the other single tokens.
struct PlainRunGrammar {
  int idScanner;
  std::span<const TokenScanner> tokens;
};
inline constexpr PlainRunGrammar kTextLineRun{pos::pp_tokens_after_Id, kTextLineTokens};
inline constexpr PlainRunGrammar kRescanRun{pos::re_pp_tokens_after_Id, kRescanTokens};

namespace sets {

// Ids 9 to 64: an identifier, a literal, a number, a single character, a
// parenthesis or an operator.
inline const CVL_TokenSet& idThroughOperators() {
  static const CVL_TokenSet set = range(tok::Id, 64);
  return set;
}
// Ids 10 to 64: the same without identifiers.
inline const CVL_TokenSet& literalsThroughOperators() {
  static const CVL_TokenSet set = range(tok::Char, 64);
  return set;
}
// What an argument may hold: line breaks, "#" and "##" included, ")" and ","
// not.
inline const CVL_TokenSet& argumentTokens() {
  static const CVL_TokenSet set = one(tok::Eol) | range(tok::Bseol, tok::NotOtherPpTokenChar) |
                                  range(tok::Lparen, 64) | one(tok::MacroCallBegin) |
                                  one(tok::Hash) | one(tok::HashHash);
  return set;
}
// What a function-like macro's replacement list may hold.
inline const CVL_TokenSet& replacementTokens() {
  static const CVL_TokenSet set = range(tok::Bseol, 64) | one(tok::Hash) | one(tok::HashHash);
  return set;
}
// What a rescan over several lines takes: a line break or the first token of
// a line.
inline const CVL_TokenSet& rescanLineStart() {
  static const CVL_TokenSet set = one(tok::Eol) | textStart();
  return set;
}

}  // namespace sets
}  // namespace orvo
