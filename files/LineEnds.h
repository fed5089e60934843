// Line ends as editors read them: LF, CR LF, and a lone CR.
#pragma once

#include <string>

namespace orvo::files {

// The parser knows LF and CR LF line ends only; a lone CR (one not followed
// by an LF), which editors read as a line end too, becomes an LF. Byte for
// byte, so offsets, lines and columns of messages stay those of the file.
inline void readLoneCarriageReturnsAsLineEnds(std::string& text) {
  for (std::size_t i = text.find('\r'); i != std::string::npos; i = text.find('\r', i + 1))
    if (i + 1 == text.size() || text[i + 1] != '\n') text[i] = '\n';
}

}  // namespace orvo::files
