// Operator tokens and the tokens of a macro's parameter list.
#include <array>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"

namespace orvo {
namespace {

// Scanner for the token after each operator, indexed by token id minus
// kFirstOperator (the operators in token-table order).
constexpr int kFirstOperator = 20;
constexpr std::array<int, 45> kOperatorScanners = {
    pos::cpp_operator_after_Colon,
    pos::cpp_operator_after_Question,
    pos::cpp_operator_after_Arrow,
    pos::cpp_operator_after_LBrace,
    pos::cpp_operator_after_RBrace,  // :  ?  ->  {  }
    pos::cpp_operator_after_LBracket,
    pos::cpp_operator_after_RBracket,
    pos::cpp_operator_after_Star,
    pos::cpp_operator_after_Eq,
    pos::cpp_operator_after_Ne,  // [  ]  *  ==  !=
    pos::cpp_operator_after_Le,
    pos::cpp_operator_after_Lt,
    pos::cpp_operator_after_Ge,
    pos::cpp_operator_after_Gt,
    pos::cpp_operator_after_Slash,  // <=  <  >=  >  /
    pos::cpp_operator_after_PlusPlus,
    pos::cpp_operator_after_MinusMinus,
    pos::cpp_operator_after_Percent,
    pos::cpp_operator_after_Shr,
    pos::cpp_operator_after_Shl,  // ++  --  %  >>  <<
    pos::cpp_operator_after_AndAnd,
    pos::cpp_operator_after_OrOr,
    pos::cpp_operator_after_Amp,
    pos::cpp_operator_after_Caret,
    pos::cpp_operator_after_Dot,  // &&  ||  &  ^  .
    pos::cpp_operator_after_ArrowStar,
    pos::cpp_operator_after_DotStar,
    pos::cpp_operator_after_ColonColon,
    pos::cpp_operator_after_Pipe,
    pos::cpp_operator_after_Plus,  // ->*  .*  ::  |  +
    pos::cpp_operator_after_Minus,
    pos::cpp_operator_after_Tilde,
    pos::cpp_operator_after_Assign,
    pos::cpp_operator_after_StarAssign,
    pos::cpp_operator_after_SlashAssign,  // -  ~  =  *=  /=
    pos::cpp_operator_after_PercentAssign,
    pos::cpp_operator_after_PlusAssign,
    pos::cpp_operator_after_MinusAssign,
    pos::cpp_operator_after_ShrAssign,
    pos::cpp_operator_after_ShlAssign,  // %=  +=  -=  >>=  <<=
    pos::cpp_operator_after_AmpAssign,
    pos::cpp_operator_after_CaretAssign,
    pos::cpp_operator_after_PipeAssign,
    pos::cpp_operator_after_Bang,
    pos::cpp_operator_after_Ellipsis,  // &=  ^=  |=  !  ...
};

// Scanner for the token after each macro-token alternative other than the
// operators, indexed by token id minus tok::Id (ID to NOT_OTHER_PP_TOKEN_CHAR).
constexpr std::array<int, 9> kMacroTokenScanners = {pos::macro_token_after_Id,
                                                    pos::macro_token_after_Char,
                                                    pos::macro_token_after_String,
                                                    pos::macro_token_after_Float,
                                                    pos::macro_token_after_DecimalInt,
                                                    pos::macro_token_after_HexInt,
                                                    pos::macro_token_after_OctInt,
                                                    pos::macro_token_after_Unsigned,
                                                    pos::macro_token_after_NotOtherPpTokenChar};

}  // namespace

void Cpreprocess_fileParser::cpp_operator(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::cpp_operator, " cpp_operator");
  const int t = peek(s, elem::Alt0_of_cpp_operator);
  if (sets::operators().contains(t)) {
    const int next = kOperatorScanners[t - kFirstOperator];
    match(s, t, next, endsAt(next), nullptr, nullptr);
  } else {
    unexpectedError(s, "cpp_operator", "Alt0_of_cpp_operator");
  }
  guard.leave();
}

void Cpreprocess_fileParser::macro_token(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::macro_token, " macro_token");
  const int t = peek(s, elem::Alt0_of_macro_token);
  if (t >= tok::Id && t <= tok::NotOtherPpTokenChar) {
    const int next = kMacroTokenScanners[t - tok::Id];
    match(s, t, next, endsAt(next), nullptr, nullptr);
  } else if (sets::operators().contains(t)) {
    cpp_operator(s, pos::macro_token_after_cpp_operator,
                 endsAt(pos::macro_token_after_cpp_operator));
  } else {
    unexpectedError(s, "macro_token", "Alt0_of_macro_token");
  }
  guard.leave();
}

}  // namespace orvo
