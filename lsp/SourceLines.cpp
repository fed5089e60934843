#include "lsp/SourceLines.h"

#include <cctype>

namespace orvo::lsp {

std::string_view directiveOn(std::string_view text, int line) {
  std::size_t offset = 0;
  for (int i = 0; i < line; ++i) {
    offset = text.find('\n', offset);
    if (offset == std::string_view::npos) return {};
    ++offset;
  }
  const auto skipBlanks = [&] {
    while (offset < text.size() && (text[offset] == ' ' || text[offset] == '\t')) ++offset;
  };
  skipBlanks();
  if (offset >= text.size() || text[offset] != '#') return {};
  ++offset;
  skipBlanks();
  const std::size_t begin = offset;
  while (offset < text.size() && std::isalpha(static_cast<unsigned char>(text[offset]))) ++offset;
  return text.substr(begin, offset - begin);
}

std::vector<const RecordedStep*> expansionAt(const StepRecording& recording, std::size_t offset) {
  std::vector<const RecordedStep*> steps;
  int chosenBegin = -1;
  for (const RecordedStep& step : recording.steps) {
    const SourcePlace& place = step.step.place;
    if (!place.inMainInput) continue;
    if (chosenBegin < 0) {
      const auto begin = static_cast<std::size_t>(place.begin);
      const std::size_t end = std::max<std::size_t>(place.end, begin + step.name.size());
      if (offset < begin || offset >= end) continue;
      chosenBegin = place.begin;
    }
    if (place.begin == chosenBegin) steps.push_back(&step);
  }
  return steps;
}

const MacroDefinedEvent* definitionOf(const StepRecording& recording, std::string_view name,
                                      int line) {
  const MacroDefinedEvent* first = nullptr;
  const MacroDefinedEvent* inForce = nullptr;
  for (const MacroDefinedEvent& event : recording.definitions) {
    if (event.name != name) continue;
    if (!first) first = &event;
    const bool before = !event.place.inMainInput || event.place.line <= line;
    if (before) inForce = &event;
  }
  return inForce ? inForce : first;
}

}  // namespace orvo::lsp
