#include "compare/EventLog.h"

#include <regex>

namespace orvo::compare {

void EventLog::macroDefined(const MacroDefinedEvent& event) {
  m_Macros[event.name] = event;
  everDefined[event.name] = event;
}

void EventLog::macroUndefined(const MacroUndefinedEvent& event) { m_Macros.erase(event.name); }

void EventLog::callCollected(const CallCollectedEvent& event) { calls.push_back(event); }

void EventLog::replaced(const ReplacementEvent& event) {
  if (event.kind == MacroKind::Predefined ||
      (m_UndefinedArePredefined && everDefined.count(event.name) == 0))
    predefined.push_back(event);
}

void EventLog::conditional(const ConditionalEvent& event) {
  LoggedConditional logged{event, {}, {}};
  // Names, not the suffixes of numbers (10UL) nor the letters of character
  // constants ('A').
  static const std::regex kName("('(\\\\.|[^'\\\\])*')|(^|[^A-Za-z0-9_.])([A-Za-z_][A-Za-z0-9_]*)");
  for (std::sregex_iterator it(event.expression.begin(), event.expression.end(), kName), end;
       it != end; ++it) {
    if ((*it)[1].matched) continue;
    const std::string name = (*it)[4].str();
    if (name == "defined") continue;
    const auto found = m_Macros.find(name);
    logged.definitions[name] =
        found == m_Macros.end() ? std::nullopt : std::optional(found->second.replacement);
    if (found != m_Macros.end() && found->second.kind == MacroKind::FunctionLike)
      logged.functionLike.push_back(name);
  }
  conditionals.push_back(std::move(logged));
}

void EventLog::includeDirective(const IncludeEvent& event) {
  includes.push_back(event);
  if (!event.loaded) return;
  m_Open.push_back(IncludeStep{event.place.file, event.place.line, event.place.column});
  m_Chains.try_emplace(event.path, m_Open);
}

void EventLog::includeLeft(const IncludeLeftEvent&) {
  if (!m_Open.empty()) m_Open.pop_back();
}

const MacroDefinedEvent* EventLog::macro(const std::string& name) const {
  const auto found = m_Macros.find(name);
  return found == m_Macros.end() ? nullptr : &found->second;
}

const std::vector<IncludeStep>* EventLog::chainOf(const std::string& path) const {
  const auto found = m_Chains.find(path);
  return found == m_Chains.end() ? nullptr : &found->second;
}

}  // namespace orvo::compare
