// The rules where this preprocessor parts from ISO C, in one table: each
// with a short explanation and an example that shows it. The README, the
// example catalogue and the reasons --compare gives all read this table.
#pragma once

#include <span>
#include <string_view>

namespace orvo::compare {

struct DifferenceRule {
  std::string_view id;           // stable key, used in JSON output and tests
  std::string_view title;        // a short name for the rule
  std::string_view summary;      // one line: what the example shows
  std::string_view explanation;  // what this preprocessor does, and what ISO C does
  std::string_view example;      // a short input that shows it (lines end in LF)
};

std::span<const DifferenceRule> differenceRules();
// The rule of that id; null when there is none.
const DifferenceRule* findRule(std::string_view id);

}  // namespace orvo::compare
