// Every grammar position the productions name. A position is the scanner
// index of an element: the scanner that reads the token after it, and the
// row of the rule-end flags for it. `<production>_after_<element>` names the
// position after an element of a production (a token kind, or a production
// it calls); where one production has the same element twice, the token
// before it tells them apart. `<production>_start` is the position a parse
// of that production starts from. The scanner table lists every position by
// number (its rows are data for the scanner layer, which knows no grammar);
// the six it lists that no production names have no name here.
#pragma once

namespace orvo {

// Number of grammar positions: every element of the grammar has one.
inline constexpr int kGrammarPositions = 300;

#define ORVO_GRAMMAR_POSITIONS(X)                            \
  X(comment_after_LineComment, 7)                            \
  X(comment_after_block_comment, 6)                          \
  X(block_comment_after_SlashStar, 8)                        \
  X(block_comment_after_StarSlash, 9)                        \
  X(if_section_after_if_begin, 26)                           \
  X(if_section_after_groups, 27)                             \
  X(if_section_after_if_end, 28)                             \
  X(if_begin_after_ifdef_line, 212)                          \
  X(if_begin_after_ifndef_line, 214)                         \
  X(if_begin_after_if_line, 213)                             \
  X(if_line_after_PdIf, 106)                                 \
  X(if_line_after_const_expr, 107)                           \
  X(ifdef_line_after_PdIfdef, 249)                           \
  X(ifdef_line_after_Id, 250)                                \
  X(ifndef_line_after_PdIfndef, 269)                         \
  X(ifndef_line_after_Id, 270)                               \
  X(groups_after_group, 215)                                 \
  X(groups_after_Eol, 216)                                   \
  X(groups_after_skip_group, 217)                            \
  X(if_end_after_PdEndif, 175)                               \
  X(if_end_after_elif_section, 218)                          \
  X(if_end_after_else_section, 174)                          \
  X(elif_section_after_elif_begin_line, 251)                 \
  X(elif_section_after_groups, 252)                          \
  X(elif_section_after_if_end, 253)                          \
  X(elif_begin_line_after_PdElif, 246)                       \
  X(elif_begin_line_after_const_expr, 247)                   \
  X(else_section_after_else_begin_line, 254)                 \
  X(else_section_after_groups, 255)                          \
  X(else_section_after_PdEndif, 256)                         \
  X(else_begin_line_after_PdElse, 62)                        \
  X(else_begin_line_after_pp_tokens, 63)                     \
  X(skip_group_after_skip_if_section, 170)                   \
  X(skip_if_section_after_skip_if_begin, 40)                 \
  X(skip_if_section_after_skip_group, 41)                    \
  X(skip_if_section_after_skip_if_end, 42)                   \
  X(skip_if_begin_after_PdIfdef, 190)                        \
  X(skip_if_begin_after_PdIfndef, 160)                       \
  X(skip_if_begin_after_PdIf, 191)                           \
  X(skip_if_end_after_PdEndif, 163)                          \
  X(skip_if_end_after_Eol, 164)                              \
  X(skip_if_end_after_skip_elif_section, 161)                \
  X(skip_if_end_after_skip_else_section, 162)                \
  X(skip_elif_section_after_PdElif, 168)                     \
  X(skip_elif_section_after_skip_group, 279)                 \
  X(skip_elif_section_after_skip_if_end, 79)                 \
  X(skip_else_section_after_PdElse, 80)                      \
  X(skip_else_section_after_skip_group, 81)                  \
  X(skip_else_section_after_PdEndif, 82)                     \
  X(skip_else_section_after_Eol, 83)                         \
  X(error_line_after_PdError, 209)                           \
  X(error_line_after_pp_tokens, 210)                         \
  X(error_line_after_Eol, 211)                               \
  X(warning_line_after_PdWarning, 186)                       \
  X(warning_line_after_Eol, 248)                             \
  X(line_line_after_PdLine, 176)                             \
  X(line_line_after_pp_tokens, 177)                          \
  X(line_line_after_Eol, 178)                                \
  X(pragma_line_after_PdPragma, 181)                         \
  X(pragma_line_after_pp_tokens, 182)                        \
  X(pragma_line_after_Eol, 183)                              \
  X(undef_line_after_PdUndef, 184)                           \
  X(undef_line_after_Id, 185)                                \
  X(const_expr_after_log_or_expr, 171)                       \
  X(const_expr_after_Question, 172)                          \
  X(const_expr_after_Question_const_expr, 173)               \
  X(const_expr_after_Colon, 244)                             \
  X(const_expr_after_Colon_const_expr, 245)                  \
  X(log_or_expr_after_log_and_expr, 43)                      \
  X(log_or_expr_after_OrOr, 236)                             \
  X(log_or_expr_after_OrOr_log_and_expr, 237)                \
  X(log_and_expr_after_inclusive_or_expr, 165)               \
  X(log_and_expr_after_AndAnd, 166)                          \
  X(log_and_expr_after_AndAnd_inclusive_or_expr, 167)        \
  X(inclusive_or_expr_after_exclusive_or_expr, 84)           \
  X(inclusive_or_expr_after_Pipe, 85)                        \
  X(inclusive_or_expr_after_Pipe_exclusive_or_expr, 86)      \
  X(exclusive_or_expr_after_and_expr, 87)                    \
  X(exclusive_or_expr_after_Caret, 88)                       \
  X(exclusive_or_expr_after_Caret_and_expr, 89)              \
  X(and_expr_after_equality_expr, 90)                        \
  X(and_expr_after_Amp, 91)                                  \
  X(and_expr_after_Amp_equality_expr, 92)                    \
  X(equality_expr_after_relational_expr, 93)                 \
  X(equality_expr_after_Eq, 94)                              \
  X(equality_expr_after_Eq_relational_expr, 95)              \
  X(equality_expr_after_Ne, 280)                             \
  X(equality_expr_after_Ne_relational_expr, 97)              \
  X(relational_expr_after_shift_expr, 98)                    \
  X(relational_expr_after_Le, 99)                            \
  X(relational_expr_after_Le_shift_expr, 221)                \
  X(relational_expr_after_Ge, 100)                           \
  X(relational_expr_after_Ge_shift_expr, 101)                \
  X(relational_expr_after_Lt, 102)                           \
  X(relational_expr_after_Lt_shift_expr, 103)                \
  X(relational_expr_after_Gt, 104)                           \
  X(relational_expr_after_Gt_shift_expr, 105)                \
  X(shift_expr_after_add_expr, 219)                          \
  X(shift_expr_after_Shr, 206)                               \
  X(shift_expr_after_Shr_add_expr, 207)                      \
  X(shift_expr_after_Shl, 204)                               \
  X(shift_expr_after_Shl_add_expr, 205)                      \
  X(add_expr_after_multiply_expr, 220)                       \
  X(add_expr_after_Plus, 70)                                 \
  X(add_expr_after_Plus_multiply_expr, 169)                  \
  X(add_expr_after_Minus, 195)                               \
  X(add_expr_after_Minus_multiply_expr, 196)                 \
  X(multiply_expr_after_unary_expr, 197)                     \
  X(multiply_expr_after_Star, 198)                           \
  X(multiply_expr_after_Star_unary_expr, 199)                \
  X(multiply_expr_after_Slash, 200)                          \
  X(multiply_expr_after_Slash_unary_expr, 201)               \
  X(multiply_expr_after_Percent, 202)                        \
  X(multiply_expr_after_Percent_unary_expr, 203)             \
  X(unary_expr_after_prim_expr, 271)                         \
  X(unary_expr_after_Plus, 272)                              \
  X(unary_expr_after_Plus_unary_expr, 273)                   \
  X(unary_expr_after_Minus, 274)                             \
  X(unary_expr_after_Minus_unary_expr, 275)                  \
  X(unary_expr_after_Tilde, 276)                             \
  X(unary_expr_after_Tilde_unary_expr, 277)                  \
  X(unary_expr_after_Bang, 152)                              \
  X(unary_expr_after_Bang_unary_expr, 153)                   \
  X(prim_expr_after_Id, 155)                                 \
  X(prim_expr_after_constant, 154)                           \
  X(prim_expr_after_Defined, 156)                            \
  X(prim_expr_after_Defined_Id, 44)                          \
  X(prim_expr_after_Defined_Lparen, 157)                     \
  X(prim_expr_after_Defined_Lparen_const_expr, 158)          \
  X(prim_expr_after_Defined_Rparen, 159)                     \
  X(prim_expr_after_Lparen, 45)                              \
  X(prim_expr_after_Lparen_const_expr, 46)                   \
  X(prim_expr_after_Rparen, 47)                              \
  X(preprocess_file_after_outer_group, 96)                   \
  X(preprocess_file_start, 14)                               \
  X(outer_group_after_group, 15)                             \
  X(group_after_Eol, 151)                                    \
  X(group_after_include_line, 18)                            \
  X(group_after_pp_tokens, 19)                               \
  X(group_after_control_line, 17)                            \
  X(group_after_if_section, 16)                              \
  X(control_line_after_definition, 20)                       \
  X(control_line_after_error_line, 23)                       \
  X(control_line_after_line_line, 25)                        \
  X(control_line_after_pragma_line, 22)                      \
  X(control_line_after_undef_line, 21)                       \
  X(control_line_after_warning_line, 24)                     \
  X(IncludePaths_after_Eof, 3)                               \
  X(IncludePaths_after_Eol, 2)                               \
  X(IncludePaths_start, 1)                                   \
  X(include_line_after_PdInclude, 71)                        \
  X(include_line_after_Eol, 72)                              \
  X(header_after_outer_group, 12)                            \
  X(header_start, 11)                                        \
  X(definition_after_PdDefine, 124)                          \
  X(definition_after_object_like_macro, 125)                 \
  X(definition_after_function_like_macro, 208)               \
  X(object_like_macro_after_name, 229)                       \
  X(object_like_macro_after_Bseol, 230)                      \
  X(object_like_macro_after_macro_call_begin, 231)           \
  X(object_like_macro_after_Eol, 243)                        \
  X(object_like_macro_after_Id, 232)                         \
  X(object_like_macro_after_Char, 29)                        \
  X(object_like_macro_after_String, 30)                      \
  X(object_like_macro_after_Float, 31)                       \
  X(object_like_macro_after_DecimalInt, 32)                  \
  X(object_like_macro_after_HexInt, 239)                     \
  X(object_like_macro_after_OctInt, 240)                     \
  X(object_like_macro_after_Unsigned, 241)                   \
  X(object_like_macro_after_NotOtherPpTokenChar, 242)        \
  X(object_like_macro_after_Rparen, 234)                     \
  X(object_like_macro_after_Lparen, 233)                     \
  X(object_like_macro_after_cpp_operator, 235)               \
  X(function_like_macro_after_MacroDefBegin, 257)            \
  X(function_like_macro_after_parameter, 258)                \
  X(function_like_macro_after_Comma, 259)                    \
  X(function_like_macro_after_Comma_parameter, 260)          \
  X(function_like_macro_after_parameters_Rparen, 261)        \
  X(function_like_macro_after_Bseol, 267)                    \
  X(function_like_macro_after_replacement_token, 262)        \
  X(function_like_macro_after_replacement_Rparen, 263)       \
  X(function_like_macro_after_Lparen, 264)                   \
  X(function_like_macro_after_Hash, 265)                     \
  X(function_like_macro_after_HashHash, 266)                 \
  X(function_like_macro_after_Eol, 268)                      \
  X(macro_call_begin_after_MacroCallBegin, 179)              \
  X(macro_call_begin_after_macro_call, 180)                  \
  X(macro_call_after_macro_tokens, 108)                      \
  X(macro_call_after_Comma, 109)                             \
  X(macro_call_after_Comma_macro_tokens, 110)                \
  X(macro_call_after_Rparen, 228)                            \
  X(macro_tokens_after_Eol, 39)                              \
  X(macro_tokens_after_Bseol, 36)                            \
  X(macro_tokens_after_macro_token, 226)                     \
  X(macro_tokens_after_Lparen, 227)                          \
  X(macro_tokens_after_Lparen_macro_parenthesis, 33)         \
  X(macro_tokens_after_MacroCallBegin, 34)                   \
  X(macro_tokens_after_MacroCallBegin_macro_parenthesis, 35) \
  X(macro_tokens_after_Hash, 37)                             \
  X(macro_tokens_after_HashHash, 38)                         \
  X(macro_parenthesis_after_macro_tokens, 238)               \
  X(macro_parenthesis_after_Rparen, 189)                     \
  X(macro_token_after_cpp_operator, 64)                      \
  X(macro_token_after_Id, 223)                               \
  X(macro_token_after_Char, 65)                              \
  X(macro_token_after_String, 66)                            \
  X(macro_token_after_Float, 67)                             \
  X(macro_token_after_DecimalInt, 68)                        \
  X(macro_token_after_HexInt, 69)                            \
  X(macro_token_after_OctInt, 222)                           \
  X(macro_token_after_Unsigned, 224)                         \
  X(macro_token_after_NotOtherPpTokenChar, 225)              \
  X(re_macro_call_after_Eol, 299)                            \
  X(re_macro_call_after_re_pp_tokens, 298)                   \
  X(re_macro_call_start, 282)                                \
  X(re_pp_tokens_after_Bseol, 285)                           \
  X(re_pp_tokens_after_Id, 286)                              \
  X(re_pp_tokens_after_macro_call_begin, 284)                \
  X(re_pp_tokens_after_Char, 288)                            \
  X(re_pp_tokens_after_String, 289)                          \
  X(re_pp_tokens_after_Float, 290)                           \
  X(re_pp_tokens_after_DecimalInt, 291)                      \
  X(re_pp_tokens_after_HexInt, 292)                          \
  X(re_pp_tokens_after_OctInt, 293)                          \
  X(re_pp_tokens_after_Unsigned, 294)                        \
  X(re_pp_tokens_after_NotOtherPpTokenChar, 295)             \
  X(re_pp_tokens_after_Rparen, 296)                          \
  X(re_pp_tokens_after_Lparen, 297)                          \
  X(re_pp_tokens_start, 283)                                 \
  X(re_pp_tokens_after_cpp_operator, 287)                    \
  X(pp_tokens_after_Bseol, 111)                              \
  X(pp_tokens_after_Id, 112)                                 \
  X(pp_tokens_after_macro_call_begin, 73)                    \
  X(pp_tokens_after_Char, 114)                               \
  X(pp_tokens_after_String, 115)                             \
  X(pp_tokens_after_Float, 278)                              \
  X(pp_tokens_after_DecimalInt, 192)                         \
  X(pp_tokens_after_HexInt, 193)                             \
  X(pp_tokens_after_OctInt, 194)                             \
  X(pp_tokens_after_Unsigned, 53)                            \
  X(pp_tokens_after_NotOtherPpTokenChar, 54)                 \
  X(pp_tokens_after_Rparen, 55)                              \
  X(pp_tokens_after_Lparen, 56)                              \
  X(pp_tokens_after_cpp_operator, 113)                       \
  X(cpp_operator_after_Colon, 57)                            \
  X(cpp_operator_after_Question, 58)                         \
  X(cpp_operator_after_Arrow, 59)                            \
  X(cpp_operator_after_LBrace, 60)                           \
  X(cpp_operator_after_RBrace, 61)                           \
  X(cpp_operator_after_LBracket, 74)                         \
  X(cpp_operator_after_RBracket, 75)                         \
  X(cpp_operator_after_Star, 76)                             \
  X(cpp_operator_after_Eq, 77)                               \
  X(cpp_operator_after_Ne, 78)                               \
  X(cpp_operator_after_Le, 187)                              \
  X(cpp_operator_after_Lt, 188)                              \
  X(cpp_operator_after_Ge, 116)                              \
  X(cpp_operator_after_Gt, 117)                              \
  X(cpp_operator_after_Slash, 118)                           \
  X(cpp_operator_after_PlusPlus, 119)                        \
  X(cpp_operator_after_MinusMinus, 120)                      \
  X(cpp_operator_after_Percent, 121)                         \
  X(cpp_operator_after_Shr, 122)                             \
  X(cpp_operator_after_Shl, 126)                             \
  X(cpp_operator_after_AndAnd, 127)                          \
  X(cpp_operator_after_OrOr, 128)                            \
  X(cpp_operator_after_Amp, 129)                             \
  X(cpp_operator_after_Caret, 130)                           \
  X(cpp_operator_after_Dot, 131)                             \
  X(cpp_operator_after_ArrowStar, 132)                       \
  X(cpp_operator_after_DotStar, 133)                         \
  X(cpp_operator_after_ColonColon, 134)                      \
  X(cpp_operator_after_Pipe, 135)                            \
  X(cpp_operator_after_Plus, 136)                            \
  X(cpp_operator_after_Minus, 137)                           \
  X(cpp_operator_after_Tilde, 138)                           \
  X(cpp_operator_after_Assign, 139)                          \
  X(cpp_operator_after_StarAssign, 140)                      \
  X(cpp_operator_after_SlashAssign, 141)                     \
  X(cpp_operator_after_PercentAssign, 142)                   \
  X(cpp_operator_after_PlusAssign, 143)                      \
  X(cpp_operator_after_MinusAssign, 144)                     \
  X(cpp_operator_after_ShrAssign, 145)                       \
  X(cpp_operator_after_ShlAssign, 146)                       \
  X(cpp_operator_after_AmpAssign, 147)                       \
  X(cpp_operator_after_CaretAssign, 148)                     \
  X(cpp_operator_after_PipeAssign, 149)                      \
  X(cpp_operator_after_Bang, 150)                            \
  X(cpp_operator_after_Ellipsis, 123)                        \
  X(constant_after_Char, 48)                                 \
  X(constant_after_Float, 52)                                \
  X(constant_after_DecimalInt, 49)                           \
  X(constant_after_HexInt, 50)                               \
  X(constant_after_OctInt, 51)

namespace pos {
#define ORVO_POSITION_CONSTANT(name, index) name = index,
enum Position : int { ORVO_GRAMMAR_POSITIONS(ORVO_POSITION_CONSTANT) };
#undef ORVO_POSITION_CONSTANT
}  // namespace pos

namespace grammar_positions_detail {
#define ORVO_POSITION_INDEX(name, index) index,
inline constexpr int kNamed[] = {ORVO_GRAMMAR_POSITIONS(ORVO_POSITION_INDEX)};
#undef ORVO_POSITION_INDEX

// Each name stands for a position of its own, inside the scanner table.
constexpr bool EachNamedOnce() {
  bool seen[kGrammarPositions] = {};
  for (const int index : kNamed) {
    if (index < 0 || index >= kGrammarPositions || seen[index]) return false;
    seen[index] = true;
  }
  return true;
}
static_assert(EachNamedOnce(), "two grammar position names share one index");
}  // namespace grammar_positions_detail

}  // namespace orvo
