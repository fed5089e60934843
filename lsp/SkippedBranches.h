// textDocument/semanticTokens/full: the lines of conditional branches that
// standard C did not take, so the editor can dim them. Each such line is one
// token of type "comment" with the modifier "skipped" (the legend below);
// a theme may style the pair (Neovim: @lsp.mod.skipped) to tell them apart
// from comments.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/DocumentRun.h"

namespace orvo::lsp {

// The legend the server announces in its capabilities.
nlohmann::json skippedBranchesLegend();

// The SemanticTokens result: {"data": [...]}.
nlohmann::json skippedBranchTokens(const FinishedRun& run);

}  // namespace orvo::lsp
