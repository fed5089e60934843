// Both engines over one input, and where their results differ: input line
// by input line (through both runs' line maps), token by token (blanks and
// line breaks alone are no difference), each difference with its input
// place, both results, the messages either run gave there and the rule that
// makes it, found from the two runs' events. The command line and the window
// both use it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvo/Run.h"

namespace orvo::compare {

// One input line whose results differ (lines that one run joins, such as a
// macro call over several lines, count as one), or where only one run
// reports an error.
struct Difference {
  // The input line: file, line, column 1, the line's text and, in an
  // included file, the #include lines that led there (outermost first, so
  // includedFrom.front() is in the main input); absent when unknown.
  std::optional<SourcePlace> place;
  // The differing tokens of each result on that line (the tokens both
  // results share at its start and end left out), joined by blanks and cut
  // after a few hundred bytes (a whole header only one run read) with the
  // number of tokens left out; empty when that result has none there.
  std::string mainText;
  std::string standardText;
  // Output lines (from 1) the difference lies on in each result; where one
  // result has no tokens there, the line of the token that follows (or the
  // last line); 0 for an empty result.
  int mainLine = 0;
  int standardLine = 0;
  std::string rule;    // the id of a DifferenceRule (compare/DifferenceRules.h)
  // A sentence naming the rule with both runs' facts, and where standard C
  // reports an error or a warning; a line with two causes gets both
  // reasons, joined by "; also ", and the rule of the first.
  std::string reason;
  // The line of the main input the difference belongs to: its own line, or
  // for a line of an included file the main input's #include that leads
  // there; 0 when unknown.
  int inputLine = 0;
  // The gravest message each run gave on that line (the error that ended a
  // run included), which the reason names.
  std::optional<Diagnostic> mainMessage;
  std::optional<Diagnostic> standardMessage;
};

struct Comparison {
  RunResult main;
  RunResult standard;
  std::vector<Difference> differences;
  // Set when the comparison itself could not be made (the standard run ended
  // with an error, which `standard.error` holds), so no differences are
  // listed.
  std::optional<std::string> trouble;

  bool agree() const { return !trouble && differences.empty(); }
  // Whether standard C reported an error: the input is no valid C, and
  // orvo-pp --compare exits with 2.
  bool standardFailed() const { return trouble.has_value() || standard.hasErrors(); }
};

// Most differences listed for one input; beyond it the last entry says how
// many more there are. Enough for any screen; two large outputs that differ
// on every line still compare quickly.
inline constexpr std::size_t kMaxDifferences = 500;

// Runs both engines with `options` (its observer, if any, is not used) and
// compares their outputs. `mainObserver` and `standardObserver`, when given,
// receive every event of the main and of the standard run as well, so one
// comparison also records both runs' steps for the explorer.
Comparison compareRuns(std::string_view input, const RunOptions& options,
                       RunObserver* mainObserver = nullptr,
                       RunObserver* standardObserver = nullptr);

}  // namespace orvo::compare
