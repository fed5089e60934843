// Constant expressions of if and elif directives, evaluated while they are
// parsed: every production writes the value of what it parsed into the cell
// it received. Unlike C, every operand is evaluated (no short circuit), and
// identifiers yield the macro table's numeric value instead of expanding.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/ExpressionArithmetic.h"
#include "grammar/ExpressionTokens.h"
#include "grammar/GrammarNames.h"
#include "grammar/IntegerConstant.h"
#include "grammar/TokenSets.h"
#include "scan/Symbol.h"

namespace orvo {
namespace {

using sets::operator|;

const CVL_TokenSet& constants() {
  static const CVL_TokenSet set = [] {
    CVL_TokenSet ids;
    for (const ConstantToken& token : kConstantTokens) ids.insert(token.id);
    return ids;
  }();
  return set;
}
// Starts of an identifier, a constant or a defined-expression.
const CVL_TokenSet& operands() {
  static const CVL_TokenSet set = constants() | sets::one(tok::Id) | sets::one(tok::Defined);
  return set;
}
const CVL_TokenSet& primaries() {
  static const CVL_TokenSet set = operands() | sets::one(tok::Lparen);
  return set;
}
const CVL_TokenSet& equalityOperators() {
  static const CVL_TokenSet set = sets::range(op::Eq, op::Ne);
  return set;
}
const CVL_TokenSet& relationalOperators() {
  static const CVL_TokenSet set = sets::range(op::Le, op::Gt);
  return set;
}
const CVL_TokenSet& shiftOperators() {
  static const CVL_TokenSet set = sets::range(op::Shr, op::Shl);
  return set;
}
const CVL_TokenSet& additiveOperators() {
  static const CVL_TokenSet set = sets::range(op::Plus, op::Minus);
  return set;
}
const CVL_TokenSet& multiplicativeOperators() {
  static const CVL_TokenSet set =
      sets::one(op::Star) | sets::one(op::Slash) | sets::one(op::Percent);
  return set;
}

// A division whose right operand could not be parsed (a syntax error recorded
// in a nested parse) has no divisor: it must not report "division by 0".
bool HasOperands(const CVL_ParseState& s) { return !parse_status::isErrorState(s.m_Status); }

// Byte offsets of a token in the parsed text.
struct TokenRange {
  int begin = 0;
  int end = 0;
};

// The pending look-ahead token: at a decision, the operator about to be matched.
TokenRange LookaheadRange(const CVL_ParseState& s) {
  const CVL_Match& next = s.m_Position.m_Lookahead;
  if (next.m_pTokenBegin == nullptr) return TokenRange{};
  return TokenRange{s.offsetOf(next.m_pTokenBegin), s.offsetOf(next.m_pTokenEnd)};
}

// A divisor of 0 ends the run with a message that points at the operator.
int CheckedDivisor(int divisor, TokenRange operatorRange) {
  if (divisor == 0) {
    throw CVL_Message("division by 0", operatorRange.begin, operatorRange.end, nullptr, nullptr,
                      0, 0);
  }
  return divisor;
}

}  // namespace

void Cpreprocess_fileParser::const_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::const_expr, " const_expr");
  // A directive's condition is first read in one go; a nested one is part
  // of that attempt already.
  const bool directiveCondition = si == kIfConditionScanner || si == kElifConditionScanner;
  if (!directiveCondition || !evaluateDirectiveCondition(s, value))
    log_or_expr(s, 171, endsAt(171), value);
  if (peek(s, elem::Opt0_of_const_expr) == op::Question) {
    int whenTrue = 0;
    int whenFalse = 0;
    match(s, op::Question, 172, endsAt(172), nullptr, nullptr);
    const_expr(s, 173, endsAt(173), whenTrue);
    match(s, op::Colon, 244, endsAt(244), "const_expr", "Colon_T1_of_const_expr");
    const_expr(s, 245, endsAt(245), whenFalse);
    value = value != 0 ? whenTrue : whenFalse;
  }
  guard.leave();
}

