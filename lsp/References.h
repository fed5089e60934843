// textDocument/references: every use of the macro named at a position in the
// open document (its definitions and #undef lines included), outside
// comments and string and character literals.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/DocumentRun.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

// Locations listed at most for one request; a use on every line of a huge
// file stays answerable.
inline constexpr std::size_t kMaxReferences = 10000;

// An array of Locations; empty when the name is no macro the run defined.
nlohmann::json referenceLocations(const FinishedRun& run, Position position);

}  // namespace orvo::lsp
