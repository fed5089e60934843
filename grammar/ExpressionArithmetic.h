// 32-bit two's-complement arithmetic for constant expressions. Every
// operation has a defined result for every pair of operands: sums, products,
// negations and left shifts wrap around, shift counts use their low five
// bits, and the one quotient that does not fit (-2147483648 / -1) wraps too.
#pragma once

namespace orvo::arith {

// The value of a comparison or a logical operator: 1 or 0.
inline int Truth(bool b) { return b ? 1 : 0; }

int Add(int a, int b);
int Subtract(int a, int b);
int Multiply(int a, int b);
int Negate(int a);
int ShiftLeft(int a, int count);
// Arithmetic shift: the sign bit is copied in.
int ShiftRight(int a, int count);
// Truncates toward zero. Throws CVL_Message "division by 0" when b is 0.
int Divide(int a, int b);
// Has the sign of a. Throws CVL_Message "division by 0" when b is 0.
int Remainder(int a, int b);

}  // namespace orvo::arith
