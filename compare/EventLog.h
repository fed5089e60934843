// What one run did, as far as the reasons for differences need it: the
// macros it defined, the calls and predefined names it replaced, its
// conditionals with the definitions their names stood for, its includes
// and the #include lines that led into each file it entered.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "orvo/Observer.h"

namespace orvo::compare {

struct LoggedConditional {
  ConditionalEvent event;
  // The text each name of the expression stood for when the directive was
  // met: a macro's replacement, or nothing when the name was no macro.
  std::map<std::string, std::optional<std::string>> definitions;
  // The function-like macros among those names.
  std::vector<std::string> functionLike;
};

class EventLog : public RunObserver {
 public:
  // `undefinedArePredefined`: the run reports the macros it predefines as
  // object-like ones it never saw defined (the standard run's __STDC__).
  explicit EventLog(bool undefinedArePredefined) : m_UndefinedArePredefined(undefinedArePredefined) {}

  void macroDefined(const MacroDefinedEvent& event) override;
  void macroUndefined(const MacroUndefinedEvent& event) override;
  void callCollected(const CallCollectedEvent& event) override;
  void replaced(const ReplacementEvent& event) override;
  void conditional(const ConditionalEvent& event) override;
  void includeDirective(const IncludeEvent& event) override;
  void includeLeft(const IncludeLeftEvent& event) override;

  // The definition in force at the end of the run; null when none.
  const MacroDefinedEvent* macro(const std::string& name) const;
  // The #include lines that first led into `path`, outermost first; null
  // for a file the run never entered.
  const std::vector<IncludeStep>* chainOf(const std::string& path) const;

  std::vector<CallCollectedEvent> calls;
  std::vector<ReplacementEvent> predefined;  // names replaced that the input did not define
  std::vector<LoggedConditional> conditionals;
  std::vector<IncludeEvent> includes;
  // The last definition of each name, also of names undefined since, for
  // calls made before the #undef.
  std::map<std::string, MacroDefinedEvent> everDefined;

 private:
  bool m_UndefinedArePredefined;
  // The definitions in force.
  std::map<std::string, MacroDefinedEvent> m_Macros;
  // The #include lines of the files being read, outermost first.
  std::vector<IncludeStep> m_Open;
  std::map<std::string, std::vector<IncludeStep>> m_Chains;
};

}  // namespace orvo::compare
