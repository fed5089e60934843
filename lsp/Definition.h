// textDocument/definition: the #define of the macro named at a position,
// in the document or in a header it includes.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/DocumentRun.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

// A Location, or null when no macro of that name was defined.
nlohmann::json definitionLocation(const FinishedRun& run, Position position);

}  // namespace orvo::lsp
