#include "app/ConditionalBranches.h"

#include <cstddef>
#include <string>

namespace orvo {
namespace {

enum class Directive { None, Opens, Continues, Closes };

// What the line's directive does to conditional groups.
Directive directiveOf(std::string_view line) {
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  };
  skipBlanks();
  if (i >= line.size() || line[i] != '#') return Directive::None;
  ++i;
  skipBlanks();
  std::size_t end = i;
  while (end < line.size() && ((line[end] >= 'a' && line[end] <= 'z'))) ++end;
  const std::string_view word = line.substr(i, end - i);
  if (word == "if" || word == "ifdef" || word == "ifndef") return Directive::Opens;
  if (word == "elif" || word == "else") return Directive::Continues;
  if (word == "endif") return Directive::Closes;
  return Directive::None;
}

}  // namespace

std::vector<ConditionalBranch> findConditionalBranches(std::string_view text) {
  std::vector<ConditionalBranch> branches;
  std::vector<std::size_t> open;  // index of each open group's current branch
  int line = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) stop = text.size();
    ++line;
    switch (directiveOf(text.substr(start, stop - start))) {
      case Directive::Opens:
        open.push_back(branches.size());
        branches.push_back({line, 0});
        break;
      case Directive::Continues:
        if (!open.empty()) {
          branches[open.back()].lastLine = line - 1;
          open.back() = branches.size();
          branches.push_back({line, 0});
        }
        break;
      case Directive::Closes:
        if (!open.empty()) {
          branches[open.back()].lastLine = line - 1;
          open.pop_back();
        }
        break;
      case Directive::None:
        break;
    }
    if (stop >= text.size()) break;
    start = stop + (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1);
  }
  for (const std::size_t index : open) branches[index].lastLine = line;
  return branches;
}

const ConditionalBranch* innermostBranchAt(const std::vector<ConditionalBranch>& branches,
                                           int line) {
  const ConditionalBranch* innermost = nullptr;
  for (const ConditionalBranch& branch : branches) {
    if (branch.directiveLine > line) break;
    // Later branches that hold the line are nested in the earlier ones.
    if (line <= branch.lastLine || line == branch.directiveLine) innermost = &branch;
  }
  return innermost;
}

}  // namespace orvo
