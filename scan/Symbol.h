// Token kinds: one constant record per kind, looked up by id.
#pragma once

namespace orvo {

struct symbol {
  int id;
  bool literal;
  const char* name;
  const char* pattern;
  int submatches;
};

// Number of token kinds; GetSymbol also accepts kTokenCount (the terminating record).
constexpr int kTokenCount = 90;

// Record `id` of the token table, 0 <= id <= kTokenCount.
const symbol* GetSymbol(int id);

// The runtime's own end-of-input and empty-alternative records (ids 1 and 2,
// literal, empty pattern), distinct from table rows 1 and 2.
const symbol& EofSymbol();
const symbol& EpsSymbol();

// Every token kind by name, in token-table order: the table's rows name
// their ids with these, so the two cannot drift apart.
namespace tok {
enum Kind : int {
  Unrecognized = 0,
  Eof = 1,
  Eps = 2,
  ExitOk = 3,
  ExitErr = 4,
  Break = 5,
  Eol = 6,
  PdInclude = 7,
  Bseol = 8,
  Id = 9,
  Char = 10,
  String = 11,
  Float = 12,
  DecimalInt = 13,
  HexInt = 14,
  OctInt = 15,
  Unsigned = 16,
  NotOtherPpTokenChar = 17,
  Rparen = 18,
  Lparen = 19,
  Colon = 20,
  Question = 21,
  Arrow = 22,
  LBrace = 23,
  RBrace = 24,
  LBracket = 25,
  RBracket = 26,
  Star = 27,
  Eq = 28,
  Ne = 29,
  Le = 30,
  Lt = 31,
  Ge = 32,
  Gt = 33,
  Slash = 34,
  PlusPlus = 35,
  MinusMinus = 36,
  Percent = 37,
  Shr = 38,
  Shl = 39,
  AndAnd = 40,
  OrOr = 41,
  Amp = 42,
  Caret = 43,
  Dot = 44,
  ArrowStar = 45,
  DotStar = 46,
  ColonColon = 47,
  Pipe = 48,
  Plus = 49,
  Minus = 50,
  Tilde = 51,
  Assign = 52,
  StarAssign = 53,
  SlashAssign = 54,
  PercentAssign = 55,
  PlusAssign = 56,
  MinusAssign = 57,
  ShrAssign = 58,
  ShlAssign = 59,
  AmpAssign = 60,
  CaretAssign = 61,
  PipeAssign = 62,
  Bang = 63,
  Ellipsis = 64,
  PdDefine = 65,
  PdError = 66,
  PdEndif = 67,
  PdLine = 68,
  MacroCallBegin = 69,
  PdPragma = 70,
  PdUndef = 71,
  PdWarning = 72,
  Skip73 = 73,
  PdIfdef = 74,
  MacroDefBegin = 75,
  Comma = 76,
  Hash = 77,
  HashHash = 78,
  PdIfndef = 79,
  PdIf = 80,
  Skip81 = 81,
  PdElif = 82,
  PdElse = 83,
  Defined = 84,
  LineComment = 85,
  SlashStar = 86,
  Skip87 = 87,
  StarSlash = 88,
  Skip89 = 89,
};
}  // namespace tok

}  // namespace orvo
