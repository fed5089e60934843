// The #elif and #else lines inside a stretch of text the library skipped.
// The library reports no event for an #else (nor an #elif after a branch
// that was taken) that it passes over while skipping the rest of a
// conditional; the explorer needs each branch's decision all the same.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::standard {

struct SkippedDirective {
  std::size_t offset = 0;  // of the '#' in the text
  std::string directive;   // "elif" or "else"
  std::string expression;  // an #elif's condition as written
};

// The #elif and #else lines of `text` that belong to the conditional whose
// directive is the text's first line: those inside a nested #if..#endif
// are left out, and the scan ends at the #endif that closes it. Block
// comments and continued lines are followed.
std::vector<SkippedDirective> branchDirectivesIn(std::string_view text);

}  // namespace orvo::standard
