#include "lsp/ExpansionMarkdown.h"

namespace orvo::lsp {

namespace {

std::string shortened(std::string_view text) {
  if (text.size() <= kMaxShownTextBytes) return std::string(text);
  return std::string(text.substr(0, kMaxShownTextBytes)) + " … (" +
         std::to_string(text.size() - kMaxShownTextBytes) + " more bytes)";
}

// A fenced C block that no backquotes in `text` can close early.
// Indented by `indent` so that it stays inside a nested list item.
std::string codeBlock(std::string_view text, const std::string& indent = {}) {
  std::string fence = "```";
  while (text.find(fence) != std::string_view::npos) fence += '`';
  std::string body = indent;
  for (const char c : shortened(text)) {
    body += c;
    if (c == '\n') body += indent;
  }
  return indent + fence + "c\n" + body + "\n" + indent + fence + "\n";
}

// Inline code that holds any text: the fence is one backquote longer than
// the longest run inside.
std::string inlineCode(std::string_view text) {
  std::size_t longest = 0;
  std::size_t run = 0;
  for (const char c : text) {
    run = c == '`' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  const std::string fence(longest + 1, '`');
  const std::string shown = shortened(text);
  const bool pad = !shown.empty() && (shown.front() == '`' || shown.back() == '`');
  return fence + (pad ? " " : "") + shown + (pad ? " " : "") + fence;
}

}  // namespace

std::string expansionMarkdown(std::string_view engine, const std::vector<const RecordedStep*>& steps) {
  if (steps.empty()) return {};
  std::string text = "**" + inlineCode(steps.front()->name) + "** — " + std::string(engine) + "\n\n";
  std::size_t shown = 0;
  for (const RecordedStep* step : steps) {
    if (shown == kMaxHoverSteps) {
      text += "… " + std::to_string(steps.size() - shown) + " more steps not shown\n";
      break;
    }
    ++shown;
    const std::string indent(static_cast<std::size_t>(std::max(step->step.depth - 1, 0)) * 2, ' ');
    text += indent + "- **" + RecordedStepKindName(step->kind) + "** " + inlineCode(step->name);
    if (!step->detail.empty()) text += " — " + step->detail;
    text += "\n\n";
    switch (step->kind) {
      case RecordedStep::Kind::Call:
        text += codeBlock(step->before, indent + "  ");
        break;
      case RecordedStep::Kind::Result:
        text += codeBlock(step->after, indent + "  ");
        break;
      default:
        text += codeBlock(step->before + "\n→ " + step->after, indent + "  ");
        break;
    }
    for (const std::string& note : step->notes) text += "\n" + indent + "  " + note + "\n";
    text += "\n";
  }
  return text;
}

std::string conditionalMarkdown(std::string_view engine, const ConditionalEvent& event) {
  std::string text = "**#" + event.directive + "** — " + std::string(engine) + "\n\n";
  if (!event.expression.empty()) text += codeBlock(event.expression);
  if (event.earlierBranchTaken)
    text += "\nNot taken: an earlier branch was taken.\n";
  else
    text += "\nValue " + std::to_string(event.value) + ": " +
            (event.taken ? "branch **taken**" : "branch **skipped**") + ".\n";
  if (!event.names.empty()) {
    text += "\n| name | value |\n|---|---|\n";
    for (const auto& [name, value] : event.names)
      text += "| " + inlineCode(name) + " | " + std::to_string(value) + " |\n";
  }
  if (!event.taken && event.skippedFirstLine > 0)
    text += "\nLines " + std::to_string(event.skippedFirstLine) + "–" +
            std::to_string(event.skippedLastLine) + " skipped.\n";
  return text;
}

std::string includeMarkdown(const IncludeEvent& event, const std::vector<std::string>& searched) {
  const std::string written = event.angled ? "<" + event.name + ">" : "\"" + event.name + "\"";
  std::string text = "**#include** " + inlineCode(written) + "\n\n";
  if (event.found)
    text += "Found: " + inlineCode(event.path) + (event.loaded ? "" : " (could not be read)") + "\n";
  else
    text += "Not found.\n";
  if (!searched.empty()) {
    text += "\nSearched" + std::string(event.angled ? "" : " (after the file's own directory)") + ":\n";
    for (const std::string& directory : searched) text += "- " + inlineCode(directory) + "\n";
  }
  return text;
}

std::string definitionMarkdown(const MacroDefinedEvent& event) {
  std::string head = "#define " + event.name;
  if (event.kind == MacroKind::FunctionLike) {
    head += "(";
    for (std::size_t i = 0; i < event.parameters.size(); ++i)
      head += (i > 0 ? ", " : "") + event.parameters[i];
    head += ")";
  }
  return "**" + inlineCode(event.name) + "** — " + MacroKindName(event.kind) + " macro, " +
         event.place.file + ":" + std::to_string(event.place.line) + "\n\n" +
         codeBlock(head + " " + event.replacement);
}

std::string differenceMarkdown(const compare::Difference& difference) {
  return "**The engines differ here** (" + difference.rule + ")\n\n- orvo: " +
         inlineCode(difference.mainText) + "\n- standard C: " + inlineCode(difference.standardText) +
         "\n\n" + difference.reason + "\n";
}

}  // namespace orvo::lsp
