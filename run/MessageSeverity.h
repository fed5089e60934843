// How grave a recorded message is for the user: the one mapping from the
// runtime's message kinds (runtime/MessageKind.h) to severities, shared by
// the run's diagnostics and the explorer's message events.
#pragma once

#include "orvo/Diagnostic.h"

namespace orvo {

// `inMacroText`: the message arose while rescanning text built from macros.
Severity severityOfMessage(unsigned char kind, bool inMacroText);

}  // namespace orvo
