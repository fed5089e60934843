// Define lines: the stored form of object-like values and function-like
// replacement lists, redefinition, and the syntax errors of a definition.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "grammar/Cpreprocess_fileParser.h"
#include "macros/MacroRecord.h"
#include "runtime/ParseStatePlugin.h"
#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::crlf;

// A parser that has read `text`; its tables hold the definitions.
class Defined {
 public:
  explicit Defined(const std::string& text) : m_Text(text), m_Plugin(&m_Out) {
    m_Parser.parse(m_Text.data(), m_Text.data() + m_Text.size(), &m_Plugin);
  }
  std::string objectValue(const std::string& name) {
    return m_Parser.m_ObjectMacros.findKey(name) ? m_Parser.m_ObjectMacros.value().value()
                                                 : "<undefined>";
  }
  // The replacement list as `label "value"` items; a parameter reference is
  // marked with a "*" after its label.
  std::string replacementList(const std::string& name) {
    if (!m_Parser.m_FunctionMacros.findKey(name)) return "<undefined>";
    const orvo::node record = m_Parser.m_FunctionMacros.value();
    std::string list;
    for (orvo::node child = record.firstChild(); !child.isNpos(); child = child.nextSibling()) {
      if (!list.empty()) list += ", ";
      list += child.label();
      if (orvo::macro_record::IsParameterReference(child)) list += "*";
      list += " \"" + child.value() + "\"";
    }
    return list;
  }
  std::string parameterCount(const std::string& name) {
    m_Parser.m_FunctionMacros.findKey(name);
    return m_Parser.m_FunctionMacros.value().attribute("arguments");
  }

 private:
  const std::string m_Text;
  std::ostringstream m_Out;
  orvo::CVL_ParseStatePlugin m_Plugin;
  orvo::Cpreprocess_fileParser m_Parser;
};

TEST(MacroDefinition, ObjectLikeValueIsTheTrimmedReplacementText) {
  const struct {
    std::string definitions;
    std::string name;
    std::string value;
  } cases[] = {
      {"#define lang_init ()    c_init()\r\n", "lang_init", "()    c_init()"},
      {crlf({"#define NUMBERS 1, \\", "                2, \\", "                3", ""}),
       "NUMBERS", "1,2,3"},
      {"#define EMPTY\r\n", "EMPTY", ""},
      {"#define T \t x  y \t\r\n", "T", "x  y"},
      // A call in the replacement text expands when the definition is read;
      // a name that is no function-like macro loses the blanks before "(".
      {crlf({"#define X 1", "#define Y X (2)", ""}), "Y", "1(2)"},
      {crlf({"#define f(a) [a]", "#define Y f(2) + f (3)", ""}), "Y", "[2]  + [3]"},
      {"#define Z g  (1)\r\n", "Z", "g(1)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Defined(c.definitions).objectValue(c.name), c.value);
}

TEST(MacroDefinition, FunctionLikeStoresOneChildPerElement) {
  const struct {
    std::string definition;
    std::string name;
    std::string list;
    std::string count;
  } cases[] = {
      {"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\r\n", "min",
       "Text \"(\", Text \"(\", gap \"\", X* \"0\", Text \")\", Text \" <\", Text \" (\", "
       "gap \"\", Y* \"1\", Text \")\", Text \" ?\", Text \" (\", gap \"\", X* \"0\", "
       "Text \")\", Text \" :\", Text \" (\", gap \"\", Y* \"1\", Text \")\", Text \")\"",
       "2"},
      {"#define COMMAND(NAME)  { #NAME, NAME ## _command }\r\n", "COMMAND",
       "Text \"{\", # \" \", NAME* \"0\", Text \",\", gap \" \", NAME* \"0\", ## \"##\", "
       "Text \"_command\", Text \" }\"",
       "1"},
      {"#define lang_init()    c_init()\r\n", "lang_init",
       "Text \"c_init\", Text \"(\", Text \")\"", "0"},
      {"#define f()\r\n", "f", "", "0"},
      // A repeated parameter keeps its first index; the count still grows.
      {"#define f(x, x) x\r\n", "f", "x* \"0\"", "2"},
      // Backslash-newlines vanish with the blanks around them.
      {crlf({"#define g(a) a \\", "   + a", ""}), "g", "a* \"0\", Text \"+\", gap \" \", a* \"0\"", "1"},
      // A parameter named like an element kind is still a parameter.
      {"#define h(Text, gap) Text gap\r\n", "h", "Text* \"0\", gap \" \", gap* \"1\"", "2"},
  };
  for (const auto& c : cases) {
    Defined defined(c.definition);
    EXPECT_EQ(defined.replacementList(c.name), c.list) << c.definition;
    EXPECT_EQ(defined.parameterCount(c.name), c.count) << c.definition;
  }
}

TEST(MacroDefinition, RedefinitionReplacesWithAWarningUnlessAnObjectLikeMacroKeepsItsValue) {
  const RunResult object = runPreprocessor(crlf({"#define FOO 4", "#define FOO 5", "x = FOO;"}), {});
  EXPECT_EQ(object.output, "x = 5;");
  ASSERT_EQ(object.diagnostics.size(), 1u);
  EXPECT_EQ(object.diagnostics[0].text, "\"FOO\" redefined");
  EXPECT_EQ(object.diagnostics[0].severity, Severity::Warning);
  const RunResult same = runPreprocessor(crlf({"#define FOO 4", "#define FOO  4 ", "FOO"}), {});
  EXPECT_EQ(same.output, "4");
  EXPECT_TRUE(same.diagnostics.empty());

  const RunResult function = runPreprocessor(
      crlf({"#define min(X, Y)  ((X) < (Y) ? (X) : (Y))", "#define min(a, b) a", "min(1, 2)"}), {});
  EXPECT_EQ(function.output, "1 ");
  ASSERT_EQ(function.diagnostics.size(), 1u);
  EXPECT_EQ(function.diagnostics[0].text, "min found again");
  EXPECT_EQ(function.diagnostics[0].severity, Severity::Warning);
}

TEST(MacroDefinition, SyntaxErrorsEndTheRun) {
  const struct {
    std::string input;
    std::string error;
  } cases[] = {
      {"#define (x) x\r\n", "unexpected token"},
      // An object-like replacement list takes no ## and no #.
      {"#define X a ## b\r\n", "EOL expected"},
      {"#define f(x\r\n", "EOL found; ) expected"},
      {"#define f(x) x", "EOF found; EOL expected"},
  };
  for (const auto& c : cases) EXPECT_EQ(test::ppError(c.input), c.error) << c.input;
}

}  // namespace
}  // namespace orvo
