#include "macros/ExpansionWalk.h"

#include "macros/MacroRecord.h"
#include "macros/Stringify.h"
#include "runtime/Message.h"

namespace zemra {
namespace {

// The text an element stands for: the raw argument of a parameter
// reference, the value of any other element.
std::string ElementText(const node& element, ArgumentMap& arguments) {
  if (!macro_record::IsParameterReference(element)) return element.value();
  return arguments.findKey(element.value()) ? arguments.value() : std::string();
}

}  // namespace

std::vector<std::string> ExpansionParts(const node& record, ArgumentMap& arguments) {
  std::vector<std::string> parts;
  // Most replacement lists are short; room for them up front spares moving
  // the parts as the list grows.
  parts.reserve(16);
  node element = record.firstChild();
  while (!element.isNpos()) {
    const std::string label = element.label();
    if (label == macro_record::kPaste) {
      if (parts.empty()) throw CVL_Message("macro may not begin with ##");
      element = element.nextSibling();
      if (!element.isNpos()) parts.back() += ElementText(element, arguments);
    } else if (label == macro_record::kStringize) {
      // The blanks in front of the # are a part of their own; they vanish
      // when rescanned, so nothing separates the string from what precedes.
      parts.push_back(element.value());
      element = element.nextSibling();
      parts.push_back(
          Stringify(element.isNpos() ? std::string() : ElementText(element, arguments)));
    } else {
      parts.push_back(ElementText(element, arguments));
    }
    if (!element.isNpos()) element = element.nextSibling();
  }
  return parts;
}

void AppendExpansionPart(std::string& text, std::string_view part) {
  if (!text.empty() && text.back() == '/' && !part.empty() && (part[0] == '*' || part[0] == '/'))
    text += ' ';
  text += part;
}

}  // namespace zemra
