#include "orvo/Explanation.h"

namespace orvo {

LineOrigin RunExplanation::originOf(int outputLine) const {
  if (outputLine < 1 || outputLine > static_cast<int>(lineMap.size())) return LineOrigin{};
  return lineMap[static_cast<std::size_t>(outputLine - 1)];
}

std::vector<int> RunExplanation::outputLinesOf(int file, int line) const {
  std::vector<int> lines;
  for (std::size_t i = 0; i < lineMap.size(); ++i) {
    const LineOrigin& origin = lineMap[i];
    if (origin.file == file && origin.firstLine <= line && line <= origin.lastLine)
      lines.push_back(static_cast<int>(i) + 1);
  }
  return lines;
}

bool RunExplanation::isSkipped(int file, int line) const {
  for (const SkippedLines& range : skipped)
    if (range.file == file && range.firstLine <= line && line <= range.lastLine) return true;
  return false;
}

}  // namespace orvo
