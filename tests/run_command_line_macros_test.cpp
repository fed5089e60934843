// Macros given on the command line (-D, -U): applied in order before the
// input, as the directive lines they stand for, without moving the input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/CommandLineMacros.h"
#include "orvo/Run.h"
#include "tests/support/RunHelpers.h"

namespace orvo::test {
namespace {

CommandLineMacro define(std::string text) {
  return {CommandLineMacro::Kind::Define, std::move(text)};
}
CommandLineMacro undefine(std::string text) {
  return {CommandLineMacro::Kind::Undefine, std::move(text)};
}

RunOptions with(std::vector<CommandLineMacro> macros) {
  RunOptions options;
  options.commandLineMacros = std::move(macros);
  return options;
}

TEST(CommandLineMacros, AppliedInOrderBeforeTheInput) {
  const struct {
    std::vector<CommandLineMacro> macros;
    std::string input, output;
    const char* warning = nullptr;  // the one warning about the entries, if any
  } cases[] = {
      {{define("A")}, "A", "1"},
      {{define("A=5")}, "A", "5"},
      {{define("A=")}, "[A]", "[]"},
      {{define("A=x = y")}, "A", "x = y"},         // only the first '=' separates
      {{define("F(x)=(x*x)")}, "F(3) F", "(3*3)  F"},  // the spacing of text lines
      {{define("F(x)")}, "F(3)", "1 "},
      {{define("F(a,b)=b-a")}, "F(1,2)", "2-1 "},
      {{define("A=1"), define("A=2")}, "A", "2", "\"A\" redefined"},
      {{define("A"), undefine("A")}, "A", "A"},
      {{undefine("A"), define("A=3")}, "A", "3"},
      {{undefine("__cplusplus")}, "__cplusplus __LINE__", "__cplusplus 1"},
      {{undefine("__cplusplus"), define("__cplusplus=201703L")}, "__cplusplus", "201703L"},
      {{undefine("NEVER_DEFINED")}, "x", "x"},
      // Directives of the input see them, and may change them.
      {{define("A")}, "#ifdef A\r\nyes\r\n#endif\r\n", "\r\nyes\r\n\r\n"},
      {{define("A")}, "#undef A\r\nA", "\r\nA"},
      {{define("B=A"), define("A=2")}, "B", "2"},  // rescanned at the point of use
      // A value ends at its line break: an entry is one directive, never more.
      {{define("A=1\n#define B 2")}, "A B", "1 B"},
      {{define("A=1\r\nB")}, "A", "1"},
  };
  for (const auto& c : cases) {
    const RunResult result = runPreprocessor(c.input, with(c.macros));
    ASSERT_TRUE(result.ok()) << c.macros.front().text << ": " << result.error->text;
    EXPECT_EQ(result.output, c.output) << c.macros.front().text;
    if (c.warning == nullptr) {
      EXPECT_TRUE(result.diagnostics.empty()) << c.macros.front().text;
    } else {
      ASSERT_EQ(result.diagnostics.size(), 1u) << c.macros.front().text;
      EXPECT_EQ(result.diagnostics[0].text, c.warning);
    }
  }
}

TEST(CommandLineMacros, BadEntriesEndTheRunNamingTheEntry) {
  const struct {
    CommandLineMacro macro;
    std::string text;
  } cases[] = {
      {define(""), "'-D ': macro name must be an identifier"},
      {define("=1"), "'-D =1': macro name must be an identifier"},
      {define("1A"), "'-D 1A': macro name must be an identifier"},
      {define("A-B=1"), "'-D A-B=1': macro name must be an identifier"},
      {define("F (x)=1"), "'-D F (x)=1': macro name must be an identifier"},
      {define("F(x=1"), "'-D F(x=1': ')' expected after the parameter list"},
      {undefine("A=1"), "'-U A=1': macro name must be an identifier"},
      {undefine(""), "'-U ': macro name must be an identifier"},
      // Errors of the definition itself, from the parser.
      {define("F(x y)=1"), "'-D F(x y)=1': ID found; ) expected"},
      {define("A=/* open"), "'-D A=/* open': */ expected"},
  };
  for (const auto& c : cases) {
    const RunResult result = runPreprocessor("A\n", with({define("OK"), c.macro}));
    ASSERT_FALSE(result.ok()) << c.text;
    EXPECT_EQ(result.error->text, c.text);
    EXPECT_TRUE(result.error->fromCommandLine);
    EXPECT_FALSE(result.error->hasPosition()) << "no place in the input to select";
    EXPECT_EQ(result.output, "");
  }
}

TEST(CommandLineMacros, InputPositionsAreUnchanged) {
  const std::string input = "a\n#warning here\nb\n#endif\n";
  const RunResult plain = runPreprocessor(input, {});
  const RunResult defined =
      runPreprocessor(input, with({define("A=1"), define("F(x)=x"), undefine("B")}));
  ASSERT_FALSE(plain.ok());
  ASSERT_FALSE(defined.ok());
  EXPECT_FALSE(defined.error->fromCommandLine);
  EXPECT_EQ(defined.error->text, plain.error->text);
  EXPECT_EQ(defined.error->begin, plain.error->begin);
  EXPECT_EQ(defined.error->end, plain.error->end);
  ASSERT_EQ(defined.diagnostics.size(), 1u);
  ASSERT_TRUE(defined.diagnostics[0].place && plain.diagnostics[0].place);
  EXPECT_EQ(defined.diagnostics[0].place->begin, plain.diagnostics[0].place->begin);
}

TEST(CommandLineMacros, WarningsAreKeptApartFromTheInputs) {
  // A predefined value hides a definition of its name: say so.
  RunResult result = runPreprocessor("__cplusplus", with({define("__cplusplus=2")}));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.output, "1");
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].text,
            "'-D __cplusplus=2' has no effect: __cplusplus is predefined; put "
            "'-U __cplusplus' before it");
  EXPECT_EQ(result.diagnostics[0].severity, Severity::Warning);
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->file, kCommandLinePlace);
  EXPECT_FALSE(result.diagnostics[0].place->known());

  result = runPreprocessor("F(1)", with({define("F(x)=x"), define("F(y)=-y")}));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.output, "-1 ");
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].text, "F found again");
  ASSERT_TRUE(result.diagnostics[0].place);
  EXPECT_EQ(result.diagnostics[0].place->file, kCommandLinePlace);
}

}  // namespace
}  // namespace orvo::test
