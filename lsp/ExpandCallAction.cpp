#include "lsp/ExpandCallAction.h"

#include "lsp/ProtocolTypes.h"
#include "lsp/SourceLines.h"

namespace orvo::lsp {

nlohmann::json expandCallActions(const FinishedRun& run, long documentVersion, Position position) {
  nlohmann::json actions = nlohmann::json::array();
  if (documentVersion != run.version) return actions;
  const std::optional<std::size_t> offset = offsetOf(run.text, position);
  if (!offset) return actions;
  const std::vector<const RecordedStep*> steps = expansionAt(*run.standardSteps, *offset);
  if (steps.empty()) return actions;
  const RecordedStep& opening = *steps.front();
  const RecordedStep* result = nullptr;
  for (const RecordedStep* step : steps)
    if (step->kind == RecordedStep::Kind::Result && step->step.expansion == opening.step.expansion)
      result = step;
  if (!result) return actions;
  // The call as written is what the first step started from; only that
  // exact text is replaced.
  const auto begin = static_cast<std::size_t>(opening.step.place.begin);
  const std::string& written = opening.before;
  if (run.text.compare(begin, written.size(), written) != 0) return actions;
  const nlohmann::json range = {{"start", positionJson(positionAt(run.text, begin))},
                                {"end", positionJson(positionAt(run.text, begin + written.size()))}};
  nlohmann::json edit = {
      {"changes", {{run.uri, nlohmann::json::array({{{"range", range}, {"newText", result->after}}})}}}};
  actions.push_back({{"title", kExpandCallTitle}, {"kind", "refactor.inline"}, {"edit", std::move(edit)}});
  return actions;
}

}  // namespace orvo::lsp
