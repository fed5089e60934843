// Syntax errors of conditional sections and constant expressions, checked by
// the production and grammar element that report them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "grammar/Cpreprocess_fileParser.h"
#include "runtime/ParseStatePlugin.h"
#include "support/RunHelpers.h"

namespace orvo {
namespace {

struct Reported {
  std::string text;
  std::string production;
  std::string element;
};

// The syntax error that ends a run over `input`.
Reported syntaxErrorOf(const std::string& input) {
  std::ostringstream out;
  CVL_ParseStatePlugin plugin(&out);
  Cpreprocess_fileParser parser;
  try {
    parser.parse(input.data(), input.data() + input.size(), &plugin);
  } catch (const CVL_ParseError& e) {
    return {e.text(), e.production(), e.symbol()};
  }
  return {"<no error>", "", ""};
}

// The text ends with what went wrong; what it says was found in front of
// that depends on how far the scanner got.
bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(ConditionalSyntaxError, NamesTheProductionAndElement) {
  using orvo::test::crlf;
  const struct {
    std::string input;
    const char* text;
    const char* production;
    const char* element;
  } cases[] = {
      // Missing endif, after a taken and after a skipped branch.
      {crlf({"#if 1", "a"}), "unexpected token", "if_end", "Alt0_of_if_end"},
      {crlf({"#if 0", "a"}), "unexpected token", "if_end", "Alt0_of_if_end"},
      // An elif or else after an else.
      {crlf({"#if 0", "#else", "#elif 1", "#endif"}), "PD_ENDIF expected", "else_section",
       "PD_ENDIF_T0_of_else_section"},
      {crlf({"#if 1", "#else", "x", "#else", "#endif"}), "PD_ENDIF expected", "else_section",
       "PD_ENDIF_T0_of_else_section"},
      // A skipped else branch whose endif ends the input.
      {crlf({"#if 0", "#if 1", "#else", "#endif"}), "EOL expected", "skip_else_section",
       "EOL_T2_of_skip_else_section"},
      // Text after a directive whose branch is not taken.
      {crlf({"#ifdef X junk", "#endif"}), "unexpected token", "groups", "If0_of_groups"},
      {crlf({"#if 0 junk", "#endif"}), "unexpected token", "groups", "If0_of_groups"},
      {crlf({"#ifdef +", "#endif"}), "ID expected", "ifdef_line", "ID_T1_of_ifdef_line"},
      {crlf({"#ifndef", "#endif"}), "ID expected", "ifndef_line", "ID_T1_of_ifndef_line"},
      {crlf({"#if", "#endif"}), "unexpected token", "unary_expr", "Alt0_of_unary_expr"},
      {crlf({"#if (1", "#endif"}), ") expected", "prim_expr", "Rparen_T6_of_prim_expr"},
      {crlf({"#if defined(1", "#endif"}), ") expected", "prim_expr", "Rparen_T3_of_prim_expr"},
      {crlf({"#if defined +1", "#endif"}), "unexpected token", "prim_expr",
       "Alt2_of_Alt1_of_Alt0_of_prim_expr"},
      {crlf({"#if 1 ? 2", "#endif"}), ": expected", "const_expr", "Colon_T1_of_const_expr"},
  };
  for (const auto& c : cases) {
    const Reported reported = syntaxErrorOf(c.input);
    EXPECT_TRUE(EndsWith(reported.text, c.text)) << c.input << ": " << reported.text;
    EXPECT_EQ(reported.production, c.production) << c.input;
    EXPECT_EQ(reported.element, c.element) << c.input;
  }
}

}  // namespace
}  // namespace orvo
