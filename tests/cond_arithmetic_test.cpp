#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "grammar/ExpressionArithmetic.h"
#include "base/Message.h"

namespace orvo::arith {
namespace {

TEST(ExpressionArithmetic, WrapsAroundOn32Bits) {
  EXPECT_EQ(Add(INT_MAX, 1), INT_MIN);
  EXPECT_EQ(Subtract(INT_MIN, 1), INT_MAX);
  EXPECT_EQ(Multiply(INT_MAX, 2), -2);
  EXPECT_EQ(Multiply(0x10000, 0x10000), 0);
  EXPECT_EQ(Multiply(INT_MIN, -1), INT_MIN);
  EXPECT_EQ(Negate(INT_MIN), INT_MIN);
  EXPECT_EQ(ShiftLeft(1, 31), INT_MIN);
  EXPECT_EQ(ShiftLeft(-1, 4), -16);
}

TEST(ExpressionArithmetic, ShiftsUseTheLowFiveBitsOfTheCount) {
  EXPECT_EQ(ShiftLeft(1, 33), 2);
  EXPECT_EQ(ShiftLeft(1, -1), INT_MIN);
  EXPECT_EQ(ShiftRight(-8, 1), -4);
  EXPECT_EQ(ShiftRight(INT_MIN, 31), -1);
  EXPECT_EQ(ShiftRight(64, 36), 4);
}

TEST(ExpressionArithmetic, QuotientTruncatesAndRemainderFollowsTheDividend) {
  struct Case {
    int a, b, quotient, remainder;
  };
  const Case cases[] = {
      {7, 2, 3, 1},   {-7, 2, -3, -1},           {7, -2, -3, 1},           {-7, -2, 3, -1},
      {5, -1, -5, 0}, {INT_MIN, -1, INT_MIN, 0}, {INT_MIN, 1, INT_MIN, 0}, {INT_MIN, INT_MIN, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Divide(c.a, c.b), c.quotient) << c.a << " / " << c.b;
    EXPECT_EQ(Remainder(c.a, c.b), c.remainder) << c.a << " % " << c.b;
  }
}

TEST(ExpressionArithmetic, ZeroDivisorThrowsDivisionBy0) {
  for (int (*operation)(int, int) : {&Divide, &Remainder}) {
    try {
      operation(INT_MIN, 0);
      ADD_FAILURE() << "no exception";
    } catch (const CVL_Message& e) {
      EXPECT_EQ(std::string(e.text()), "division by 0");
    }
  }
}

}  // namespace
}  // namespace orvo::arith
