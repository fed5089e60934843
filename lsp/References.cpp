#include "lsp/References.h"

#include <cctype>

#include "lsp/ProtocolTypes.h"
#include "lsp/SourceLines.h"

namespace orvo::lsp {

namespace {

bool isIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentifierByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Offsets of every identifier `name` in `text` outside comments and literals.
std::vector<std::size_t> identifierUses(std::string_view text, std::string_view name) {
  std::vector<std::size_t> uses;
  std::size_t i = 0;
  while (i < text.size() && uses.size() < kMaxReferences) {
    const char c = text[i];
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
    } else if (c == '"' || c == '\'') {
      ++i;
      while (i < text.size() && text[i] != c && text[i] != '\n') i += text[i] == '\\' ? 2 : 1;
      ++i;
    } else if (isIdentifierStart(c)) {
      const std::size_t begin = i;
      while (i < text.size() && isIdentifierByte(text[i])) ++i;
      if (text.substr(begin, i - begin) == name) uses.push_back(begin);
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      while (i < text.size() && (isIdentifierByte(text[i]) || text[i] == '.')) ++i;
    } else {
      ++i;
    }
  }
  return uses;
}

}  // namespace

nlohmann::json referenceLocations(const FinishedRun& run, Position position) {
  nlohmann::json locations = nlohmann::json::array();
  const std::optional<std::size_t> offset = offsetOf(run.text, position);
  if (!offset) return locations;
  const Word word = wordAt(run.text, *offset);
  if (word.text.empty() || !definitionOf(*run.standardSteps, word.text, position.line + 1))
    return locations;
  // The uses come in order: lines are counted once over the whole text.
  int line = 0;
  std::size_t lineStart = 0;
  std::size_t counted = 0;
  for (const std::size_t use : identifierUses(run.text, word.text)) {
    for (; counted < use; ++counted) {
      if (run.text[counted] == '\n') {
        ++line;
        lineStart = counted + 1;
      }
    }
    const std::string_view lineText = std::string_view(run.text).substr(lineStart);
    const int column = static_cast<int>(use - lineStart) + 1;
    const Position first = positionOf(line + 1, column, lineText);
    const Position last =
        positionOf(line + 1, column + static_cast<int>(word.text.size()), lineText);
    locations.push_back(
        {{"uri", run.uri}, {"range", {{"start", positionJson(first)}, {"end", positionJson(last)}}}});
  }
  return locations;
}

}  // namespace orvo::lsp
