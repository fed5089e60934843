// What an identifier outside a macro call becomes.
#include "grammar/Cpreprocess_fileParser.h"
#include "macros/ExpansionLimits.h"

namespace zemra {

std::string Cpreprocess_fileParser::expandIdentifier(CVL_ParseState& s, const std::string& name) {
  // A predefined macro hides a user definition of the same name.
  if (m_PredefinedMacros.findKey(name)) return m_PredefinedMacros.value();
  if (m_ObjectMacros.findKey(name)) {
    node record = m_ObjectMacros.value();
    // A busy macro is being expanded already: its name stays as it is.
    if (record.id() == 0) {
      const ExpansionScope scope(m_Expansion, name);
      record.setId(1);
      std::string text = rescan(s, record.value());
      record.setId(0);
      return text;
    }
  }
  return name;
}

}  // namespace zemra
