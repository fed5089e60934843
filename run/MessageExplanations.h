// Plain explanations of the parser's messages. The message texts stay as
// they are (tests and users rely on them); what they mean, and the places
// that belong to them, come after them as notes.
#pragma once

#include <string_view>
#include <vector>

#include "orvo/Diagnostic.h"
#include "run/SourceRegistry.h"

namespace orvo {

// What a message's text leaves unsaid, as notes: the '(' an unclosed group
// opened with, the macro whose expansion the message arose in, and the
// plain explanation of the message kind. `source`, `begin`, `end` and
// `inMacroText` are the message's place before lines are counted
// (kNoSource: no place).
std::vector<DiagnosticNote> explanationNotes(std::string_view text, const SourceRegistry& sources,
                                             SourceId source, int begin, int end,
                                             bool inMacroText);

// The explanation of a message text alone, from the table of message kinds;
// empty for a text that says enough by itself. "{token}" in a row stands for
// `token`, the text the message points at.
std::string explanationOf(std::string_view text, std::string_view token);

}  // namespace orvo
