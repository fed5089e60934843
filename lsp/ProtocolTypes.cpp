#include "lsp/ProtocolTypes.h"

#include <algorithm>
#include <filesystem>

namespace orvo::lsp {

nlohmann::json positionJson(Position position) {
  return {{"line", position.line}, {"character", position.character}};
}

nlohmann::json rangeOf(const SourcePlace& place) {
  if (!place.known()) return {{"start", positionJson({})}, {"end", positionJson({})}};
  const Position start = positionOf(place.line, place.column, place.lineText);
  const int width = std::max(place.end - place.begin, 1);
  int endColumn = place.column + width;
  if (!place.lineText.empty())
    endColumn = std::min(endColumn, static_cast<int>(place.lineText.size()) + 1);
  Position end = positionOf(place.line, std::max(endColumn, place.column + 1), place.lineText);
  return {{"start", positionJson(start)}, {"end", positionJson(end)}};
}

nlohmann::json locationOf(const SourcePlace& place, const std::string& documentUri) {
  std::string uri = documentUri;
  if (!place.inMainInput && !place.file.empty()) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(place.file, error);
    uri = uriOfPath(error ? place.file : absolute.lexically_normal().string());
  }
  return {{"uri", uri}, {"range", rangeOf(place)}};
}

}  // namespace orvo::lsp
