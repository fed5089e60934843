// The condition of an #if or #elif line evaluated in one go. The expression
// productions enter a dozen productions for every operand, one per level of
// precedence; here a parse of the same grammar runs first without them,
// reading every token with the same scans from the same rule-end entries.
// Where it reads the whole condition, the window moves to its last token
// as the productions would have left it; anything else (an operator the
// table does not hold, "?", a syntax error, a division by 0, a constant or
// a macro value that does not convert, a comment) leaves the productions
// to parse it, from the first token, as if nothing had been tried.
#include <array>
#include <boost/lexical_cast.hpp>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/ExpressionArithmetic.h"
#include "grammar/ExpressionTokens.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/IntegerConstant.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/Shortcuts.h"

namespace orvo {
namespace {

// One binary operator of a level: its token, the scanner after it, the
// scanner after the operand that follows it, and its value.
struct BinaryOperator {
  int token;
  int operatorScanner;
  int operandScanner;
  int (*apply)(int left, int right);
  bool divides;
};

// A level of binary operators, from || down to *: its production, the
// scanner after its first operand (parsed by the next level), and its
// operators.
struct BinaryLevel {
  int production;
  int firstOperandScanner;
  BinaryOperator operators[4];
};

int Or(int a, int b) { return arith::Truth(a != 0 || b != 0); }
int And(int a, int b) { return arith::Truth(a != 0 && b != 0); }
int BitOr(int a, int b) { return a | b; }
int BitXor(int a, int b) { return a ^ b; }
int BitAnd(int a, int b) { return a & b; }
int Equal(int a, int b) { return arith::Truth(a == b); }
int NotEqual(int a, int b) { return arith::Truth(a != b); }
int LessEqual(int a, int b) { return arith::Truth(a <= b); }
int GreaterEqual(int a, int b) { return arith::Truth(a >= b); }
int Less(int a, int b) { return arith::Truth(a < b); }
int Greater(int a, int b) { return arith::Truth(a > b); }

// The productions from log_or_expr to multiply_expr, with the scanner
// indexes each passes on entering the next level and matching an operator.
constexpr BinaryLevel kLevels[] = {
    {prod::log_or_expr,
     pos::log_or_expr_after_log_and_expr,
     {{tok::OrOr, pos::log_or_expr_after_OrOr, pos::log_or_expr_after_OrOr_log_and_expr, Or,
       false}}},
    {prod::log_and_expr,
     pos::log_and_expr_after_inclusive_or_expr,
     {{tok::AndAnd, pos::log_and_expr_after_AndAnd,
       pos::log_and_expr_after_AndAnd_inclusive_or_expr, And, false}}},
    {prod::inclusive_or_expr,
     pos::inclusive_or_expr_after_exclusive_or_expr,
     {{tok::Pipe, pos::inclusive_or_expr_after_Pipe,
       pos::inclusive_or_expr_after_Pipe_exclusive_or_expr, BitOr, false}}},
    {prod::exclusive_or_expr,
     pos::exclusive_or_expr_after_and_expr,
     {{tok::Caret, pos::exclusive_or_expr_after_Caret, pos::exclusive_or_expr_after_Caret_and_expr,
       BitXor, false}}},
    {prod::and_expr,
     pos::and_expr_after_equality_expr,
     {{tok::Amp, pos::and_expr_after_Amp, pos::and_expr_after_Amp_equality_expr, BitAnd, false}}},
    {prod::equality_expr,
     pos::equality_expr_after_relational_expr,
     {{tok::Eq, pos::equality_expr_after_Eq, pos::equality_expr_after_Eq_relational_expr, Equal,
       false},
      {tok::Ne, pos::equality_expr_after_Ne, pos::equality_expr_after_Ne_relational_expr, NotEqual,
       false}}},
    {prod::relational_expr,
     pos::relational_expr_after_shift_expr,
     {{tok::Le, pos::relational_expr_after_Le, pos::relational_expr_after_Le_shift_expr, LessEqual,
       false},
      {tok::Ge, pos::relational_expr_after_Ge, pos::relational_expr_after_Ge_shift_expr,
       GreaterEqual, false},
      {tok::Lt, pos::relational_expr_after_Lt, pos::relational_expr_after_Lt_shift_expr, Less,
       false},
      {tok::Gt, pos::relational_expr_after_Gt, pos::relational_expr_after_Gt_shift_expr, Greater,
       false}}},
    {prod::shift_expr,
     pos::shift_expr_after_add_expr,
     {{tok::Shr, pos::shift_expr_after_Shr, pos::shift_expr_after_Shr_add_expr, arith::ShiftRight,
       false},
      {tok::Shl, pos::shift_expr_after_Shl, pos::shift_expr_after_Shl_add_expr, arith::ShiftLeft,
       false}}},
    {prod::add_expr,
     pos::add_expr_after_multiply_expr,
     {{tok::Plus, pos::add_expr_after_Plus, pos::add_expr_after_Plus_multiply_expr, arith::Add,
       false},
      {tok::Minus, pos::add_expr_after_Minus, pos::add_expr_after_Minus_multiply_expr,
       arith::Subtract, false}}},
    {prod::multiply_expr,
     pos::multiply_expr_after_unary_expr,
     {{tok::Star, pos::multiply_expr_after_Star, pos::multiply_expr_after_Star_unary_expr,
       arith::Multiply, false},
      {tok::Slash, pos::multiply_expr_after_Slash, pos::multiply_expr_after_Slash_unary_expr,
       arith::Divide, true},
      {tok::Percent, pos::multiply_expr_after_Percent, pos::multiply_expr_after_Percent_unary_expr,
       arith::Remainder, true}}},
};
constexpr int kLevelCount = static_cast<int>(sizeof kLevels / sizeof kLevels[0]);

// The binary operator each token is, with its level; an operand's end
// looks its token up once per level.
struct OperatorPlace {
  int level = -1;
  const BinaryOperator* binaryOperator = nullptr;
};

const OperatorPlace& PlaceOf(int token) {
  static const auto places = [] {
    std::array<OperatorPlace, kTokenCount + 1> table;
    table.fill(OperatorPlace{});
    for (int level = 0; level < kLevelCount; ++level)
      for (const BinaryOperator& binaryOperator : kLevels[level].operators)
        if (binaryOperator.apply != nullptr)
          table[static_cast<std::size_t>(binaryOperator.token)] = {level, &binaryOperator};
    return table;
  }();
  static const OperatorPlace none;
  return token >= 0 && token <= kTokenCount ? places[static_cast<std::size_t>(token)] : none;
}

// A unary operator: its token, the scanners after it and after its operand.
struct UnaryOperator {
  int token;
  int operatorScanner;
  int operandScanner;
  int (*apply)(int);
};

int Plus(int a) { return a; }
int Complement(int a) { return ~a; }
int Not(int a) { return arith::Truth(a == 0); }

constexpr UnaryOperator kUnaryOperators[] = {
    {tok::Plus, pos::unary_expr_after_Plus, pos::unary_expr_after_Plus_unary_expr, Plus},
    {tok::Minus, pos::unary_expr_after_Minus, pos::unary_expr_after_Minus_unary_expr,
     arith::Negate},
    {tok::Tilde, pos::unary_expr_after_Tilde, pos::unary_expr_after_Tilde_unary_expr, Complement},
    {tok::Bang, pos::unary_expr_after_Bang, pos::unary_expr_after_Bang_unary_expr, Not}};

// A token read ahead: its kind, where its scan began, and its extent.
struct ReadToken {
  int id = 0;
  const char* scanStart = nullptr;
  const char* begin = nullptr;
  const char* end = nullptr;
};

// The parse without productions. Each level pushes the rule-end entry its
// production would, so every scan sees the walk it would see there; the
// entries go again when the level is done. Every member returns false to
// give up.
class ExpressionDryRun {
 public:
  ExpressionDryRun(Cpreprocess_fileParser& parser, CVL_ParseState& s)
      : m_Parser(parser),
        m_State(s),
        m_Entries(s.m_RuleEndScannerStack.size()),
        m_Scanner(s.m_pScanner),
        m_TestRuleEnds(s.m_bTestRuleEnds) {
    const CVL_Match& pending = s.m_Position.m_Lookahead;
    m_Token = {s.topToken(), pending.m_pScanStart, pending.m_pTokenBegin, pending.m_pTokenEnd};
  }

