// Messages of semantic actions, recorded in the plugin or thrown.
#include "base/Message.h"
#include "runtime/ParseState.h"

namespace orvo {

void CVL_ParseState::report(const char* text, int begin, int end, const char* production,
                            const char* element, int kind) {
  if (m_pPlugin != nullptr && (!m_pPlugin->raiseErrors() || kind != 5)) {
    switch (kind) {
      case 0:
        m_pPlugin->addMessage(CVL_Message(text, begin, end, production, element, 0, 0));
        break;
      case 3:
        m_pPlugin->addMessage(CVL_Warning(text, begin, end, production, element, 0));
        break;
      case 4:
        m_pPlugin->addMessage(CVL_Error(text, begin, end, production, element, 0));
        break;
      case 5:
        m_Status = parse_status::Unexpected;
        m_pPlugin->addMessage(CVL_ParseError(text, begin, end, production, element, 0));
        break;
      default:
        break;
    }
    return;
  }
  // A parse that already stopped on an error reports nothing more.
  if (parse_status::isErrorState(m_Status)) return;
  const CVL_Match& current = m_Position.m_Current;
  throw CVL_ParseError(text, offsetOf(current.m_pTokenBegin), offsetOf(current.m_pTokenEnd),
                       production, element, 0);
}

}  // namespace orvo
