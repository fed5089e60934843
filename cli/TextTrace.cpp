#include "cli/TextTrace.h"

namespace orvo::cli {
namespace {

// Keeps a step on one line: line breaks and tabs inside a text are shown
// as escapes, blanks at either end are dropped.
std::string Shown(const std::string& text) {
  std::string shown;
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return shown;
  for (const char c : std::string_view(text).substr(first)) {
    if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else {
      shown += c;
    }
  }
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  return shown;
}

std::string PlaceText(const SourcePlace& place) {
  if (!place.known()) return std::string();
  return place.file + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ": ";
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

void TextTrace::line(int extraIndent, const std::string& text) {
  std::string indented(static_cast<std::size_t>(2 * (m_IncludeDepth + extraIndent)), ' ');
  indented += text;
  if (m_Open.empty()) {
    m_Out << indented << '\n';
  } else {
    m_Lines.push_back(std::move(indented));
  }
}

void TextTrace::open(std::string place, std::string start) {
  // The header line waits for the result; the lines of the expansion wait
  // with it.
  m_Lines.emplace_back(static_cast<std::size_t>(2 * (m_IncludeDepth + expansionIndent())), ' ');
  m_Open.push_back(Open{m_Lines.size() - 1, std::move(place), std::move(start), {}});
}

void TextTrace::macroDefined(const MacroDefinedEvent& event) {
  std::string text = PlaceText(event.place) + "#define " + event.name;
  if (event.kind == MacroKind::FunctionLike) {
    text += "(";
    for (std::size_t i = 0; i < event.parameters.size(); ++i)
      text += (i ? ", " : "") + event.parameters[i];
    text += ")";
  }
  if (!event.replacement.empty()) text.append(" ").append(Shown(event.replacement));
  if (event.redefined) text += "  (replaces the earlier definition)";
  line(expansionIndent(), text);
}

void TextTrace::macroUndefined(const MacroUndefinedEvent& event) {
  std::string text = PlaceText(event.place) + "#undef " + event.name;
  std::vector<std::string> removed;
  if (event.removedPredefined) removed.push_back("predefined");
  if (event.removedObjectLike) removed.push_back("object-like");
  text += removed.empty() ? "  (nothing to remove)" : "  (removes the " + Joined(removed) + " macro)";
  if (event.functionLikeStays) text += "; the function-like " + event.name + " stays defined";
  line(expansionIndent(), text);
}

void TextTrace::callCollected(const CallCollectedEvent& event) {
  open(PlaceText(event.place), Shown(event.callText));
  std::string arguments = "arguments:";
  for (const std::string& argument : event.arguments) arguments += " [" + Shown(argument) + "]";
  line(expansionIndent(), arguments);
  if (!event.argumentCountMessage.empty())
    line(expansionIndent(), "note: " + event.argumentCountMessage.substr(4));
}

void TextTrace::expansionBuilt(const ExpansionBuiltEvent& event) {
  line(expansionIndent(), "substituted: " + Shown(event.text));
}

void TextTrace::rescanPass(const RescanPassEvent& event) {
  std::string text = event.whole ? "whole result: " : "pass " + std::to_string(event.pass) + ": ";
  text += Shown(event.before) + " → " + Shown(event.after);
  std::vector<std::string> notes;
  if (!event.expanded.empty()) notes.push_back("expanded " + Joined(event.expanded));
  if (!event.busy.empty()) notes.push_back("busy, left as is: " + Joined(event.busy));
  if (!notes.empty()) text += "  (" + Joined(notes) + ")";
  line(expansionIndent(), text);
  if (event.whole && !m_Open.empty()) m_Open.back().lastPassBefore = Shown(event.before);
}

void TextTrace::replaced(const ReplacementEvent& event) {
  if (event.kind == MacroKind::Predefined) {
    line(expansionIndent(), PlaceText(event.place) + event.name + " → " + Shown(event.value) +
                                "  (predefined)");
    return;
  }
  open(PlaceText(event.place), event.name);
  line(expansionIndent(), "stored: " + Shown(event.value));
}

void TextTrace::callFinished(const CallFinishedEvent& event) {
  if (m_Open.empty()) return;
  const Open finished = m_Open.back();
  m_Open.pop_back();
  std::string header = finished.place + finished.start;
  const std::string result = Shown(event.result);
  if (!finished.lastPassBefore.empty() && finished.lastPassBefore != finished.start &&
      finished.lastPassBefore != result)
    header += " → " + finished.lastPassBefore;
  header += " → " + result;
  m_Lines[finished.headerLine] += header;
  if (m_Open.empty()) flushLines();
}

void TextTrace::flushLines() {
  for (const std::string& text : m_Lines) m_Out << text << '\n';
  m_Lines.clear();
}

void TextTrace::conditional(const ConditionalEvent& event) {
  std::string text = PlaceText(event.place) + "#" + event.directive;
  if (!event.expression.empty()) text.append(" ").append(Shown(event.expression));
  if (!event.names.empty()) {
    text += "  [";
    for (std::size_t i = 0; i < event.names.size(); ++i)
      text.append(i ? ", " : "").append(event.names[i].first).append("=").append(
          std::to_string(event.names[i].second));
    text += "]";
  }
  if (event.directive != "else") text += " → " + std::to_string(event.value);
  text += event.taken ? ": taken" : ": not taken";
  if (!event.taken && event.earlierBranchTaken) text += " (an earlier branch was taken)";
  if (event.skippedFirstLine > 0)
    text += ", lines " + std::to_string(event.skippedFirstLine) + "-" +
            std::to_string(event.skippedLastLine) + " skipped";
  line(expansionIndent(), text);
}

void TextTrace::includeDirective(const IncludeEvent& event) {
  std::string text = PlaceText(event.place) + "#include ";
  text += event.angled ? "<" + event.name + ">" : "\"" + event.name + "\"";
  if (event.loaded) {
    text += " → " + event.path;
  } else if (event.found) {
    text += " → " + event.path + " could not be loaded; the directive stays";
  } else {
    text += ": not found; the directive stays";
  }
  line(expansionIndent(), text);
  if (event.loaded) ++m_IncludeDepth;
}

void TextTrace::includeLeft(const IncludeLeftEvent& event) {
  if (m_IncludeDepth > 0) --m_IncludeDepth;
  line(expansionIndent() + 1, "end of " + event.path);
}

void TextTrace::message(const MessageEvent& event) {
  // orvo-pp reports the error that ended the run itself, right after.
  if (!event.endedRun) {
    line(expansionIndent(), PlaceText(event.place) + severityName(event.severity) + ": " +
                                event.text);
    return;
  }
  // The expansions in progress end here; show how far they got.
  for (const Open& unfinished : m_Open)
    m_Lines[unfinished.headerLine] += unfinished.place + unfinished.start + " → (not finished)";
  m_Open.clear();
  flushLines();
}

}  // namespace orvo::cli