  // Parses log_or_expr as const_expr would, up to a line break or the end
  // of the input; then moves the window as the productions would have.
  bool run(int& value) {
    const bool read = binary(0, pos::const_expr_after_log_or_expr, value) &&
                      (m_Token.id == tok::Eol || m_Token.id == tok::Eof);
    m_State.m_RuleEndScannerStack.resize(m_Entries);
    if (!read) {
      m_State.m_pScanner = m_Scanner;
      m_State.m_bTestRuleEnds = m_TestRuleEnds;
      return false;
    }
    commit();
    return true;
  }

 private:
  // The last token matched becomes the current one; the token read after
  // it, the line break, is the lookahead its match would have made, with
  // the scanner and flag that match left.
  void commit() {
    CVL_ParseState& s = m_State;
    s.consumeThrough(m_Last.scanStart, m_Last.begin, m_Last.end, m_Last.id);
    s.pendScanned();
    // What leaving the productions leaves behind: the last one entered,
    // and the scanner of log_or_expr's entry.
    s.m_ProductionIndex = m_LastProduction;
    s.m_pScanner = m_Parser.scanner(pos::const_expr_after_log_or_expr);
  }

  void pushEntry(int scannerIndex) {
    m_State.pushRuleEnd(m_Parser.scanner(scannerIndex), m_Parser.plainReading(scannerIndex),
                        static_cast<unsigned char>(endsAt(scannerIndex)));
  }

