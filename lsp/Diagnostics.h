// The parameters of textDocument/publishDiagnostics for a finished run: the
// engines' errors and warnings, their notes as related information and,
// when both engines ran, each difference as information naming its rule.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/DocumentRun.h"

namespace orvo::lsp {

// Messages published for one document; the count beyond is said in the last.
inline constexpr std::size_t kMaxPublishedDiagnostics = 1000;

nlohmann::json diagnosticsParams(const FinishedRun& run);

}  // namespace orvo::lsp
