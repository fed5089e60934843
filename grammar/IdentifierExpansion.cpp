// What an identifier outside a macro call becomes.
#include "grammar/Cpreprocess_fileParser.h"
#include "macros/MacroRecord.h"
#include "macros/ExpansionLimits.h"

namespace orvo {

void Cpreprocess_fileParser::expandIdentifier(CVL_ParseState& s, std::string_view name,
                                              std::string& out) {
  // A predefined macro hides a user definition of the same name.
  if (const std::string* value = m_PredefinedMacros.find(name)) {
    if (m_pTrace) m_pTrace->predefinedReplaced(s, name, *value);
    out += *value;
    return;
  }
  if (const node* object = m_ObjectMacros.find(name)) {
    node record = *object;
    // A busy macro is being expanded already: its name stays as it is.
    if (!macro_record::IsBusy(record)) {
      const ExpansionScope scope(m_Expansion, name);
      macro_record::MarkBusy(record);
      ++m_BusyObjectMacros;
      if (m_pTrace) m_pTrace->objectBegins(s, name, record.value());
      const std::string expanded = rescan(s, record.value());
      if (m_pTrace) m_pTrace->expansionFinished(expanded);
      out += expanded;
      macro_record::MarkIdle(record);
      --m_BusyObjectMacros;
      return;
    }
  }
  out += name;
}

}  // namespace orvo
