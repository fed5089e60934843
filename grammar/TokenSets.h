// The look-ahead sets the grammar's decisions test against.
#pragma once

#include "scan/Scanner.h"
#include "scan/Symbol.h"

namespace orvo::sets {

// Builds a set from inclusive id ranges.
inline CVL_TokenSet range(int first, int last) {
  CVL_TokenSet set;
  for (int id = first; id <= last; ++id) set.insert(id);
  return set;
}
inline CVL_TokenSet operator|(CVL_TokenSet a, const CVL_TokenSet& b) {
  b.forEach([&](int id) { a.insert(id); });
  return a;
}
inline CVL_TokenSet one(int id) { return range(id, id); }

// BSEOL, ID, literals and numbers, ")", "(", the operators, MACRO_CALL_BEGIN.
inline const CVL_TokenSet& textStart() {
  static const CVL_TokenSet set = range(8, 64) | one(tok::MacroCallBegin);
  return set;
}
// The literal tokens from ":" to "...".
inline const CVL_TokenSet& operators() {
  static const CVL_TokenSet set = range(20, 64);
  return set;
}
// ID through NOT_OTHER_PP_TOKEN_CHAR, and the operators.
inline const CVL_TokenSet& macroToken() {
  static const CVL_TokenSet set = range(9, 17) | range(20, 64);
  return set;
}
// EOL, PD_INCLUDE, the text-start set and the directives that start a group.
inline const CVL_TokenSet& groupStart() {
  static const CVL_TokenSet set = range(6, 66) | range(68, 72) | one(tok::PdIfdef) |
                                  one(tok::PdIfndef) | one(tok::PdIf);
  return set;
}
// What may stand in an excluded group.
inline const CVL_TokenSet& skippedGroup() {
  static const CVL_TokenSet set =
      one(tok::PdIfdef) | one(tok::PdIfndef) | one(tok::PdIf) | one(tok::Skip81);
  return set;
}

}  // namespace orvo::sets
