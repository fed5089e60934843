// orvo-pp --compare: runs both engines and prints where their results
// differ, as text or as JSON lines.
#pragma once

#include <ostream>
#include <string_view>

#include "orvo/Comparison.h"

namespace orvo::cli {

// Exit statuses, as diff gives them.
inline constexpr int kCompareAgree = 0;
inline constexpr int kCompareDiffer = 1;
inline constexpr int kCompareTrouble = 2;

// Prints each difference of `comparison` to `out`: as text
// "FILE:LINE:COL: difference: REASON" with both results below, or (json)
// one JSON object per line. Returns the exit status.
int printComparison(const compare::Comparison& comparison, bool json, std::ostream& out);

}  // namespace orvo::cli
