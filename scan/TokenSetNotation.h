// The two text forms of the scanner tables: token-set notation
// ("18-64, 76-78, 84") and pair-list notation ("2, 75, 4, 9").
#pragma once

#include <utility>
#include <vector>

#include "scan/Scanner.h"

namespace orvo {

// One item of token-set notation: an inclusive range, or a single number when
// first == last. A range whose last number is below its first holds nothing.
struct CVL_NumberRange {
  int first;
  int last;
};

// The items of a list in token-set notation, in order. Blanks may stand before
// each number; the empty text is the empty list. Throws CVL_Message
// "malformed number list" for any other text.
std::vector<CVL_NumberRange> ParseNumberRanges(const char* text);

// The token ids a token-set text names. Throws CVL_Message "token number out
// of range" for a number above kTokenCount.
CVL_TokenSet ParseTokenSet(const char* text);

// The (group, token id) pairs of a pair-list text, in order. Throws
// CVL_Message "malformed pair list" for an odd count of numbers or a range,
// and "token number out of range" as above.
std::vector<std::pair<int, int>> ParsePairList(const char* text);

}  // namespace orvo
