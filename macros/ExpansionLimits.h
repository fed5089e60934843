// Bounds on macro expansion. The expansion rules alone let some definitions
// expand without end (a function-like macro whose expansion calls it again,
// a text that keeps changing from pass to pass) or grow exponentially (a
// chain of macros that each call the one below twice); these limits end such
// a run with a message instead of exhausting the stack, memory or time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zemra {

// Macro expansions that may be in progress, each inside the one before.
constexpr int kMaxExpansionDepth = 200;
// Passes one rescan may take before its text has to stop changing.
constexpr int kMaxRescanPasses = 256;
// What one outermost expansion, with everything expanded inside it, may
// cost: nested parses of rescanned text, and bytes those parses produce.
constexpr int kMaxExpansionParses = 32768;
constexpr std::size_t kMaxExpandedBytes = std::size_t{1} << 19;

// The expansions in progress and what the outermost one has cost so far.
struct ExpansionBudget {
  int depth = 0;
  int parses = 0;
  std::size_t producedBytes = 0;

  // Counts one nested parse; throws a CVL_Message past the limit.
  void chargeParse();
  // Counts `text` as produced; throws a CVL_Message past the limit.
  void chargeOutput(const std::string& text);
};

// Counts the expansion of macro `name` as in progress for its lifetime and
// throws a CVL_Message when that nests expansions deeper than the limit. An
// outermost expansion starts with the whole budget.
class ExpansionScope {
 public:
  ExpansionScope(ExpansionBudget& budget, std::string_view name);
  ~ExpansionScope() { --m_Budget.depth; }
  ExpansionScope(const ExpansionScope&) = delete;
  ExpansionScope& operator=(const ExpansionScope&) = delete;

 private:
  ExpansionBudget& m_Budget;
};

// Throws a CVL_Message for a rescan that is still changing its text after
// the pass limit.
[[noreturn]] void RescanDidNotSettle();

}  // namespace zemra
