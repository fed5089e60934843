// The protocol's Range and Location built from the engine's places.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "orvo/SourcePlace.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

nlohmann::json positionJson(Position position);
// The range of `place` on its line (at least one character wide); line 0
// (no place) gives the start of the document.
nlohmann::json rangeOf(const SourcePlace& place);
// A Location for `place`: in the document `documentUri` when the place is
// in the main input, else in the file it names.
nlohmann::json locationOf(const SourcePlace& place, const std::string& documentUri);

}  // namespace orvo::lsp
