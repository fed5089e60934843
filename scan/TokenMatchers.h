// Hand-written matchers for the token patterns of the token table. Each
// finds what the regular-expression library finds for the pattern alone
// under the scanners' leftmost-longest rule: the longest match at a
// position and the groups that match reports. The expressions stay the
// reference; the differential tests hold the two together.
#pragma once

#include <array>
#include <span>

#include "scan/ByteClasses.h"

namespace orvo {

// A group of a token's own pattern; `begin` null when it did not take part.
struct CVL_GroupSpan {
  const char* begin = nullptr;
  const char* end = nullptr;
};

// The groups of a token pattern after its wrapping group (at most three).
using CVL_InnerGroups = std::array<CVL_GroupSpan, 3>;

// Returns the end of the longest match of the pattern at `p` (before
// `end`), or null; fills the groups that take part in that match.
using CVL_TokenMatchFunction = const char* (*)(const char* p, const char* end,
                                               const CVL_ByteClasses& classes,
                                               CVL_InnerGroups& groups);

struct CVL_TokenMatcher {
  const char* pattern;  // the token table pattern this matcher reproduces
  int innerGroups;      // capturing groups of the pattern
  CVL_TokenMatchFunction match;
  int longest = 0;      // the longest match the pattern has; 0 for no bound
};

// Every matcher, each keyed by the exact pattern text it was written for.
std::span<const CVL_TokenMatcher> TokenMatchers();

}  // namespace orvo
