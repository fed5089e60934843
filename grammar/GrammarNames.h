// Production and grammar-element indices, as handed to enter and lookahead
// and named in messages. The lists are the single source of both the
// constants and the name tables.
#pragma once

namespace orvo {

// Production numbers (index 0 is the grammar's own name).
#define ORVO_PRODUCTIONS(X) \
  X(preprocess_file) \
  X(outer_group) \
  X(group) \
  X(control_line) \
  X(if_section) \
  X(include_line) \
  X(pp_tokens) \
  X(cpp_operator) \
  X(definition) \
  X(error_line) \
  X(if_begin) \
  X(groups) \
  X(if_end) \
  X(line_line) \
  X(macro_call_begin) \
  X(pragma_line) \
  X(undef_line) \
  X(warning_line) \
  X(ifdef_line) \
  X(elif_section) \
  X(else_section) \
  X(function_like_macro) \
  X(ifndef_line) \
  X(if_line) \
  X(macro_call) \
  X(object_like_macro) \
  X(skip_group) \
  X(const_expr) \
  X(elif_begin_line) \
  X(else_begin_line) \
  X(macro_token) \
  X(macro_tokens) \
  X(skip_if_section) \
  X(log_or_expr) \
  X(macro_parenthesis) \
  X(skip_if_begin) \
  X(skip_if_end) \
  X(log_and_expr) \
  X(skip_elif_section) \
  X(skip_else_section) \
  X(inclusive_or_expr) \
  X(exclusive_or_expr) \
  X(and_expr) \
  X(equality_expr) \
  X(relational_expr) \
  X(shift_expr) \
  X(add_expr) \
  X(multiply_expr) \
  X(unary_expr) \
  X(prim_expr) \
  X(constant) \
  X(comment) \
  X(block_comment) \
  X(header) \
  X(IncludePaths) \
  X(re_macro_call) \
  X(re_pp_tokens)

namespace prod {
enum : int {
  grammar = 0,
#define ORVO_PRODUCTION_ENUM(name) name,
  ORVO_PRODUCTIONS(ORVO_PRODUCTION_ENUM)
#undef ORVO_PRODUCTION_ENUM
  count
};
}  // namespace prod

// Grammar elements after the five runtime entries (EOF, EPS, EXIT OK,
// EXIT ERROR, BREAK), in generation order.
#define ORVO_ELEMENTS(X) \
  X(Sem0_of_preprocess_file) \
  X(Sem1_of_preprocess_file) \
  X(OptRep0_of_outer_group) \
  X(Alt0_of_group) \
  X(Sem0_of_Alt0_of_group) \
  X(Alt0_of_control_line) \
  X(Sem0_of_if_section) \
  X(Sem0_of_include_line) \
  X(Sem1_of_include_line) \
  X(Sem0_of_pp_tokens) \
  X(Sem1_of_Alt0_of_Rep0_of_pp_tokens) \
  X(Alt0_of_Rep0_of_pp_tokens) \
  X(Sem2_of_Alt0_of_Rep0_of_pp_tokens) \
  X(Alt1_of_Alt0_of_Rep0_of_pp_tokens) \
  X(Sem3_of_Alt0_of_Rep0_of_pp_tokens) \
  X(Rep0_of_pp_tokens) \
  X(Sem4_of_pp_tokens) \
  X(Alt0_of_cpp_operator) \
  X(Alt0_of_definition) \
  X(Opt0_of_error_line) \
  X(Sem0_of_error_line) \
  X(Alt0_of_if_begin) \
  X(OptRep0_of_If0_of_groups) \
  X(If0_of_groups) \
  X(Alt0_of_if_end) \
  X(Opt0_of_line_line) \
  X(Sem0_of_If0_of_macro_call_begin) \
  X(Sem1_of_If0_of_macro_call_begin) \
  X(Sem2_of_If0_of_macro_call_begin) \
  X(If0_of_macro_call_begin) \
  X(Opt0_of_pragma_line) \
  X(Sem0_of_undef_line) \
  X(Sem0_of_warning_line) \
  X(Sem0_of_ifdef_line) \
  X(Sem0_of_elif_section) \
  X(Sem0_of_function_like_macro) \
  X(Sem1_of_function_like_macro) \
  X(Sem2_of_Opt0_of_function_like_macro) \
  X(Sem3_of_OptRep0_of_Opt0_of_function_like_macro) \
  X(OptRep0_of_Opt0_of_function_like_macro) \
  X(Opt0_of_function_like_macro) \
  X(Alt1_of_Alt0_of_OptRep1_of_function_like_macro) \
  X(Sem4_of_Alt0_of_OptRep1_of_function_like_macro) \
  X(Alt0_of_OptRep1_of_function_like_macro) \
  X(Sem5_of_Alt0_of_OptRep1_of_function_like_macro) \
  X(Sem6_of_Alt0_of_OptRep1_of_function_like_macro) \
  X(OptRep1_of_function_like_macro) \
  X(Sem7_of_function_like_macro) \
  X(Sem0_of_ifndef_line) \
  X(Sem0_of_macro_call) \
  X(Sem1_of_macro_call) \
  X(Sem2_of_macro_call) \
  X(Sem3_of_OptRep0_of_macro_call) \
  X(Sem4_of_OptRep0_of_macro_call) \
  X(OptRep0_of_macro_call) \
  X(Sem5_of_macro_call) \
  X(Sem6_of_macro_call) \
  X(Sem0_of_object_like_macro) \
  X(Sem1_of_object_like_macro) \
  X(Alt0_of_OptRep0_of_object_like_macro) \
  X(Sem2_of_Alt0_of_OptRep0_of_object_like_macro) \
  X(Alt1_of_Alt0_of_OptRep0_of_object_like_macro) \
  X(Sem3_of_Alt0_of_OptRep0_of_object_like_macro) \
  X(OptRep0_of_object_like_macro) \
  X(Sem4_of_object_like_macro) \
  X(Alt0_of_OptRep0_of_skip_group) \
  X(OptRep0_of_skip_group) \
  X(Opt0_of_const_expr) \
  X(Opt0_of_else_begin_line) \
  X(Alt0_of_macro_token) \
  X(Sem0_of_macro_tokens) \
  X(Sem1_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem2_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem3_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem4_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem5_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem6_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem7_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(Sem8_of_Alt0_of_OptRep0_of_macro_tokens) \
  X(OptRep0_of_macro_tokens) \
  X(OptRep0_of_skip_if_section) \
  X(Sem0_of_OptRep0_of_log_or_expr) \
  X(Sem1_of_OptRep0_of_log_or_expr) \
  X(OptRep0_of_log_or_expr) \
  X(Sem0_of_macro_parenthesis) \
  X(Sem1_of_macro_parenthesis) \
  X(Alt0_of_skip_if_begin) \
  X(Alt0_of_skip_if_end) \
  X(Opt0_of_Alt0_of_skip_if_end) \
  X(Sem0_of_OptRep0_of_log_and_expr) \
  X(Sem1_of_OptRep0_of_log_and_expr) \
  X(OptRep0_of_log_and_expr) \
  X(OptRep0_of_skip_elif_section) \
  X(OptRep0_of_skip_else_section) \
  X(Sem0_of_OptRep0_of_inclusive_or_expr) \
  X(Sem1_of_OptRep0_of_inclusive_or_expr) \
  X(OptRep0_of_inclusive_or_expr) \
  X(Sem0_of_OptRep0_of_exclusive_or_expr) \
  X(Sem1_of_OptRep0_of_exclusive_or_expr) \
  X(OptRep0_of_exclusive_or_expr) \
  X(Sem0_of_OptRep0_of_and_expr) \
  X(Sem1_of_OptRep0_of_and_expr) \
  X(OptRep0_of_and_expr) \
  X(Sem0_of_OptRep0_of_equality_expr) \
  X(Sem1_of_Alt0_of_OptRep0_of_equality_expr) \
  X(Alt0_of_OptRep0_of_equality_expr) \
  X(Sem2_of_Alt0_of_OptRep0_of_equality_expr) \
  X(OptRep0_of_equality_expr) \
  X(Sem0_of_OptRep0_of_relational_expr) \
  X(Sem1_of_Alt0_of_OptRep0_of_relational_expr) \
  X(Alt0_of_OptRep0_of_relational_expr) \
  X(Sem2_of_Alt0_of_OptRep0_of_relational_expr) \
  X(Sem3_of_Alt0_of_OptRep0_of_relational_expr) \
  X(Sem4_of_Alt0_of_OptRep0_of_relational_expr) \
  X(Sem5_of_Alt0_of_OptRep0_of_relational_expr) \
  X(OptRep0_of_relational_expr) \
  X(Sem0_of_OptRep0_of_shift_expr) \
  X(Sem1_of_Alt0_of_OptRep0_of_shift_expr) \
  X(Alt0_of_OptRep0_of_shift_expr) \
  X(Sem2_of_Alt0_of_OptRep0_of_shift_expr) \
  X(OptRep0_of_shift_expr) \
  X(Sem0_of_OptRep0_of_add_expr) \
  X(Sem1_of_Alt0_of_OptRep0_of_add_expr) \
  X(Alt0_of_OptRep0_of_add_expr) \
  X(Sem2_of_Alt0_of_OptRep0_of_add_expr) \
  X(OptRep0_of_add_expr) \
  X(Sem0_of_OptRep0_of_multiply_expr) \
  X(Sem1_of_Alt0_of_OptRep0_of_multiply_expr) \
  X(Alt0_of_OptRep0_of_multiply_expr) \
  X(Sem2_of_Alt0_of_OptRep0_of_multiply_expr) \
  X(Sem3_of_Alt0_of_OptRep0_of_multiply_expr) \
  X(OptRep0_of_multiply_expr) \
  X(Alt0_of_unary_expr) \
  X(Sem0_of_Alt0_of_unary_expr) \
  X(Sem1_of_Alt0_of_unary_expr) \
  X(Sem2_of_Alt0_of_unary_expr) \
  X(Sem3_of_Alt0_of_unary_expr) \
  X(Alt1_of_Alt0_of_prim_expr) \
  X(Sem0_of_Alt1_of_Alt0_of_prim_expr) \
  X(Alt2_of_Alt1_of_Alt0_of_prim_expr) \
  X(Sem1_of_Alt2_of_Alt1_of_Alt0_of_prim_expr) \
  X(Alt0_of_prim_expr) \
  X(Alt0_of_constant) \
  X(Sem0_of_constant) \
  X(Alt0_of_Rep0_of_comment) \
  X(Sem0_of_Rep0_of_comment) \
  X(Rep0_of_comment) \
  X(OptRep0_of_block_comment) \
  X(Sem0_of_OptRep0_of_IncludePaths) \
  X(Alt0_of_OptRep0_of_IncludePaths) \
  X(OptRep0_of_IncludePaths) \
  X(Sem0_of_re_macro_call) \
  X(Sem1_of_Alt0_of_Rep0_of_re_macro_call) \
  X(Alt0_of_Rep0_of_re_macro_call) \
  X(Sem2_of_Alt0_of_Rep0_of_re_macro_call) \
  X(Rep0_of_re_macro_call) \
  X(Sem0_of_re_pp_tokens) \
  X(Sem1_of_Alt0_of_Rep0_of_re_pp_tokens) \
  X(Alt0_of_Rep0_of_re_pp_tokens) \
  X(Sem2_of_Alt0_of_Rep0_of_re_pp_tokens) \
  X(Alt1_of_Alt0_of_Rep0_of_re_pp_tokens) \
  X(Sem3_of_Alt0_of_Rep0_of_re_pp_tokens) \
  X(Rep0_of_re_pp_tokens)

namespace elem {
enum : int {
  EOF_ = 0, EPS_, EXIT_OK, EXIT_ERROR, BREAK_,
#define ORVO_ELEMENT_ENUM(name) name,
  ORVO_ELEMENTS(ORVO_ELEMENT_ENUM)
#undef ORVO_ELEMENT_ENUM
  count
};
}  // namespace elem

}  // namespace orvo
