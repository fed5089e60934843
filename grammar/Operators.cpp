// Operator tokens and the tokens of a macro's parameter list.
#include <array>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/GrammarNames.h"
#include "grammar/TokenSets.h"

namespace orvo {
namespace {

// Scanner for the token after each operator, indexed by token id minus
// kFirstOperator (the operators in token-table order).
constexpr int kFirstOperator = 20;
constexpr std::array<int, 45> kOperatorScanners = {
    57,  58,  59,  60,  61,   // :  ?  ->  {  }
    74,  75,  76,  77,  78,   // [  ]  *  ==  !=
    187, 188, 116, 117, 118,  // <=  <  >=  >  /
    119, 120, 121, 122, 126,  // ++  --  %  >>  <<
    127, 128, 129, 130, 131,  // &&  ||  &  ^  .
    132, 133, 134, 135, 136,  // ->*  .*  ::  |  +
    137, 138, 139, 140, 141,  // -  ~  =  *=  /=
    142, 143, 144, 145, 146,  // %=  +=  -=  >>=  <<=
    147, 148, 149, 150, 123,  // &=  ^=  |=  !  ...
};

// Scanner for the token after each macro-token alternative other than the
// operators, indexed by token id minus tok::Id (ID to NOT_OTHER_PP_TOKEN_CHAR).
constexpr std::array<int, 9> kMacroTokenScanners = {223, 65, 66, 67, 68, 69, 222, 224, 225};
constexpr int kOperatorInMacroTokenScanner = 64;

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
    cpp_operator(s, kOperatorInMacroTokenScanner, endsAt(kOperatorInMacroTokenScanner));
  } else {
    unexpectedError(s, "macro_token", "Alt0_of_macro_token");
  }
  guard.leave();
}

}  // namespace orvo
