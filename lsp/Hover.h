// textDocument/hover: on a macro name or call, the steps of its expansion;
// on #if, #elif, #ifdef, #ifndef and #else, the decision with each name's
// value; on #include, the file found. Answered from a finished run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lsp/DocumentRun.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

// The hover's Markdown, or nullopt when there is nothing to show there.
std::optional<std::string> hoverMarkdown(const FinishedRun& run, Position position);

}  // namespace orvo::lsp
