// Queries and changes of the three macro tables: predefined, object-like and
// function-like macros, each keyed by name.
#include <boost/lexical_cast.hpp>

#include "grammar/Cpreprocess_fileParser.h"
#include "macros/MacroRecord.h"
#include "grammar/GrammarNames.h"
#include "macros/ExpansionWalk.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

// Where the production being parsed began: the begin of the token it started
// with, as its rule-end entry noted on entering it.
const char* DefinitionBegin(const CVL_ParseState& s) {
  const char* const current = s.m_Position.m_Current.m_pTokenBegin;
  if (s.m_RuleEndScannerStack.empty()) return current;
  const char* const begin = s.m_RuleEndScannerStack.back().m_pLookaheadBegin;
  return begin != nullptr && begin <= current ? begin : current;
}

}  // namespace

bool Cpreprocess_fileParser::isDefined(const std::string& name) {
  return m_PredefinedMacros.findKey(name) || m_ObjectMacros.findKey(name) ||
         m_FunctionMacros.findKey(name);
}

int Cpreprocess_fileParser::numericValue(const std::string& name) {
  // Only a predefined macro has a numeric value; a user macro counts as 1
  // whatever its replacement text.
  if (m_PredefinedMacros.findKey(name)) return boost::lexical_cast<int>(m_PredefinedMacros.value());
  return m_ObjectMacros.findKey(name) || m_FunctionMacros.findKey(name) ? 1 : 0;
}

void Cpreprocess_fileParser::undefine(const std::string& name) {
  m_SettledRescans.clear();
  m_SettledParses.clear();
  // A function-like macro of the same name stays defined.
  if (m_PredefinedMacros.findKey(name)) m_PredefinedMacros.erase();
  if (m_ObjectMacros.findKey(name)) m_ObjectMacros.erase();
}

void Cpreprocess_fileParser::markDefinition(std::unordered_map<std::string, int>& marks,
                                            const std::string& name, int begin, int end) {
  if (m_pSourceTrail != nullptr) marks[name] = m_pSourceTrail->markPlace(begin, end);
}

void Cpreprocess_fileParser::warnObjectRedefined(CVL_ParseState& s, const std::string& name,
                                                 const std::string& value, int nameBegin) {
  if (!m_ObjectMacros.findKey(name) || m_ObjectMacros.value().value() == value) return;
  const int nameEnd = nameBegin + static_cast<int>(name.size());
  addMessage(s, ("\"" + name + "\" redefined").c_str(), nameBegin, nameEnd,
             ProductionName(prod::object_like_macro), ElementName(elem::Sem0_of_object_like_macro),
             message_kind::kWarning);
  noteDefinition(m_ObjectDefinitionMarks, name, "previous definition is here");
}

void Cpreprocess_fileParser::noteDefinition(const std::unordered_map<std::string, int>& marks,
                                            const std::string& name, const char* text) {
  if (m_pSourceTrail == nullptr) return;
  const auto found = marks.find(name);
  if (found != marks.end() && found->second != CVL_SourceTrail::kNoMark)
    m_pSourceTrail->noteOnLastMessage(text, found->second);
}

void Cpreprocess_fileParser::defineObjectLike(const std::string& name, const std::string& value) {
  m_SettledRescans.clear();
  m_SettledParses.clear();
  m_ObjectMacros[name] = node(name, value);
}

void Cpreprocess_fileParser::defineFunctionLike(CVL_ParseState& s, const node& record) {
  m_SettledRescans.clear();
  m_SettledParses.clear();
  const std::string name = record.label();
  if (m_FunctionMacros.findKey(name)) {
    // The definition's line, from its first token up to its line break.
    const CVL_Match& current = s.m_Position.m_Current;
    const char* const lineBegin = DefinitionBegin(s);
    addMessage(s, (name + " found again").c_str(), s.offsetOf(lineBegin),
               s.offsetOf(current.m_pTokenBegin), ProductionName(prod::function_like_macro),
               ElementName(elem::Sem7_of_function_like_macro), message_kind::kWarning);
    noteDefinition(m_FunctionDefinitionMarks, name, "previous definition is here");
  }
  m_FunctionMacros[name] = record;
  m_Replacements[name] = CompileReplacement(record);
}

const std::vector<ReplacementElement>& Cpreprocess_fileParser::replacementOf(
    const std::string& name, const node& record) {
  const auto found = m_Replacements.find(name);
  if (found != m_Replacements.end()) return found->second;
  return m_Replacements[name] = CompileReplacement(record);
}

void Cpreprocess_fileParser::resetRecorded(RecordedMacros& recorded) {
  for (const std::string& name : recorded) {
    if (!m_ObjectMacros.findKey(name) || !macro_record::IsBusy(m_ObjectMacros.value())) continue;
    macro_record::MarkIdle(m_ObjectMacros.value());
    --m_BusyObjectMacros;
  }
}

}  // namespace orvo
