// The kinds of constants in constant expressions, with the grammar position
// that follows each.
#pragma once

#include "grammar/GrammarPositions.h"
#include "scan/Symbol.h"

namespace orvo {

// The alternatives of `constant`: each token and the scanner after it.
struct ConstantToken {
  int id;
  int scannerIndex;
};
inline constexpr ConstantToken kConstantTokens[] = {
    {tok::Char, pos::constant_after_Char},
    {tok::Float, pos::constant_after_Float},
    {tok::DecimalInt, pos::constant_after_DecimalInt},
    {tok::HexInt, pos::constant_after_HexInt},
    {tok::OctInt, pos::constant_after_OctInt},
};

inline const ConstantToken* FindConstantToken(int id) {
  for (const ConstantToken& token : kConstantTokens)
    if (token.id == id) return &token;
  return nullptr;
}

}  // namespace orvo
