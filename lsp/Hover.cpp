#include "lsp/Hover.h"

#include <algorithm>

#include "lsp/ExpansionMarkdown.h"
#include "lsp/SourceLines.h"

namespace orvo::lsp {

namespace {

const ConditionalEvent* conditionalOn(const StepRecording& recording, int line) {
  for (const ConditionalEvent& event : recording.conditionals)
    if (event.place.inMainInput && event.place.line == line) return &event;
  return nullptr;
}

std::optional<std::string> directiveHover(const FinishedRun& run, std::string_view directive,
                                          int line) {
  if (directive == "include") {
    for (const IncludeEvent& event : run.includes)
      if (event.place.line == line) return includeMarkdown(event, run.includeDirectories);
    return std::nullopt;
  }
  if (directive != "if" && directive != "elif" && directive != "ifdef" && directive != "ifndef" &&
      directive != "else")
    return std::nullopt;
  std::string text;
  if (const ConditionalEvent* event = conditionalOn(*run.standardSteps, line))
    text += conditionalMarkdown("standard C", *event);
  if (run.mainSteps)
    if (const ConditionalEvent* event = conditionalOn(*run.mainSteps, line))
      text += (text.empty() ? "" : "\n---\n\n") + conditionalMarkdown("orvo", *event);
  if (text.empty()) return std::nullopt;
  return text;
}

// A sentence for a line past the point where the recording stopped.
std::string truncationNote(const StepRecording& recording, int line) {
  if (!recording.truncated) return {};
  int lastKept = 0;
  for (const RecordedStep& step : recording.steps)
    if (step.step.place.inMainInput) lastKept = std::max(lastKept, step.step.place.line);
  if (line <= lastKept) return {};
  return "*The steps of this file were kept up to line " + std::to_string(lastKept) + " (" +
         std::to_string(recording.limit) + " steps); those of this line were not recorded.*\n\n";
}

}  // namespace

std::optional<std::string> hoverMarkdown(const FinishedRun& run, Position position) {
  const std::optional<std::size_t> offset = offsetOf(run.text, position);
  if (!offset) return std::nullopt;
  const int line = position.line + 1;
  const std::string_view directive = directiveOn(run.text, position.line);
  if (!directive.empty() && directive != "define" && directive != "undef") {
    if (auto text = directiveHover(run, directive, line)) return text;
  }

  std::string text = expansionMarkdown("standard C", expansionAt(*run.standardSteps, *offset));
  if (run.mainSteps) {
    const std::string mainText = expansionMarkdown("orvo", expansionAt(*run.mainSteps, *offset));
    if (!mainText.empty()) text += (text.empty() ? "" : "\n---\n\n") + mainText;
    for (const compare::Difference& difference : run.differences)
      if (difference.inputLine == line && !text.empty())
        text += "\n---\n\n" + differenceMarkdown(difference);
  }
  if (!text.empty()) return text;

  // Past the recording's limit no steps were kept: say so rather than show
  // nothing, or only a definition, as if the line expanded nothing.
  const std::string notKept = truncationNote(*run.standardSteps, line);

  // A macro name with no expansion here (in its #define, say): its definition.
  const Word word = wordAt(run.text, *offset);
  if (word.text.empty()) return std::nullopt;
  if (const MacroDefinedEvent* definition = definitionOf(*run.standardSteps, word.text, line))
    return notKept + definitionMarkdown(*definition);
  if (!notKept.empty()) return notKept;
  return std::nullopt;
}

}  // namespace orvo::lsp