  bool enter(int scannerIndex, int production) {
    // Where entering would throw for the depth, the productions throw it.
    if (m_Parser.m_NestingDepth + m_Open + 1 >= kMaxNestingDepth)
      return false;
    pushEntry(scannerIndex);
    ++m_Open;
    m_Production = production;
    return true;
  }

  void leave() {
    m_State.m_RuleEndScannerStack.pop_back();
    --m_Open;
  }

  // Matches the pending token as `id` and reads the next one with the
  // scanner `scannerIndex` names, as match() would.
  bool match(int id, int scannerIndex) {
    if (m_Token.id != id) return false;
    m_Last = m_Token;
    m_LastProduction = m_Production;
    const CVL_Scanner* const next = m_Parser.scanner(scannerIndex);
    if (next == nullptr) return false;
    CVL_ParseState& s = m_State;
    s.m_pScanner = next;
    s.m_bTestRuleEnds = endsAt(scannerIndex);
    if (!s.scanAhead(m_Last.end)) return false;
    const CVL_Match& found = s.m_Match;
    if (found.m_pSymbol == nullptr) return false;
    m_Token = {found.m_pSymbol->id, m_Last.end, found.m_pTokenBegin, found.foundEnd()};
    return true;
  }

  std::string matchedText() const { return std::string(m_Last.begin, m_Last.end); }

  bool binary(int level, int scannerIndex, int& value) {
    if (level == kLevelCount) return unary(scannerIndex, value);
    const BinaryLevel& production = kLevels[level];
    if (!enter(scannerIndex, production.production)) return false;
    if (!binary(level + 1, production.firstOperandScanner, value)) return false;
    for (;;) {
      const OperatorPlace& place = PlaceOf(m_Token.id);
      if (place.level != level) break;
      const BinaryOperator* found = place.binaryOperator;
      int right = 0;
      if (!match(found->token, found->operatorScanner) ||
          !binary(level + 1, found->operandScanner, right))
        return false;
      if (found->divides && right == 0) return false;
      value = found->apply(value, right);
    }
    leave();
    return true;
  }

