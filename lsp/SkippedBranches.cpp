#include "lsp/SkippedBranches.h"

#include <set>
#include <string_view>

#include "lsp/SourceLines.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

namespace {

constexpr int kCommentType = 0;        // index into the legend's token types
constexpr int kSkippedModifier = 1 << 0;  // bit of the legend's first modifier

bool isConditionalDirective(std::string_view directive) {
  return directive == "if" || directive == "ifdef" || directive == "ifndef" ||
         directive == "elif" || directive == "else" || directive == "endif" ||
         directive == "elifdef" || directive == "elifndef";
}

}  // namespace

nlohmann::json skippedBranchesLegend() {
  return {{"tokenTypes", {"comment"}}, {"tokenModifiers", {"skipped"}}};
}

nlohmann::json skippedBranchTokens(const FinishedRun& run) {
  std::set<int> lines;  // 1-based
  // The run's explanation lists skipped lines per file; files[0] is the
  // document itself.
  if (run.standard.explanation)
    for (const SkippedLines& skipped : run.standard.explanation->skipped)
      if (skipped.file == 0) {
        // A range may begin and end with the conditional directives that
        // bound it; they stay undimmed, as they decide the branch.
        int first = skipped.firstLine;
        int last = skipped.lastLine;
        if (isConditionalDirective(directiveOn(run.text, first - 1))) ++first;
        if (last >= first && isConditionalDirective(directiveOn(run.text, last - 1))) --last;
        for (int line = first; line <= last; ++line) lines.insert(line);
      }
  nlohmann::json data = nlohmann::json::array();
  const std::string_view text = run.text;
  int line = 1;
  std::size_t lineStart = 0;
  int previousLine = 0;  // 0-based line of the previous token
  for (const int wanted : lines) {
    while (line < wanted) {
      const std::size_t newline = text.find('\n', lineStart);
      if (newline == std::string_view::npos) return {{"data", data}};
      lineStart = newline + 1;
      ++line;
    }
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    if (lineEnd > lineStart && text[lineEnd - 1] == '\r') --lineEnd;
    const std::string_view lineText = text.substr(lineStart, lineEnd - lineStart);
    const int length =
        positionOf(wanted, static_cast<int>(lineText.size()) + 1, lineText).character;
    if (length == 0) continue;
    data.push_back(wanted - 1 - previousLine);
    data.push_back(0);
    data.push_back(length);
    data.push_back(kCommentType);
    data.push_back(kSkippedModifier);
    previousLine = wanted - 1;
  }
  return {{"data", data}};
}

}  // namespace orvo::lsp
