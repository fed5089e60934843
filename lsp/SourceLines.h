// Looking up what a finished run recorded at a place of the document.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "orvo/Observer.h"
#include "orvo/StepRecorder.h"

namespace orvo::lsp {

// The directive on `line` (0-based) of `text` ("if", "include", ...), or
// empty when the line holds none.
std::string_view directiveOn(std::string_view text, int line);

// The steps of the outermost expansion whose call or name in the main
// input covers byte `offset`, nested steps included, in order.
std::vector<const RecordedStep*> expansionAt(const StepRecording& recording, std::size_t offset);

// The definition of `name` in force at 1-based `line` of the main input:
// the last one recorded before it, else the first recorded at all.
const MacroDefinedEvent* definitionOf(const StepRecording& recording, std::string_view name,
                                      int line);

}  // namespace orvo::lsp
