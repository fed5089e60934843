// A backslash inside a line is scanned as BSEOL like a line continuation,
// but it joins nothing: it stays in the text, with the blanks after it.
#pragma once

#include <string>

#include "runtime/ParseState.h"

namespace orvo {

// Whether the BSEOL token just matched holds no line break.
inline bool IsStrayBackslash(const CVL_ParseState& s) {
  return s.matchText(0).find('\n') == std::string::npos;
}

}  // namespace orvo
