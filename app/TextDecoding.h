// Turns the engine's bytes (macro names, replacements, step texts) into
// text for the panels, the same way the input editor shows the input: as
// UTF-8, or one character per byte when the input is not valid UTF-8.
#pragma once

#include <QString>
#include <string_view>

#include "app/CodeEditor.h"

namespace orvo {

QString decodeText(std::string_view bytes, TextEncoding encoding);

}  // namespace orvo