void Cpreprocess_fileParser::log_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::log_or_expr, " log_or_expr");
  log_and_expr(s, 43, endsAt(43), value);
  while (peek(s, elem::OptRep0_of_log_or_expr) == op::OrOr) {
    int right = 0;
    match(s, op::OrOr, 236, endsAt(236), nullptr, nullptr);
    log_and_expr(s, 237, endsAt(237), right);
    value = arith::Truth(value != 0 || right != 0);
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::log_and_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::log_and_expr, " log_and_expr");
  inclusive_or_expr(s, 165, endsAt(165), value);
  while (peek(s, elem::OptRep0_of_log_and_expr) == op::AndAnd) {
    int right = 0;
    match(s, op::AndAnd, 166, endsAt(166), nullptr, nullptr);
    inclusive_or_expr(s, 167, endsAt(167), right);
    value = arith::Truth(value != 0 && right != 0);
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::inclusive_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::inclusive_or_expr, " inclusive_or_expr");
  exclusive_or_expr(s, 84, endsAt(84), value);
  while (peek(s, elem::OptRep0_of_inclusive_or_expr) == op::Pipe) {
    int right = 0;
    match(s, op::Pipe, 85, endsAt(85), nullptr, nullptr);
    exclusive_or_expr(s, 86, endsAt(86), right);
    value |= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::exclusive_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::exclusive_or_expr, " exclusive_or_expr");
  and_expr(s, 87, endsAt(87), value);
  while (peek(s, elem::OptRep0_of_exclusive_or_expr) == op::Caret) {
    int right = 0;
    match(s, op::Caret, 88, endsAt(88), nullptr, nullptr);
    and_expr(s, 89, endsAt(89), right);
    value ^= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::and_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::and_expr, " and_expr");
  equality_expr(s, 90, endsAt(90), value);
  while (peek(s, elem::OptRep0_of_and_expr) == op::Amp) {
    int right = 0;
    match(s, op::Amp, 91, endsAt(91), nullptr, nullptr);
    equality_expr(s, 92, endsAt(92), right);
    value &= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::equality_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::equality_expr, " equality_expr");
  relational_expr(s, 93, endsAt(93), value);
  while (equalityOperators().contains(peek(s, elem::OptRep0_of_equality_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_equality_expr);
    if (t == op::Eq) {
      match(s, op::Eq, 94, endsAt(94), nullptr, nullptr);
      relational_expr(s, 95, endsAt(95), right);
      value = arith::Truth(value == right);
    } else if (t == op::Ne) {
      match(s, op::Ne, 280, endsAt(280), nullptr, nullptr);
      relational_expr(s, 97, endsAt(97), right);
      value = arith::Truth(value != right);
    } else {
      unexpectedError(s, "equality_expr", "Alt0_of_OptRep0_of_equality_expr");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::relational_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::relational_expr, " relational_expr");
  shift_expr(s, 98, endsAt(98), value);
  while (relationalOperators().contains(peek(s, elem::OptRep0_of_relational_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_relational_expr);
    if (t == op::Le) {
      match(s, op::Le, 99, endsAt(99), nullptr, nullptr);
      shift_expr(s, 221, endsAt(221), right);
      value = arith::Truth(value <= right);
    } else if (t == op::Ge) {
      match(s, op::Ge, 100, endsAt(100), nullptr, nullptr);
      shift_expr(s, 101, endsAt(101), right);
      value = arith::Truth(value >= right);
    } else if (t == op::Lt) {
      match(s, op::Lt, 102, endsAt(102), nullptr, nullptr);
      shift_expr(s, 103, endsAt(103), right);
      value = arith::Truth(value < right);
    } else if (t == op::Gt) {
      match(s, op::Gt, 104, endsAt(104), nullptr, nullptr);
      shift_expr(s, 105, endsAt(105), right);
      value = arith::Truth(value > right);
    } else {
      unexpectedError(s, "relational_expr", "Alt0_of_OptRep0_of_relational_expr");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::shift_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::shift_expr, " shift_expr");
  add_expr(s, 219, endsAt(219), value);
  while (shiftOperators().contains(peek(s, elem::OptRep0_of_shift_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_shift_expr);
    if (t == op::Shr) {
      match(s, op::Shr, 206, endsAt(206), nullptr, nullptr);
      add_expr(s, 207, endsAt(207), right);
      value = arith::ShiftRight(value, right);
    } else if (t == op::Shl) {
      match(s, op::Shl, 204, endsAt(204), nullptr, nullptr);
      add_expr(s, 205, endsAt(205), right);
      value = arith::ShiftLeft(value, right);
    } else {
      unexpectedError(s, "shift_expr", "Alt0_of_OptRep0_of_shift_expr");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::add_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::add_expr, " add_expr");
  multiply_expr(s, 220, endsAt(220), value);
  while (additiveOperators().contains(peek(s, elem::OptRep0_of_add_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_add_expr);
    if (t == op::Plus) {
      match(s, op::Plus, 70, endsAt(70), nullptr, nullptr);
      multiply_expr(s, 169, endsAt(169), right);
      value = arith::Add(value, right);
    } else if (t == op::Minus) {
      match(s, op::Minus, 195, endsAt(195), nullptr, nullptr);
      multiply_expr(s, 196, endsAt(196), right);
      value = arith::Subtract(value, right);
    } else {
      unexpectedError(s, "add_expr", "Alt0_of_OptRep0_of_add_expr");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::multiply_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::multiply_expr, " multiply_expr");
  unary_expr(s, 197, endsAt(197), value);
  while (multiplicativeOperators().contains(peek(s, elem::OptRep0_of_multiply_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_multiply_expr);
    const TokenRange operatorRange = LookaheadRange(s);
    if (t == op::Star) {
      match(s, op::Star, 198, endsAt(198), nullptr, nullptr);
      unary_expr(s, 199, endsAt(199), right);
      value = arith::Multiply(value, right);
    } else if (t == op::Slash) {
      match(s, op::Slash, 200, endsAt(200), nullptr, nullptr);
      unary_expr(s, 201, endsAt(201), right);
      if (HasOperands(s)) value = arith::Divide(value, CheckedDivisor(right, operatorRange));
    } else if (t == op::Percent) {
      match(s, op::Percent, 202, endsAt(202), nullptr, nullptr);
      unary_expr(s, 203, endsAt(203), right);
      if (HasOperands(s)) value = arith::Remainder(value, CheckedDivisor(right, operatorRange));
    } else {
      unexpectedError(s, "multiply_expr", "Alt0_of_OptRep0_of_multiply_expr");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::unary_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::unary_expr, " unary_expr");
  const int t = peek(s, elem::Alt0_of_unary_expr);
  if (primaries().contains(t)) {
    prim_expr(s, 271, endsAt(271), value);
  } else if (t == op::Plus) {
    match(s, op::Plus, 272, endsAt(272), nullptr, nullptr);
    unary_expr(s, 273, endsAt(273), value);
  } else if (t == op::Minus) {
    match(s, op::Minus, 274, endsAt(274), nullptr, nullptr);
    unary_expr(s, 275, endsAt(275), value);
    value = arith::Negate(value);
  } else if (t == op::Tilde) {
    match(s, op::Tilde, 276, endsAt(276), nullptr, nullptr);
    unary_expr(s, 277, endsAt(277), value);
    value = ~value;
  } else if (t == op::Bang) {
    match(s, op::Bang, 152, endsAt(152), nullptr, nullptr);
    unary_expr(s, 153, endsAt(153), value);
    value = arith::Truth(value == 0);
  } else {
    unexpectedError(s, "unary_expr", "Alt0_of_unary_expr");
  }
  guard.leave();
}

void Cpreprocess_fileParser::prim_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::prim_expr, " prim_expr");
  const int t = peek(s, elem::Alt0_of_prim_expr);
  if (operands().contains(t)) {
    const int operand = peek(s, elem::Alt1_of_Alt0_of_prim_expr);
    if (operand == tok::Id) {
      if (match(s, tok::Id, 155, endsAt(155), nullptr, nullptr)) value = numericValue(s.matchText(0));
    } else if (constants().contains(operand)) {
      constant(s, 154, endsAt(154), value);
    } else if (operand == tok::Defined) {
      // `defined` yields the operand's value, not just 1 or 0.
      match(s, tok::Defined, 156, endsAt(156), nullptr, nullptr);
      const int argument = peek(s, elem::Alt2_of_Alt1_of_Alt0_of_prim_expr);
      if (argument == tok::Id) {
        if (match(s, tok::Id, 44, endsAt(44), nullptr, nullptr)) value = numericValue(s.matchText(0));
      } else if (argument == tok::Lparen) {
        match(s, tok::Lparen, 157, endsAt(157), nullptr, nullptr);
        const_expr(s, 158, endsAt(158), value);
        match(s, tok::Rparen, 159, endsAt(159), "prim_expr", "Rparen_T3_of_prim_expr");
      } else {
        unexpectedError(s, "prim_expr", "Alt2_of_Alt1_of_Alt0_of_prim_expr");
      }
    } else {
      unexpectedError(s, "prim_expr", "Alt1_of_Alt0_of_prim_expr");
    }
  } else if (t == tok::Lparen) {
    match(s, tok::Lparen, 45, endsAt(45), nullptr, nullptr);
    const_expr(s, 46, endsAt(46), value);
    match(s, tok::Rparen, 47, endsAt(47), "prim_expr", "Rparen_T6_of_prim_expr");
  } else {
    unexpectedError(s, "prim_expr", "Alt0_of_prim_expr");
  }
  guard.leave();
}

void Cpreprocess_fileParser::constant(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::constant, " constant");
  const int t = peek(s, elem::Alt0_of_constant);
  const ConstantToken* token = FindConstantToken(t);
  if (token == nullptr) {
    unexpectedError(s, "constant", "Alt0_of_constant");
  } else if (match(s, t, token->scannerIndex, endsAt(token->scannerIndex), nullptr, nullptr)) {
    value = IntegerConstantValue(s.matchText(0));
  }
  guard.leave();
}

}  // namespace orvo
