#include "runtime/ParseState.h"

namespace orvo {

CVL_SubParseState::CVL_SubParseState(const std::string& text, const CVL_ParseState& parent)
    : CVL_ParseState(nullptr, nullptr) {
  m_Position.m_Text = text;
  resetRange(m_Position.m_Text.data(), m_Position.m_Text.data() + m_Position.m_Text.size());
  m_fnSymbol = parent.m_fnSymbol;
  m_fnProductionName = parent.m_fnProductionName;
  m_fnElementName = parent.m_fnElementName;
  m_pPlugin = parent.m_pPlugin;
  m_bFastPaths = parent.m_bFastPaths;
  m_Position.m_Line = parent.m_Position.m_Line + 1;
  m_Position.m_Column = parent.m_Position.m_Column + 1;
  // A nested parse records its syntax errors instead of ending the run.
  m_bSavedRaiseErrors = m_pPlugin != nullptr ? m_pPlugin->raiseErrors() : true;
  if (m_pPlugin != nullptr) m_pPlugin->setRaiseErrors(false);
}

CVL_SubParseState::~CVL_SubParseState() {
  if (m_pPlugin != nullptr) m_pPlugin->setRaiseErrors(m_bSavedRaiseErrors);
}

}  // namespace orvo
