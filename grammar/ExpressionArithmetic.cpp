#include "grammar/ExpressionArithmetic.h"

#include <climits>
#include <cstdint>

#include "base/Message.h"

namespace orvo::arith {
namespace {

static_assert(sizeof(int) == 4, "constant expressions are evaluated on 32 bits");

// Unsigned arithmetic wraps modulo 2^32; converting back is modular too.
std::uint32_t Bits(int v) { return static_cast<std::uint32_t>(v); }
int Value(std::uint32_t bits) { return static_cast<int>(bits); }

constexpr int kShiftCountMask = 31;

void CheckDivisor(int b) {
  if (b == 0) throw CVL_Message("division by 0");
}

}  // namespace

int Add(int a, int b) { return Value(Bits(a) + Bits(b)); }
int Subtract(int a, int b) { return Value(Bits(a) - Bits(b)); }
int Multiply(int a, int b) { return Value(Bits(a) * Bits(b)); }
int Negate(int a) { return Value(0u - Bits(a)); }
int ShiftLeft(int a, int count) { return Value(Bits(a) << (count & kShiftCountMask)); }
int ShiftRight(int a, int count) { return a >> (count & kShiftCountMask); }

int Divide(int a, int b) {
  CheckDivisor(b);
  // The true quotient 2147483648 does not fit: wrap it like the other operators.
  if (a == INT_MIN && b == -1) return INT_MIN;
  return a / b;
}

int Remainder(int a, int b) {
  CheckDivisor(b);
  // Every integer divides by -1 without remainder; INT_MIN % -1 would trap.
  if (b == -1) return 0;
  return a % b;
}

}  // namespace orvo::arith
