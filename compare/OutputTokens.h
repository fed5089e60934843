// The tokens of a preprocessor's output, for comparing two outputs token by
// token: blanks, line breaks and comments separate tokens and are no tokens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo::compare {

struct OutputToken {
  std::string text;
  int line = 0;  // 1-based line of the output
};

// Splits C text into identifiers, preprocessing numbers, character and
// string literals, punctuators (longest first) and any other single byte.
std::vector<OutputToken> tokensOf(std::string_view text);

}  // namespace orvo::compare
