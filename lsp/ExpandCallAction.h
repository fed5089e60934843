// textDocument/codeAction "Expand this macro call": standard C's result of
// the outermost expansion at the start of the range replaces its call.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/DocumentRun.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

inline constexpr const char* kExpandCallTitle = "Expand this macro call";

// An array with the one code action, or empty when no call is there or the
// document changed since its last run (the edit would land on other text).
nlohmann::json expandCallActions(const FinishedRun& run, long documentVersion, Position position);

}  // namespace orvo::lsp
