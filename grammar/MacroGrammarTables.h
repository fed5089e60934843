// Scanner indices that follow line breaks, the tokens of text lines and the
// single-token alternatives of the macro productions' choices, as the
// grammar gives them, and the token sets of those productions that the
// shared sets do not cover.
#pragma once

#include <span>

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

// Scanner that reads the token after the line break of an empty line.
inline constexpr int kLineBreakScanner = 151;

// Scanner that reads the token after an identifier in a text line.
inline constexpr int kTextLineIdScanner = 112;

// Literals, numbers and single characters of a text line (pp_tokens).
inline constexpr TokenScanner kTextLineTokens[] = {
    {tok::Char, 114},       {tok::String, 115}, {tok::Float, 278},
    {tok::DecimalInt, 192}, {tok::HexInt, 193}, {tok::OctInt, 194},
    {tok::Unsigned, 53},    {tok::NotOtherPpTokenChar, 54},
    {tok::Rparen, 55},      {tok::Lparen, 56},
};
inline constexpr int kTextLineOperatorScanner = 113;

// The same inside an object-like macro's replacement list, identifiers
// included.
inline constexpr TokenScanner kObjectLikeTokens[] = {
    {tok::Id, 232},         {tok::Char, 29},    {tok::String, 30},
    {tok::Float, 31},       {tok::DecimalInt, 32}, {tok::HexInt, 239},
    {tok::OctInt, 240},     {tok::Unsigned, 241}, {tok::NotOtherPpTokenChar, 242},
    {tok::Rparen, 234},     {tok::Lparen, 233},
};
inline constexpr int kObjectLikeOperatorScanner = 235;

// The same in a rescanned text (re_pp_tokens).
inline constexpr TokenScanner kRescanTokens[] = {
    {tok::Char, 288},       {tok::String, 289}, {tok::Float, 290},
    {tok::DecimalInt, 291}, {tok::HexInt, 292}, {tok::OctInt, 293},
    {tok::Unsigned, 294},   {tok::NotOtherPpTokenChar, 295},
    {tok::Rparen, 296},     {tok::Lparen, 297},
};
inline constexpr int kRescanOperatorScanner = 287;
inline constexpr int kRescanIdScanner = 286;

// Scanner that reads the token after each token of a macro argument.
inline constexpr int kArgumentTokenScanner = 226;

// What a run of plain tokens needs to know of the production it stands in
// for: the scanners after an identifier and after the other single tokens.
struct PlainRunGrammar {
  int idScanner;
  std::span<const TokenScanner> tokens;
};
inline constexpr PlainRunGrammar kTextLineRun{kTextLineIdScanner, kTextLineTokens};
inline constexpr PlainRunGrammar kRescanRun{kRescanIdScanner, kRescanTokens};

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
