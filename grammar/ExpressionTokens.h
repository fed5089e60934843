// The tokens of constant expressions: the operators the productions match
// and the kinds of constants, with the scanner that follows each.
#pragma once

#include "scan/Symbol.h"

namespace orvo {

// Operator tokens of the token table that expressions use.
namespace op {
constexpr int Colon = 20, Question = 21, Star = 27, Eq = 28, Ne = 29, Le = 30, Lt = 31, Ge = 32,
              Gt = 33, Slash = 34, Percent = 37, Shr = 38, Shl = 39, AndAnd = 40, OrOr = 41,
              Amp = 42, Caret = 43, Pipe = 48, Plus = 49, Minus = 50, Tilde = 51, Bang = 63;
}  // namespace op

// The scanners #if and #elif lines pass on entering their condition.
constexpr int kIfConditionScanner = 107;
constexpr int kElifConditionScanner = 247;

// The alternatives of `constant`: each token and the scanner after it.
struct ConstantToken {
  int id;
  int scannerIndex;
};
inline constexpr ConstantToken kConstantTokens[] = {
    {tok::Char, 48}, {tok::Float, 52}, {tok::DecimalInt, 49}, {tok::HexInt, 50}, {tok::OctInt, 51}};

inline const ConstantToken* FindConstantToken(int id) {
  for (const ConstantToken& token : kConstantTokens)
    if (token.id == id) return &token;
  return nullptr;
}

}  // namespace orvo
