// Writes the preprocessor's tokens as `cpp -P` does: one blank where blanks
// stood before a token (or where two tokens would otherwise read as one), a
// line break where a source line began, no line markers and no empty lines.
// Keeps for each output line the input line its first token came from.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <clang/Lex/Preprocessor.h>
#include <clang/Lex/TokenConcatenation.h>

#include "orvo/Explanation.h"

namespace orvo::standard {

class TokenPrinter {
 public:
  TokenPrinter(clang::Preprocessor& preprocessor, std::size_t maxBytes);

  // Whether the next token starts an output line (and so needs its origin).
  bool atLineStart(const clang::Token& token) const { return m_LineEmpty || token.isAtStartOfLine(); }
  // Appends a token; false when the output would exceed its limit (the token
  // is then not written). `origin`, the input line it came from, is read only
  // when the token starts a line.
  bool print(const clang::Token& token, const LineOrigin& origin);
  // Appends a line of its own, such as a #pragma the library passes on.
  bool printLine(const std::string& line, const LineOrigin& origin);

  // The text with a final line break; the line map has one entry per line.
  std::string takeOutput();
  std::vector<LineOrigin>& lineMap() { return m_LineMap; }

 private:
  void startLine(const LineOrigin& origin);

  clang::Preprocessor& m_Preprocessor;
  clang::TokenConcatenation m_Concatenation;
  std::size_t m_MaxBytes;
  std::string m_Output;
  std::vector<LineOrigin> m_LineMap;
  clang::Token m_Previous;
  clang::Token m_BeforePrevious;
  bool m_LineEmpty = true;
  std::string m_Spelling;
};

}  // namespace orvo::standard
