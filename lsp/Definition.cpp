#include "lsp/Definition.h"

#include <algorithm>

#include "lsp/ProtocolTypes.h"
#include "lsp/SourceLines.h"

namespace orvo::lsp {

nlohmann::json definitionLocation(const FinishedRun& run, Position position) {
  const std::optional<std::size_t> offset = offsetOf(run.text, position);
  if (!offset) return nullptr;
  const Word word = wordAt(run.text, *offset);
  if (word.text.empty()) return nullptr;
  const MacroDefinedEvent* definition =
      definitionOf(*run.standardSteps, word.text, position.line + 1);
  if (!definition && run.mainSteps)
    definition = definitionOf(*run.mainSteps, word.text, position.line + 1);
  if (!definition) return nullptr;
  // The place of a definition may be its name's first byte alone.
  SourcePlace name = definition->place;
  name.end = std::max(name.end, name.begin + static_cast<int>(definition->name.size()));
  return locationOf(name, run.uri);
}

}  // namespace orvo::lsp
