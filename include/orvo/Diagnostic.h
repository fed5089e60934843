// A message of a run as data: how grave it is, its text and where it arose.
// The engine raises them; orvo-pp prints them and the window lists them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "orvo/SourcePlace.h"

namespace orvo {

enum class Severity {
  Note,     // detail a user asks for (--all-messages), such as a syntax error
            // met while rescanning macro text, which keeps that text as it is
  Warning,  // the run went on and lost nothing
  Error,    // something the user has to fix; text may be missing from the output
};

const char* severityName(Severity severity);  // "note", "warning", "error"

// Detail attached to a diagnostic: a related place ("previous definition is
// here", the '(' an unclosed group opened with) or a plain explanation of the
// message. A note without a place of its own belongs to its message's place.
struct DiagnosticNote {
  std::string text;
  std::optional<SourcePlace> place;
};

struct Diagnostic {
  Severity severity = Severity::Error;
  std::string text;
  // Absent only when nothing in the sources is to blame (an input too large
  // to parse, say).
  std::optional<SourcePlace> place;
  // The message arose while rescanning text built from macros; the place is
  // the use of the macro in the sources.
  bool inMacroText = false;
  // Shown after the message, in order.
  std::vector<DiagnosticNote> notes;
};

}  // namespace orvo
