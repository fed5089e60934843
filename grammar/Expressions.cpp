// Constant expressions of if and elif directives, evaluated while they are
// parsed: every production writes the value of what it parsed into the cell
// it received. Unlike C, every operand is evaluated (no short circuit), and
// identifiers yield the macro table's numeric value instead of expanding.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/ExpressionArithmetic.h"
#include "grammar/ExpressionTokens.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/IntegerConstant.h"
#include "grammar/RuleEndFlags.h"
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
  static const CVL_TokenSet set = sets::range(tok::Eq, tok::Ne);
  return set;
}
const CVL_TokenSet& relationalOperators() {
  static const CVL_TokenSet set = sets::range(tok::Le, tok::Gt);
  return set;
}
const CVL_TokenSet& shiftOperators() {
  static const CVL_TokenSet set = sets::range(tok::Shr, tok::Shl);
  return set;
}
const CVL_TokenSet& additiveOperators() {
  static const CVL_TokenSet set = sets::range(tok::Plus, tok::Minus);
  return set;
}
const CVL_TokenSet& multiplicativeOperators() {
  static const CVL_TokenSet set =
      sets::one(tok::Star) | sets::one(tok::Slash) | sets::one(tok::Percent);
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
  const bool directiveCondition =
      si == pos::if_line_after_const_expr || si == pos::elif_begin_line_after_const_expr;
  if (!directiveCondition || !evaluateDirectiveCondition(s, value))
    log_or_expr(s, pos::const_expr_after_log_or_expr, endsAt(pos::const_expr_after_log_or_expr),
                value);
  if (peek(s, elem::Opt0_of_const_expr) == tok::Question) {
    int whenTrue = 0;
    int whenFalse = 0;
    match(s, tok::Question, pos::const_expr_after_Question, endsAt(pos::const_expr_after_Question),
          nullptr, nullptr);
    const_expr(s, pos::const_expr_after_Question_const_expr,
               endsAt(pos::const_expr_after_Question_const_expr), whenTrue);
    match(s, tok::Colon, pos::const_expr_after_Colon, endsAt(pos::const_expr_after_Colon),
          "const_expr", "Colon_T1_of_const_expr");
    const_expr(s, pos::const_expr_after_Colon_const_expr,
               endsAt(pos::const_expr_after_Colon_const_expr), whenFalse);
    value = value != 0 ? whenTrue : whenFalse;
  }
  guard.leave();
}

