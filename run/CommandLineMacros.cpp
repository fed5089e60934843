#include "run/CommandLineMacros.h"

#include <exception>
#include <sstream>

#include "grammar/Cpreprocess_fileParser.h"
#include "run/MessageSeverity.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

bool isIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isIdentifierChar(char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9'); }

// Length of the identifier at the start of `text`; 0 when there is none.
std::size_t identifierLength(std::string_view text) {
  if (text.empty() || !isIdentifierStart(text[0])) return 0;
  std::size_t length = 1;
  while (length < text.size() && isIdentifierChar(text[length])) ++length;
  return length;
}

// "'-D NAME=VALUE'", the entry a message is about.
std::string quotedSpelling(const CommandLineMacro& macro) {
  std::string quoted(1, '\'');
  quoted.append(spellingOf(macro)).push_back('\'');
  return quoted;
}

RunError commandLineError(const CommandLineMacro& macro, const std::string& text) {
  RunError error{ErrorClass::Message, quotedSpelling(macro).append(": ").append(text), 0, 0};
  error.fromCommandLine = true;
  return error;
}

// A message about a -D or -U entry: placed on the command line, at no line,
// so that it never shifts the input's lines and columns.
Diagnostic commandLineDiagnostic(Severity severity, std::string text) {
  SourcePlace place;
  place.file = std::string(kCommandLinePlace);
  return Diagnostic{severity, std::move(text), std::move(place), false};
}

}  // namespace

std::string spellingOf(const CommandLineMacro& macro) {
  std::string spelling = macro.kind == CommandLineMacro::Kind::Define ? "-D " : "-U ";
  return spelling.append(macro.text);
}

std::optional<MacroDirective> directiveFor(const CommandLineMacro& macro, std::string& error) {
  const std::string_view text = macro.text;
  const std::size_t nameLength = identifierLength(text);
  if (nameLength == 0) {
    error = "macro name must be an identifier";
    return std::nullopt;
  }
  const std::string name(text.substr(0, nameLength));
  if (macro.kind == CommandLineMacro::Kind::Undefine) {
    if (nameLength != text.size()) {
      error = "macro name must be an identifier";
      return std::nullopt;
    }
    return MacroDirective{name, "#undef " + name + "\n"};
  }

  const std::size_t equals = text.find('=');
  const std::string_view head = text.substr(0, equals);
  std::string_view value = equals == std::string_view::npos ? "1" : text.substr(equals + 1);
  value = value.substr(0, value.find_first_of("\r\n"));
  // What follows the name is a parameter list, written against it as in
  // a function-like definition, or nothing.
  const std::string_view parameters = head.substr(nameLength);
  if (!parameters.empty() && parameters.front() != '(') {
    error = "macro name must be an identifier";
    return std::nullopt;
  }
  if (!parameters.empty() && parameters.back() != ')') {
    error = "')' expected after the parameter list";
    return std::nullopt;
  }
  std::string line = "#define ";
  line.append(head).append(" ").append(value).append("\n");
  return MacroDirective{name, std::move(line)};
}

bool applyCommandLineMacros(orvo::Cpreprocess_fileParser& parser,
                            const std::vector<CommandLineMacro>& macros, RunResult& result) {
  for (const CommandLineMacro& macro : macros) {
    std::string problem;
    const std::optional<MacroDirective> directive = directiveFor(macro, problem);
    if (!directive) {
      result.error = commandLineError(macro, problem);
      return false;
    }
    if (macro.kind == CommandLineMacro::Kind::Define &&
        parser.m_PredefinedMacros.findKey(directive->name)) {
      // A predefined value hides a definition of the same name.
      const std::string text = quotedSpelling(macro)
                                   .append(" has no effect: ")
                                   .append(directive->name)
                                   .append(" is predefined; put '-U ")
                                   .append(directive->name)
                                   .append("' before it");
      result.diagnostics.push_back(commandLineDiagnostic(Severity::Warning, text));
    }
    // Each directive is parsed on its own, so that an unclosed comment or
    // parameter list in one entry cannot reach into the next. Its output (the
    // line break) is dropped.
    std::ostringstream discarded;
    orvo::CVL_ParseStatePlugin plugin(&discarded);
    plugin.m_bRaiseErrors = true;
    try {
      parser.parse(directive->line.data(), directive->line.data() + directive->line.size(),
                   &plugin);
    } catch (const orvo::CVL_Message& e) {
      result.error = commandLineError(macro, e.text());
    } catch (const std::exception& e) {
      result.error = commandLineError(macro, e.what());
    }
    for (auto message = plugin.messagesBegin(); message != plugin.messagesEnd(); ++message)
      result.diagnostics.push_back(
          commandLineDiagnostic(severityOfMessage(message->kind(), false), message->text()));
    if (result.error) return false;
  }
  return true;
}

}  // namespace orvo
