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

#include "grammar/GrammarPositions.h"

namespace orvo {

namespace rule_end_detail {

// The positions after which their production may end, production by
// production, with what follows them.
inline constexpr int kEndingPositions[] = {
    // preprocess_file: outer_group, its last element
    pos::preprocess_file_after_outer_group,
    // outer_group: group closes the repetition's body
    pos::outer_group_after_group,
    // group: each alternative is the whole production
    pos::group_after_Eol,
    pos::group_after_include_line,
    pos::group_after_pp_tokens,
    pos::group_after_control_line,
    pos::group_after_if_section,
    // control_line: likewise
    pos::control_line_after_definition,
    pos::control_line_after_error_line,
    pos::control_line_after_line_line,
    pos::control_line_after_pragma_line,
    pos::control_line_after_undef_line,
    pos::control_line_after_warning_line,
    // if_section: if_end, last (if_begin, groups: more follows)
    pos::if_section_after_if_end,
    // include_line: EOL, last (PD_INCLUDE: EOL follows)
    pos::include_line_after_Eol,
    // pp_tokens: every alternative closes the repetition's body
    pos::pp_tokens_after_Bseol,
    pos::pp_tokens_after_Id,
    pos::pp_tokens_after_Char,
    pos::pp_tokens_after_String,
    pos::pp_tokens_after_Float,
    pos::pp_tokens_after_DecimalInt,
    pos::pp_tokens_after_HexInt,
    pos::pp_tokens_after_OctInt,
    pos::pp_tokens_after_Unsigned,
    pos::pp_tokens_after_NotOtherPpTokenChar,
    pos::pp_tokens_after_Rparen,
    pos::pp_tokens_after_Lparen,
    pos::pp_tokens_after_cpp_operator,
    pos::pp_tokens_after_macro_call_begin,
    // cpp_operator: each operator is the whole production
    pos::cpp_operator_after_Colon,
    pos::cpp_operator_after_Question,
    pos::cpp_operator_after_Arrow,
    pos::cpp_operator_after_LBrace,
    pos::cpp_operator_after_RBrace,
    pos::cpp_operator_after_LBracket,
    pos::cpp_operator_after_RBracket,
    pos::cpp_operator_after_Star,
    pos::cpp_operator_after_Eq,
    pos::cpp_operator_after_Ne,
    pos::cpp_operator_after_Le,
    pos::cpp_operator_after_Lt,
    pos::cpp_operator_after_Ge,
    pos::cpp_operator_after_Gt,
    pos::cpp_operator_after_Slash,
    pos::cpp_operator_after_PlusPlus,
    pos::cpp_operator_after_MinusMinus,
    pos::cpp_operator_after_Percent,
    pos::cpp_operator_after_Shr,
    pos::cpp_operator_after_Shl,
    pos::cpp_operator_after_AndAnd,
    pos::cpp_operator_after_OrOr,
    pos::cpp_operator_after_Amp,
    pos::cpp_operator_after_Caret,
    pos::cpp_operator_after_Dot,
    pos::cpp_operator_after_ArrowStar,
    pos::cpp_operator_after_DotStar,
    pos::cpp_operator_after_ColonColon,
    pos::cpp_operator_after_Pipe,
    pos::cpp_operator_after_Plus,
    pos::cpp_operator_after_Minus,
    pos::cpp_operator_after_Tilde,
    pos::cpp_operator_after_Assign,
    pos::cpp_operator_after_StarAssign,
    pos::cpp_operator_after_SlashAssign,
    pos::cpp_operator_after_PercentAssign,
    pos::cpp_operator_after_PlusAssign,
    pos::cpp_operator_after_MinusAssign,
    pos::cpp_operator_after_ShrAssign,
    pos::cpp_operator_after_ShlAssign,
    pos::cpp_operator_after_AmpAssign,
    pos::cpp_operator_after_CaretAssign,
    pos::cpp_operator_after_PipeAssign,
    pos::cpp_operator_after_Bang,
    pos::cpp_operator_after_Ellipsis,
    // definition: the macro after PD_DEFINE
    pos::definition_after_object_like_macro,
    pos::definition_after_function_like_macro,
    // error_line: EOL, last
    pos::error_line_after_Eol,
    // if_begin: each alternative is the whole production
    pos::if_begin_after_ifdef_line,
    pos::if_begin_after_ifndef_line,
    pos::if_begin_after_if_line,
    // groups: group closes its repetition; EOL before the empty-able skip_group
    pos::groups_after_group,
    pos::groups_after_Eol,
    pos::groups_after_skip_group,
    // if_end: each alternative is the whole production
    pos::if_end_after_PdEndif,
    pos::if_end_after_elif_section,
    pos::if_end_after_else_section,
    // line_line: EOL, last
    pos::line_line_after_Eol,
    // macro_call_begin: the call that follows MACRO_CALL_BEGIN is optional
    pos::macro_call_begin_after_MacroCallBegin,
    pos::macro_call_begin_after_macro_call,
    // pragma_line: EOL, last
    pos::pragma_line_after_Eol,
    // undef_line: ID, last
    pos::undef_line_after_Id,
    // warning_line: EOL, last
    pos::warning_line_after_Eol,
    // ifdef_line: ID, last
    pos::ifdef_line_after_Id,
    // elif_section: if_end, last
    pos::elif_section_after_if_end,
    // else_section: PD_ENDIF, last
    pos::else_section_after_PdEndif,
    // function_like_macro: EOL, last (all else: more follows)
    pos::function_like_macro_after_Eol,
    // ifndef_line: ID, last
    pos::ifndef_line_after_Id,
    // if_line: const_expr, last
    pos::if_line_after_const_expr,
    // macro_call: ")", last (the arguments and ",": more follows)
    pos::macro_call_after_Rparen,
    // object_like_macro: EOL, last (the replacement: EOL follows)
    pos::object_like_macro_after_Eol,
    // skip_group: skip_if_section closes the repetition's body
    pos::skip_group_after_skip_if_section,
    // const_expr: before the optional "?:" part, and its last operand
    pos::const_expr_after_log_or_expr,
    pos::const_expr_after_Colon_const_expr,
    // elif_begin_line: const_expr, last
    pos::elif_begin_line_after_const_expr,
    // else_begin_line: PD_ELSE before the optional text, the text
    pos::else_begin_line_after_PdElse,
    pos::else_begin_line_after_pp_tokens,
    // macro_token: each alternative is the whole production
    pos::macro_token_after_Id,
    pos::macro_token_after_Char,
    pos::macro_token_after_String,
    pos::macro_token_after_Float,
    pos::macro_token_after_DecimalInt,
    pos::macro_token_after_HexInt,
    pos::macro_token_after_OctInt,
    pos::macro_token_after_Unsigned,
    pos::macro_token_after_NotOtherPpTokenChar,
    pos::macro_token_after_cpp_operator,
    // macro_tokens: what closes the body ("(" and MACRO_CALL_BEGIN: a parenthesis follows)
    pos::macro_tokens_after_Eol,
    pos::macro_tokens_after_Bseol,
    pos::macro_tokens_after_macro_token,
    pos::macro_tokens_after_Lparen_macro_parenthesis,
    pos::macro_tokens_after_MacroCallBegin_macro_parenthesis,
    pos::macro_tokens_after_Hash,
    pos::macro_tokens_after_HashHash,
    // skip_if_section: skip_if_end, last
    pos::skip_if_section_after_skip_if_end,
    // log_or_expr: first operand and the operand after "||" ("||": an operand follows)
    pos::log_or_expr_after_log_and_expr,
    pos::log_or_expr_after_OrOr_log_and_expr,
    // macro_parenthesis: ")", last
    pos::macro_parenthesis_after_Rparen,
    // skip_if_begin: each alternative is the whole production
    pos::skip_if_begin_after_PdIfdef,
    pos::skip_if_begin_after_PdIfndef,
    pos::skip_if_begin_after_PdIf,
    // skip_if_end: PD_ENDIF before its optional EOL, and each alternative's end
    pos::skip_if_end_after_PdEndif,
    pos::skip_if_end_after_Eol,
    pos::skip_if_end_after_skip_elif_section,
    pos::skip_if_end_after_skip_else_section,
    // log_and_expr: the operands ("&&": an operand follows)
    pos::log_and_expr_after_inclusive_or_expr,
    pos::log_and_expr_after_AndAnd_inclusive_or_expr,
    // skip_elif_section: skip_if_end, last
    pos::skip_elif_section_after_skip_if_end,
    // skip_else_section: EOL, last
    pos::skip_else_section_after_Eol,
    // inclusive_or_expr: the operands ("|": an operand follows)
    pos::inclusive_or_expr_after_exclusive_or_expr,
    pos::inclusive_or_expr_after_Pipe_exclusive_or_expr,
    // exclusive_or_expr: the operands ("^": an operand follows)
    pos::exclusive_or_expr_after_and_expr,
    pos::exclusive_or_expr_after_Caret_and_expr,
    // and_expr: the operands ("&": an operand follows)
    pos::and_expr_after_equality_expr,
    pos::and_expr_after_Amp_equality_expr,
    // equality_expr: the operands ("==", "!=": an operand follows)
    pos::equality_expr_after_relational_expr,
    pos::equality_expr_after_Eq_relational_expr,
    pos::equality_expr_after_Ne_relational_expr,
    // relational_expr: the operands (the operators: an operand follows)
    pos::relational_expr_after_shift_expr,
    pos::relational_expr_after_Le_shift_expr,
    pos::relational_expr_after_Ge_shift_expr,
    pos::relational_expr_after_Lt_shift_expr,
    pos::relational_expr_after_Gt_shift_expr,
    // shift_expr: the operands (">>", "<<": an operand follows)
    pos::shift_expr_after_add_expr,
    pos::shift_expr_after_Shr_add_expr,
    pos::shift_expr_after_Shl_add_expr,
    // add_expr: the operands ("+", "-": an operand follows)
    pos::add_expr_after_multiply_expr,
    pos::add_expr_after_Plus_multiply_expr,
    pos::add_expr_after_Minus_multiply_expr,
    // multiply_expr: the operands ("*", "/", "%": an operand follows)
    pos::multiply_expr_after_unary_expr,
    pos::multiply_expr_after_Star_unary_expr,
    pos::multiply_expr_after_Slash_unary_expr,
    pos::multiply_expr_after_Percent_unary_expr,
    // unary_expr: prim_expr and the operand of each unary operator
    pos::unary_expr_after_prim_expr,
    pos::unary_expr_after_Plus_unary_expr,
    pos::unary_expr_after_Minus_unary_expr,
    pos::unary_expr_after_Tilde_unary_expr,
    pos::unary_expr_after_Bang_unary_expr,
    // prim_expr: ID, constant, defined's ID and the closing ")"s
    pos::prim_expr_after_Id,
    pos::prim_expr_after_constant,
    pos::prim_expr_after_Defined_Id,
    pos::prim_expr_after_Defined_Rparen,
    pos::prim_expr_after_Rparen,
    // constant: each alternative is the whole production
    pos::constant_after_Char,
    pos::constant_after_Float,
    pos::constant_after_DecimalInt,
    pos::constant_after_HexInt,
    pos::constant_after_OctInt,
    // comment: each alternative closes the repetition's body
    pos::comment_after_LineComment,
    pos::comment_after_block_comment,
    // block_comment: "*/", last
    pos::block_comment_after_StarSlash,
    // header: outer_group, last
    pos::header_after_outer_group,
    // IncludePaths: EOF and EOL close the repetition's body
    pos::IncludePaths_after_Eof,
    pos::IncludePaths_after_Eol,
    // re_macro_call: each alternative closes the repetition's body
    pos::re_macro_call_after_Eol,
    pos::re_macro_call_after_re_pp_tokens,
    // re_pp_tokens: every alternative closes the repetition's body
    pos::re_pp_tokens_after_Bseol,
    pos::re_pp_tokens_after_Id,
    pos::re_pp_tokens_after_Char,
    pos::re_pp_tokens_after_String,
    pos::re_pp_tokens_after_Float,
    pos::re_pp_tokens_after_DecimalInt,
    pos::re_pp_tokens_after_HexInt,
    pos::re_pp_tokens_after_OctInt,
    pos::re_pp_tokens_after_Unsigned,
    pos::re_pp_tokens_after_NotOtherPpTokenChar,
    pos::re_pp_tokens_after_Rparen,
    pos::re_pp_tokens_after_Lparen,
    pos::re_pp_tokens_after_cpp_operator,
    pos::re_pp_tokens_after_macro_call_begin,
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
