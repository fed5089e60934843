// The Markdown the hovers show: the steps of one expansion, a conditional's
// decision, an include's file, a macro's definition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "orvo/Comparison.h"
#include "orvo/Observer.h"
#include "orvo/StepRecorder.h"

namespace orvo::lsp {

// Steps shown in one hover, and bytes of any one text in a step: a hover
// stays readable and small however explosive the macro is; the rest is
// counted, never silently dropped.
inline constexpr std::size_t kMaxHoverSteps = 200;
inline constexpr std::size_t kMaxShownTextBytes = 2000;

// `engine` names the engine in the heading ("standard C", "orvo").
std::string expansionMarkdown(std::string_view engine, const std::vector<const RecordedStep*>& steps);
std::string conditionalMarkdown(std::string_view engine, const ConditionalEvent& event);
std::string includeMarkdown(const IncludeEvent& event, const std::vector<std::string>& searched);
std::string definitionMarkdown(const MacroDefinedEvent& event);
std::string differenceMarkdown(const compare::Difference& difference);

}  // namespace orvo::lsp
