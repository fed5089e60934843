// The branches of the conditional directives in a text, found by their
// directive lines, so that the explorer can tell which conditional a line
// belongs to. Which way each went is the run's to say; this only finds the
// extent of each branch.
#pragma once

#include <string_view>
#include <vector>

namespace orvo {

struct ConditionalBranch {
  int directiveLine = 0;  // 1-based line of its #if, #ifdef, #ifndef, #elif or #else
  int lastLine = 0;       // the line before the next #elif, #else or #endif of its group
};

// Every branch of `text`, in order of their directive lines. An unclosed
// group's last branch runs to the end of the text.
std::vector<ConditionalBranch> findConditionalBranches(std::string_view text);

// The innermost branch holding 1-based `line` (its directive line included),
// or null.
const ConditionalBranch* innermostBranchAt(const std::vector<ConditionalBranch>& branches,
                                           int line);

}  // namespace orvo
