// Generates the expression and group map of a regex or skip part from the
// token kinds it looks for.
#pragma once

#include <string>

#include "scan/Scanner.h"

namespace orvo {

struct CVL_Alternation {
  std::string expression;
  std::string groupMap;  // pair-list notation: group, token id, ...
};

// The shared order of alternatives: more groups first, then by name in
// byte order. Among equally long matches a scanner takes the first.
bool AlternativeBefore(const symbol* a, const symbol* b);

// The anchored regex part of an expected set: `\A(` + `(pattern)|...` + `)`
// over the set's pattern kinds, ordered by sub-match count descending, then
// by name. EOF takes part as `\z` unless it is the only pattern kind, in
// which case (as with no pattern kind at all) the expression is empty: the
// end of input is found without a regex part.
CVL_Alternation RegexAlternation(const CVL_TokenSet& expected);

// The unanchored skip expression `(pattern)|...` over the stop kinds, in the
// same order, numbering groups from 1; a literal stop kind contributes its
// text with metacharacters escaped.
CVL_Alternation SkipAlternation(const CVL_TokenSet& stops);

}  // namespace orvo
