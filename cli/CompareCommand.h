// orvo-pp --compare: runs both engines and prints where their results
// differ, as text or as JSON lines, and both runs' messages.
#pragma once

#include <ostream>

#include "cli/DiagnosticPrinter.h"
#include "orvo/Comparison.h"

namespace orvo::cli {

// Exit statuses, as diff gives them; trouble also when standard C itself
// reports an error, so that a script never takes invalid C for agreement.
inline constexpr int kCompareAgree = 0;
inline constexpr int kCompareDiffer = 1;
inline constexpr int kCompareTrouble = 2;

struct CompareReport {
  bool json = false;         // one JSON object per difference instead of text
  bool allMessages = false;  // print notes too
  PrintStyle style;          // of the messages
};

// Prints each difference of `comparison` to `out`: as text
// "FILE:LINE:COL: difference: REASON" (after the include chain) with the
// line and both results below, or one JSON object per line. Prints both
// runs' messages to `messages`, each marked with its engine ("[orvo]",
// "[standard C]"). Returns the exit status.
int printComparison(const compare::Comparison& comparison, const CompareReport& report,
                    std::ostream& out, std::ostream& messages);

}  // namespace orvo::cli
