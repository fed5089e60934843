// The rule-end flag of every grammar position. A position is named by the
// scanner index of the element there (the scanner that reads the token after
// the element); every element of the grammar has an index of its own.
//
// The flag is set exactly where the production can end right after the
// element: everything that follows it up to the production's end (the rest
// of its sequence or repetition body, then whatever follows that construct,
// and so on outward) can derive the empty string. Optional parts,
// zero-or-more repetitions and the productions outer_group, groups,
// skip_group, macro_tokens, header and IncludePaths can; a required token or
// any other production cannot. A scan after a flagged element also tries
// the scanners that the enclosing calls leave for what follows them, so a
// flag set where the production cannot end lets a token that only fits
// after the production win over the one the grammar requires (after "&&"
// the longer MACRO_CALL_BEGIN `defined(` would beat the `defined` that must
// follow).
#pragma once

#include <array>

namespace orvo {

inline constexpr int kGrammarPositions = 300;

namespace rule_end_detail {

// The positions after which their production may end, production by
// production, with what follows them.
inline constexpr int kEndingPositions[] = {
    96,                      // preprocess_file: outer_group, its last element
    15,                      // outer_group: group closes the repetition's body
    151, 18, 19, 17, 16,     // group: each alternative is the whole production
    20, 23, 25, 22, 21, 24,  // control_line: likewise
    28,                      // if_section: if_end, last (if_begin, groups: more follows)
    72,                      // include_line: EOL, last (PD_INCLUDE: EOL follows)
    111, 112, 114, 115, 278, 192, 193, 194, 53, 54, 55, 56, 113,
    73,                      // pp_tokens: every alternative closes the repetition's body
    57, 58, 59, 60, 61, 74, 75, 76, 77, 78, 187, 188, 116, 117, 118, 119, 120, 121, 122, 126,
    127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144,
    145, 146, 147, 148, 149, 150, 123,  // cpp_operator: each operator is the whole production
    125, 208,                // definition: the macro after PD_DEFINE
    211,                     // error_line: EOL, last
    212, 214, 213,           // if_begin: each alternative is the whole production
    215, 216, 217,           // groups: group closes its repetition; EOL before the empty-able skip_group
    175, 218, 174,           // if_end: each alternative is the whole production
    178,                     // line_line: EOL, last
    179, 180,                // macro_call_begin: the call that follows MACRO_CALL_BEGIN is optional
    183,                     // pragma_line: EOL, last
    185,                     // undef_line: ID, last
    248,                     // warning_line: EOL, last
    250,                     // ifdef_line: ID, last
    253,                     // elif_section: if_end, last
    256,                     // else_section: PD_ENDIF, last
    268,                     // function_like_macro: EOL, last (all else: more follows)
    270,                     // ifndef_line: ID, last
    107,                     // if_line: const_expr, last
    228,                     // macro_call: ")", last (the arguments and ",": more follows)
    243,                     // object_like_macro: EOL, last (the replacement: EOL follows)
    170,                     // skip_group: skip_if_section closes the repetition's body
    171, 245,                // const_expr: before the optional "?:" part, and its last operand
    247,                     // elif_begin_line: const_expr, last
    62, 63,                  // else_begin_line: PD_ELSE before the optional text, the text
    223, 65, 66, 67, 68, 69, 222, 224, 225, 64,  // macro_token: each alternative is the whole production
    39, 36, 226, 33, 35, 37, 38,  // macro_tokens: what closes the body ("(" and MACRO_CALL_BEGIN: a parenthesis follows)
    42,                      // skip_if_section: skip_if_end, last
    43, 237,                 // log_or_expr: first operand and the operand after "||" ("||": an operand follows)
    189,                     // macro_parenthesis: ")", last
    190, 160, 191,           // skip_if_begin: each alternative is the whole production
    163, 164, 161, 162,      // skip_if_end: PD_ENDIF before its optional EOL, and each alternative's end
    165, 167,                // log_and_expr: the operands ("&&": an operand follows)
    79,                      // skip_elif_section: skip_if_end, last
    83,                      // skip_else_section: EOL, last
    84, 86,                  // inclusive_or_expr: the operands ("|": an operand follows)
    87, 89,                  // exclusive_or_expr: the operands ("^": an operand follows)
    90, 92,                  // and_expr: the operands ("&": an operand follows)
    93, 95, 97,              // equality_expr: the operands ("==", "!=": an operand follows)
    98, 221, 101, 103, 105,  // relational_expr: the operands (the operators: an operand follows)
    219, 207, 205,           // shift_expr: the operands (">>", "<<": an operand follows)
    220, 169, 196,           // add_expr: the operands ("+", "-": an operand follows)
    197, 199, 201, 203,      // multiply_expr: the operands ("*", "/", "%": an operand follows)
    271, 273, 275, 277, 153,  // unary_expr: prim_expr and the operand of each unary operator
    155, 154, 44, 159, 47,   // prim_expr: ID, constant, defined's ID and the closing ")"s
    48, 52, 49, 50, 51,      // constant: each alternative is the whole production
    7, 6,                    // comment: each alternative closes the repetition's body
    9,                       // block_comment: "*/", last
    12,                      // header: outer_group, last
    3, 2,                    // IncludePaths: EOF and EOL close the repetition's body
    299, 298,                // re_macro_call: each alternative closes the repetition's body
    285, 286, 288, 289, 290, 291, 292, 293, 294, 295, 296, 297, 287,
    284,                     // re_pp_tokens: every alternative closes the repetition's body
};

constexpr std::array<bool, kGrammarPositions> BuildTable() {
  std::array<bool, kGrammarPositions> table{};
  for (const int position : kEndingPositions) table[position] = true;
  return table;
}

inline constexpr std::array<bool, kGrammarPositions> kTable = BuildTable();

}  // namespace rule_end_detail

// The rule-end flag of the element whose following token scanner
// `scannerIndex` reads.
constexpr bool endsAt(int scannerIndex) { return rule_end_detail::kTable[scannerIndex]; }

}  // namespace orvo
