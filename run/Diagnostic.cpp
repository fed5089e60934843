#include "orvo/Diagnostic.h"

namespace orvo {

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::Note:
      return "note";
    case Severity::Warning:
      return "warning";
    case Severity::Error:
      return "error";
  }
  return "error";
}

}  // namespace orvo
