#include "run/MessageSeverity.h"

#include "runtime/MessageKind.h"

namespace orvo {

Severity severityOfMessage(unsigned char kind, bool inMacroText) {
  namespace kinds = orvo::message_kind;
  switch (kind) {
    case kinds::kWarning:
      return Severity::Warning;
    case kinds::kError:
      return Severity::Error;
    case kinds::kParseError:
      // A syntax error in rescanned macro text keeps the rest of that text
      // as it stands, so it is a note; in a file's own text it cut the parse
      // of that file short, so it is an error.
      return inMacroText ? Severity::Note : Severity::Error;
    default:
      return Severity::Note;
  }
}

}  // namespace orvo