  bool unary(int scannerIndex, int& value) {
    if (!enter(scannerIndex, prod::unary_expr)) return false;
    for (const UnaryOperator& unaryOperator : kUnaryOperators) {
      if (unaryOperator.token != m_Token.id) continue;
      if (!match(unaryOperator.token, unaryOperator.operatorScanner) ||
          !unary(unaryOperator.operandScanner, value))
        return false;
      value = unaryOperator.apply(value);
      leave();
      return true;
    }
    if (!primary(pos::unary_expr_after_prim_expr, value)) return false;
    leave();
    return true;
  }

  bool primary(int scannerIndex, int& value) {
    if (!enter(scannerIndex, prod::prim_expr)) return false;
    const int t = m_Token.id;
    if (t == tok::Id) {
      if (!match(tok::Id, pos::prim_expr_after_Id) || !nameValue(value)) return false;
    } else if (const ConstantToken* token = FindConstantToken(t)) {
      if (!constant(*token, value)) return false;
    } else if (t == tok::Defined) {
      if (!match(tok::Defined, pos::prim_expr_after_Defined)) return false;
      if (m_Token.id == tok::Id) {
        if (!match(tok::Id, pos::prim_expr_after_Defined_Id) || !nameValue(value)) return false;
      } else if (!parenthesised(pos::prim_expr_after_Defined_Lparen,
                                pos::prim_expr_after_Defined_Lparen_const_expr,
                                pos::prim_expr_after_Defined_Rparen, value)) {
        return false;
      }
    } else if (!parenthesised(pos::prim_expr_after_Lparen, pos::prim_expr_after_Lparen_const_expr,
                              pos::prim_expr_after_Rparen, value)) {
      return false;
    }
    leave();
    return true;
  }

  // "(", const_expr, ")" with the scanners the production names.
  bool parenthesised(int openScanner, int innerScanner, int closeScanner, int& value) {
    if (!match(tok::Lparen, openScanner) || !enter(innerScanner, prod::const_expr) ||
        !binary(0, pos::const_expr_after_log_or_expr, value) || m_Token.id == tok::Question)
      return false;
    leave();
    return match(tok::Rparen, closeScanner);
  }

  bool constant(const ConstantToken& token, int& value) {
    if (!enter(pos::prim_expr_after_constant, prod::constant) ||
        !match(token.id, token.scannerIndex))
      return false;
    try {
      value = IntegerConstantValue(matchedText());
    } catch (const boost::bad_lexical_cast&) {
      return false;
    }
    leave();
    return true;
  }

  bool nameValue(int& value) {
    try {
      value = m_Parser.numericValue(matchedText());
    } catch (const boost::bad_lexical_cast&) {
      return false;
    }
    return true;
  }

  Cpreprocess_fileParser& m_Parser;
  CVL_ParseState& m_State;
  // What giving up restores.
  const std::size_t m_Entries;
  const CVL_Scanner* const m_Scanner;
  const bool m_TestRuleEnds;

  ReadToken m_Token;                 // the pending token
  int m_Open = 0;                    // entries pushed and not yet popped
  int m_Production = prod::const_expr;
  ReadToken m_Last;
  int m_LastProduction = prod::const_expr;
};

}  // namespace

bool Cpreprocess_fileParser::evaluateDirectiveCondition(CVL_ParseState& s, int& value) {
  // A pending comment is parsed before the condition's first token.
  if (!MayTake(Shortcut::ConditionInOneGo, s, m_pTrace) || s.m_bInclusionPending ||
      s.m_Status != parse_status::OnePending)
    return false;
  return ExpressionDryRun(*this, s).run(value);
}

}  // namespace orvo
