#include "macros/ExpansionWalk.h"

#include <charconv>
#include <limits>

#include "macros/MacroRecord.h"
#include "macros/PassWithoutParse.h"
#include "macros/Stringify.h"
#include "base/Message.h"

namespace orvo {
namespace {

// The index of a parameter reference that names no argument.
constexpr int kNoArgumentIndex = std::numeric_limits<int>::max();

// The text an element stands for: the raw argument of a parameter
// reference, the value of any other element.
const std::string& ElementText(const ReplacementElement& element,
                               const std::vector<std::string>& arguments) {
  static const std::string kNoArgument;
  if (element.parameter < 0) return element.value;
  const auto index = static_cast<std::size_t>(element.parameter);
  return index < arguments.size() ? arguments[index] : kNoArgument;
}

// Whether element `k` may stand in a run of inert elements: an inert value
// of its own that no "##" glues to the next element.
bool MayRunInert(const std::vector<ReplacementElement>& elements, std::size_t k) {
  const ReplacementElement& element = elements[k];
  return element.kind == ReplacementElement::Kind::Plain && element.parameter < 0 &&
         element.inert &&
         !(k + 1 < elements.size() && elements[k + 1].kind == ReplacementElement::Kind::Paste);
}

// Marks where each run of inert elements begins, walking the elements as
// ExpansionParts does, with what rescanning and appending them one by one
// gives: each loses its trailing blanks, counted once, twice where a second
// pass is needed for the blanks.
void MarkInertRuns(std::vector<ReplacementElement>& elements) {
  std::size_t k = 0;
  while (k < elements.size()) {
    if (elements[k].kind != ReplacementElement::Kind::Plain) {
      k += 2;  // "#" or "##" with its operand
      continue;
    }
    if (!MayRunInert(elements, k)) {
      ++k;
      continue;
    }
    ReplacementElement& first = elements[k];
    const std::size_t begin = k;
    for (; k < elements.size() && MayRunInert(elements, k); ++k) {
      const std::string_view value = elements[k].value;
      const std::string_view kept = value.substr(0, pass_bytes::LengthBeforeTrailingBlanks(value));
      if (kept.empty()) continue;
      first.inertRunBytes += kept.size() * (kept.size() == value.size() ? 1 : 2);
      AppendExpansionPart(first.inertRunText, kept);
    }
    first.inertRun = k - begin;
  }
}

}  // namespace

std::vector<ReplacementElement> CompileReplacement(const node& record) {
  // Sized to the count: the elements stay for the rest of the run, and the
  // doubling growth would leave up to half of them unused.
  std::size_t count = 0;
  for (node child = record.firstChild(); !child.isNpos(); child = child.nextSibling()) ++count;
  std::vector<ReplacementElement> elements;
  elements.reserve(count);
  for (node child = record.firstChild(); !child.isNpos(); child = child.nextSibling()) {
    ReplacementElement element;
    const std::string label = child.label();
    if (label == macro_record::kPaste) {
      element.kind = ReplacementElement::Kind::Paste;
    } else if (label == macro_record::kStringize) {
      element.kind = ReplacementElement::Kind::Stringize;
    }
    element.value = child.value();
    element.inert = element.kind == ReplacementElement::Kind::Plain && TextIsInert(element.value);
    if (macro_record::IsParameterReference(child)) {
      // The stored value is the parameter's index in decimal; any other
      // text names no argument.
      int index = -1;
      const char* const end = element.value.data() + element.value.size();
      const auto [last, error] = std::from_chars(element.value.data(), end, index);
      const bool decimal =
          error == std::errc() && last == end && index >= 0 && std::to_string(index) == element.value;
      element.parameter = decimal ? index : kNoArgumentIndex;
    }
    elements.push_back(std::move(element));
  }
  MarkInertRuns(elements);
  return elements;
}

void ExpansionParts(const std::vector<ReplacementElement>& elements,
                    const std::vector<std::string>& arguments, std::vector<std::string>& parts,
                    std::vector<int>* sources, std::vector<std::size_t>* inertBytes) {
  if (sources != nullptr) sources->clear();
  if (inertBytes != nullptr) inertBytes->clear();
  // The strings already in `parts` are overwritten before new ones are added.
  std::size_t count = 0;
  const auto add = [&](std::string_view text, int source) {
    if (count < parts.size()) {
      parts[count].assign(text);
    } else {
      parts.emplace_back(text);
    }
    ++count;
    if (sources != nullptr) sources->push_back(source);
    if (inertBytes != nullptr) inertBytes->push_back(0);
  };
  const bool mergeRuns = sources != nullptr && inertBytes != nullptr;
  for (std::size_t k = 0; k < elements.size(); ++k) {
    const ReplacementElement& element = elements[k];
    if (element.kind == ReplacementElement::Kind::Paste) {
      if (count == 0) throw CVL_Message("macro may not begin with ##");
      if (++k < elements.size()) parts[count - 1] += ElementText(elements[k], arguments);
      if (sources != nullptr) sources->back() = -1;
    } else if (element.kind == ReplacementElement::Kind::Stringize) {
      // The blanks in front of the # are a part of their own; they vanish
      // when rescanned, so nothing separates the string from what precedes.
      add(element.value, -1);
      add(Stringify(++k < elements.size() ? ElementText(elements[k], arguments) : std::string()),
          -1);
    } else if (mergeRuns && element.inertRun > 0) {
      add(element.inertRunText, kInertPart);
      inertBytes->back() = element.inertRunBytes;
      k += element.inertRun - 1;
    } else {
      const bool argument = element.parameter >= 0 &&
                            static_cast<std::size_t>(element.parameter) < arguments.size();
      const int source = argument ? element.parameter : element.inert ? kInertPart : -1;
      add(ElementText(element, arguments), source);
    }
  }
  parts.resize(count);
}

void AppendExpansionPart(std::string& text, std::string_view part) {
  if (!text.empty() && text.back() == '/' && !part.empty() && (part[0] == '*' || part[0] == '/'))
    text += ' ';
  text += part;
}

}  // namespace orvo
