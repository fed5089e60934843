// What an identifier outside a macro call becomes.
#include "grammar/Cpreprocess_fileParser.h"
#include "macros/ExpansionLimits.h"

namespace zemra {

void Cpreprocess_fileParser::expandIdentifier(CVL_ParseState& s, std::string_view name,
                                              std::string& out) {
  // A predefined macro hides a user definition of the same name.
  if (const std::string* value = m_PredefinedMacros.find(name)) {
    out += *value;
    return;
  }
  if (const node* object = m_ObjectMacros.find(name)) {
    node record = *object;
    // A busy macro is being expanded already: its name stays as it is.
    if (record.id() == 0) {
      const ExpansionScope scope(m_Expansion, name);
      record.setId(1);
      out += rescan(s, record.value());
      record.setId(0);
      return;
    }
  }
  out += name;
}

}  // namespace zemra
