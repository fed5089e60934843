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

// Token ids the runtime and the grammar name directly.
namespace tok {
constexpr int Unrecognized = 0, Eof = 1, Eps = 2, Eol = 6, PdInclude = 7, Bseol = 8, Id = 9,
              Char = 10, String = 11, Float = 12, DecimalInt = 13, HexInt = 14, OctInt = 15,
              Unsigned = 16, NotOtherPpTokenChar = 17, Rparen = 18, Lparen = 19,
              PdDefine = 65, PdError = 66, PdEndif = 67, PdLine = 68, MacroCallBegin = 69,
              PdPragma = 70, PdUndef = 71, PdWarning = 72, Skip73 = 73, PdIfdef = 74,
              MacroDefBegin = 75, Comma = 76, Hash = 77, HashHash = 78, PdIfndef = 79, PdIf = 80,
              Skip81 = 81, PdElif = 82, PdElse = 83, Defined = 84, LineComment = 85,
              SlashStar = 86, Skip87 = 87, StarSlash = 88, Skip89 = 89;
}  // namespace tok

}  // namespace orvo
