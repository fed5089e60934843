// What an identifier outside a macro call becomes.
#include "grammar/Cpreprocess_fileParser.h"
#include "macros/ExpansionLimits.h"
#include "run/RunTracer.h"

namespace zemra {

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
    if (record.id() == 0) {
      const ExpansionScope scope(m_Expansion, name);
      record.setId(1);
      ++m_BusyObjectMacros;
      if (m_pTrace) m_pTrace->objectBegins(s, name, record.value());
      const std::string expanded = rescan(s, record.value());
      if (m_pTrace) m_pTrace->expansionFinished(expanded);
      out += expanded;
      record.setId(0);
      --m_BusyObjectMacros;
      return;
    }
  }
  out += name;
}

}  // namespace zemra