void Cpreprocess_fileParser::log_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::log_or_expr, " log_or_expr");
  log_and_expr(s, pos::log_or_expr_after_log_and_expr, endsAt(pos::log_or_expr_after_log_and_expr),
               value);
  while (peek(s, elem::OptRep0_of_log_or_expr) == tok::OrOr) {
    int right = 0;
    match(s, tok::OrOr, pos::log_or_expr_after_OrOr, endsAt(pos::log_or_expr_after_OrOr), nullptr,
          nullptr);
    log_and_expr(s, pos::log_or_expr_after_OrOr_log_and_expr,
                 endsAt(pos::log_or_expr_after_OrOr_log_and_expr), right);
    value = arith::Truth(value != 0 || right != 0);
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::log_and_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::log_and_expr, " log_and_expr");
  inclusive_or_expr(s, pos::log_and_expr_after_inclusive_or_expr,
                    endsAt(pos::log_and_expr_after_inclusive_or_expr), value);
  while (peek(s, elem::OptRep0_of_log_and_expr) == tok::AndAnd) {
    int right = 0;
    match(s, tok::AndAnd, pos::log_and_expr_after_AndAnd, endsAt(pos::log_and_expr_after_AndAnd),
          nullptr, nullptr);
    inclusive_or_expr(s, pos::log_and_expr_after_AndAnd_inclusive_or_expr,
                      endsAt(pos::log_and_expr_after_AndAnd_inclusive_or_expr), right);
    value = arith::Truth(value != 0 && right != 0);
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::inclusive_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::inclusive_or_expr, " inclusive_or_expr");
  exclusive_or_expr(s, pos::inclusive_or_expr_after_exclusive_or_expr,
                    endsAt(pos::inclusive_or_expr_after_exclusive_or_expr), value);
  while (peek(s, elem::OptRep0_of_inclusive_or_expr) == tok::Pipe) {
    int right = 0;
    match(s, tok::Pipe, pos::inclusive_or_expr_after_Pipe,
          endsAt(pos::inclusive_or_expr_after_Pipe), nullptr, nullptr);
    exclusive_or_expr(s, pos::inclusive_or_expr_after_Pipe_exclusive_or_expr,
                      endsAt(pos::inclusive_or_expr_after_Pipe_exclusive_or_expr), right);
    value |= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::exclusive_or_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::exclusive_or_expr, " exclusive_or_expr");
  and_expr(s, pos::exclusive_or_expr_after_and_expr, endsAt(pos::exclusive_or_expr_after_and_expr),
           value);
  while (peek(s, elem::OptRep0_of_exclusive_or_expr) == tok::Caret) {
    int right = 0;
    match(s, tok::Caret, pos::exclusive_or_expr_after_Caret,
          endsAt(pos::exclusive_or_expr_after_Caret), nullptr, nullptr);
    and_expr(s, pos::exclusive_or_expr_after_Caret_and_expr,
             endsAt(pos::exclusive_or_expr_after_Caret_and_expr), right);
    value ^= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::and_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::and_expr, " and_expr");
  equality_expr(s, pos::and_expr_after_equality_expr, endsAt(pos::and_expr_after_equality_expr),
                value);
  while (peek(s, elem::OptRep0_of_and_expr) == tok::Amp) {
    int right = 0;
    match(s, tok::Amp, pos::and_expr_after_Amp, endsAt(pos::and_expr_after_Amp), nullptr, nullptr);
    equality_expr(s, pos::and_expr_after_Amp_equality_expr,
                  endsAt(pos::and_expr_after_Amp_equality_expr), right);
    value &= right;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::equality_expr(CVL_ParseState& s, int si, int re, int& value) {
  CVL_Guard guard = enter(s, si, re, prod::equality_expr, " equality_expr");
  relational_expr(s, pos::equality_expr_after_relational_expr,
                  endsAt(pos::equality_expr_after_relational_expr), value);
  while (equalityOperators().contains(peek(s, elem::OptRep0_of_equality_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_equality_expr);
    if (t == tok::Eq) {
      match(s, tok::Eq, pos::equality_expr_after_Eq, endsAt(pos::equality_expr_after_Eq), nullptr,
            nullptr);
      relational_expr(s, pos::equality_expr_after_Eq_relational_expr,
                      endsAt(pos::equality_expr_after_Eq_relational_expr), right);
      value = arith::Truth(value == right);
    } else if (t == tok::Ne) {
      match(s, tok::Ne, pos::equality_expr_after_Ne, endsAt(pos::equality_expr_after_Ne), nullptr,
            nullptr);
      relational_expr(s, pos::equality_expr_after_Ne_relational_expr,
                      endsAt(pos::equality_expr_after_Ne_relational_expr), right);
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
  shift_expr(s, pos::relational_expr_after_shift_expr,
             endsAt(pos::relational_expr_after_shift_expr), value);
  while (relationalOperators().contains(peek(s, elem::OptRep0_of_relational_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_relational_expr);
    if (t == tok::Le) {
      match(s, tok::Le, pos::relational_expr_after_Le, endsAt(pos::relational_expr_after_Le),
            nullptr, nullptr);
      shift_expr(s, pos::relational_expr_after_Le_shift_expr,
                 endsAt(pos::relational_expr_after_Le_shift_expr), right);
      value = arith::Truth(value <= right);
    } else if (t == tok::Ge) {
      match(s, tok::Ge, pos::relational_expr_after_Ge, endsAt(pos::relational_expr_after_Ge),
            nullptr, nullptr);
      shift_expr(s, pos::relational_expr_after_Ge_shift_expr,
                 endsAt(pos::relational_expr_after_Ge_shift_expr), right);
      value = arith::Truth(value >= right);
    } else if (t == tok::Lt) {
      match(s, tok::Lt, pos::relational_expr_after_Lt, endsAt(pos::relational_expr_after_Lt),
            nullptr, nullptr);
      shift_expr(s, pos::relational_expr_after_Lt_shift_expr,
                 endsAt(pos::relational_expr_after_Lt_shift_expr), right);
      value = arith::Truth(value < right);
    } else if (t == tok::Gt) {
      match(s, tok::Gt, pos::relational_expr_after_Gt, endsAt(pos::relational_expr_after_Gt),
            nullptr, nullptr);
      shift_expr(s, pos::relational_expr_after_Gt_shift_expr,
                 endsAt(pos::relational_expr_after_Gt_shift_expr), right);
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
  add_expr(s, pos::shift_expr_after_add_expr, endsAt(pos::shift_expr_after_add_expr), value);
  while (shiftOperators().contains(peek(s, elem::OptRep0_of_shift_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_shift_expr);
    if (t == tok::Shr) {
      match(s, tok::Shr, pos::shift_expr_after_Shr, endsAt(pos::shift_expr_after_Shr), nullptr,
            nullptr);
      add_expr(s, pos::shift_expr_after_Shr_add_expr, endsAt(pos::shift_expr_after_Shr_add_expr),
               right);
      value = arith::ShiftRight(value, right);
    } else if (t == tok::Shl) {
      match(s, tok::Shl, pos::shift_expr_after_Shl, endsAt(pos::shift_expr_after_Shl), nullptr,
            nullptr);
      add_expr(s, pos::shift_expr_after_Shl_add_expr, endsAt(pos::shift_expr_after_Shl_add_expr),
               right);
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
  multiply_expr(s, pos::add_expr_after_multiply_expr, endsAt(pos::add_expr_after_multiply_expr),
                value);
  while (additiveOperators().contains(peek(s, elem::OptRep0_of_add_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_add_expr);
    if (t == tok::Plus) {
      match(s, tok::Plus, pos::add_expr_after_Plus, endsAt(pos::add_expr_after_Plus), nullptr,
            nullptr);
      multiply_expr(s, pos::add_expr_after_Plus_multiply_expr,
                    endsAt(pos::add_expr_after_Plus_multiply_expr), right);
      value = arith::Add(value, right);
    } else if (t == tok::Minus) {
      match(s, tok::Minus, pos::add_expr_after_Minus, endsAt(pos::add_expr_after_Minus), nullptr,
            nullptr);
      multiply_expr(s, pos::add_expr_after_Minus_multiply_expr,
                    endsAt(pos::add_expr_after_Minus_multiply_expr), right);
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
  unary_expr(s, pos::multiply_expr_after_unary_expr, endsAt(pos::multiply_expr_after_unary_expr),
             value);
  while (multiplicativeOperators().contains(peek(s, elem::OptRep0_of_multiply_expr))) {
    int right = 0;
    const int t = peek(s, elem::Alt0_of_OptRep0_of_multiply_expr);
    const TokenRange operatorRange = LookaheadRange(s);
    if (t == tok::Star) {
      match(s, tok::Star, pos::multiply_expr_after_Star, endsAt(pos::multiply_expr_after_Star),
            nullptr, nullptr);
      unary_expr(s, pos::multiply_expr_after_Star_unary_expr,
                 endsAt(pos::multiply_expr_after_Star_unary_expr), right);
      value = arith::Multiply(value, right);
    } else if (t == tok::Slash) {
      match(s, tok::Slash, pos::multiply_expr_after_Slash, endsAt(pos::multiply_expr_after_Slash),
            nullptr, nullptr);
      unary_expr(s, pos::multiply_expr_after_Slash_unary_expr,
                 endsAt(pos::multiply_expr_after_Slash_unary_expr), right);
      if (HasOperands(s)) value = arith::Divide(value, CheckedDivisor(right, operatorRange));
    } else if (t == tok::Percent) {
      match(s, tok::Percent, pos::multiply_expr_after_Percent,
            endsAt(pos::multiply_expr_after_Percent), nullptr, nullptr);
      unary_expr(s, pos::multiply_expr_after_Percent_unary_expr,
                 endsAt(pos::multiply_expr_after_Percent_unary_expr), right);
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
    prim_expr(s, pos::unary_expr_after_prim_expr, endsAt(pos::unary_expr_after_prim_expr), value);
  } else if (t == tok::Plus) {
    match(s, tok::Plus, pos::unary_expr_after_Plus, endsAt(pos::unary_expr_after_Plus), nullptr,
          nullptr);
    unary_expr(s, pos::unary_expr_after_Plus_unary_expr,
               endsAt(pos::unary_expr_after_Plus_unary_expr), value);
  } else if (t == tok::Minus) {
    match(s, tok::Minus, pos::unary_expr_after_Minus, endsAt(pos::unary_expr_after_Minus), nullptr,
          nullptr);
    unary_expr(s, pos::unary_expr_after_Minus_unary_expr,
               endsAt(pos::unary_expr_after_Minus_unary_expr), value);
    value = arith::Negate(value);
  } else if (t == tok::Tilde) {
    match(s, tok::Tilde, pos::unary_expr_after_Tilde, endsAt(pos::unary_expr_after_Tilde), nullptr,
          nullptr);
    unary_expr(s, pos::unary_expr_after_Tilde_unary_expr,
               endsAt(pos::unary_expr_after_Tilde_unary_expr), value);
    value = ~value;
  } else if (t == tok::Bang) {
    match(s, tok::Bang, pos::unary_expr_after_Bang, endsAt(pos::unary_expr_after_Bang), nullptr,
          nullptr);
    unary_expr(s, pos::unary_expr_after_Bang_unary_expr,
               endsAt(pos::unary_expr_after_Bang_unary_expr), value);
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
      if (match(s, tok::Id, pos::prim_expr_after_Id, endsAt(pos::prim_expr_after_Id), nullptr,
                nullptr))
        value = numericValue(s.matchText(0));
    } else if (constants().contains(operand)) {
      constant(s, pos::prim_expr_after_constant, endsAt(pos::prim_expr_after_constant), value);
    } else if (operand == tok::Defined) {
      // `defined` yields the operand's value, not just 1 or 0.
      match(s, tok::Defined, pos::prim_expr_after_Defined, endsAt(pos::prim_expr_after_Defined),
            nullptr, nullptr);
      const int argument = peek(s, elem::Alt2_of_Alt1_of_Alt0_of_prim_expr);
      if (argument == tok::Id) {
        if (match(s, tok::Id, pos::prim_expr_after_Defined_Id,
                  endsAt(pos::prim_expr_after_Defined_Id), nullptr, nullptr))
          value = numericValue(s.matchText(0));
      } else if (argument == tok::Lparen) {
        match(s, tok::Lparen, pos::prim_expr_after_Defined_Lparen,
              endsAt(pos::prim_expr_after_Defined_Lparen), nullptr, nullptr);
        const_expr(s, pos::prim_expr_after_Defined_Lparen_const_expr,
                   endsAt(pos::prim_expr_after_Defined_Lparen_const_expr), value);
        match(s, tok::Rparen, pos::prim_expr_after_Defined_Rparen,
              endsAt(pos::prim_expr_after_Defined_Rparen), "prim_expr", "Rparen_T3_of_prim_expr");
      } else {
        unexpectedError(s, "prim_expr", "Alt2_of_Alt1_of_Alt0_of_prim_expr");
      }
    } else {
      unexpectedError(s, "prim_expr", "Alt1_of_Alt0_of_prim_expr");
    }
  } else if (t == tok::Lparen) {
    match(s, tok::Lparen, pos::prim_expr_after_Lparen, endsAt(pos::prim_expr_after_Lparen), nullptr,
          nullptr);
    const_expr(s, pos::prim_expr_after_Lparen_const_expr,
               endsAt(pos::prim_expr_after_Lparen_const_expr), value);
    match(s, tok::Rparen, pos::prim_expr_after_Rparen, endsAt(pos::prim_expr_after_Rparen),
          "prim_expr", "Rparen_T6_of_prim_expr");
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
