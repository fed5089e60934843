#include "standard/TokenPrinter.h"

namespace orvo::standard {

TokenPrinter::TokenPrinter(clang::Preprocessor& preprocessor, std::size_t maxBytes)
    : m_Preprocessor(preprocessor), m_Concatenation(preprocessor), m_MaxBytes(maxBytes) {
  m_Previous.startToken();
  m_BeforePrevious.startToken();
}

void TokenPrinter::startLine(const LineOrigin& origin) {
  if (!m_LineEmpty) m_Output += '\n';
  m_LineEmpty = false;
  m_LineMap.push_back(origin);
  m_Previous.startToken();
  m_BeforePrevious.startToken();
}

bool TokenPrinter::print(const clang::Token& token, const LineOrigin& origin) {
  m_Spelling = m_Preprocessor.getSpelling(token);
  const bool newLine = atLineStart(token);
  bool blank = false;
  if (!newLine)
    blank = token.hasLeadingSpace() ||
            m_Concatenation.AvoidConcat(m_BeforePrevious, m_Previous, token);
  // A line break, a blank and the token: checked before anything is written.
  if (m_Output.size() + m_Spelling.size() + 2 > m_MaxBytes) return false;
  if (newLine) {
    startLine(origin);
  } else if (blank) {
    m_Output += ' ';
  }
  m_Output += m_Spelling;
  m_BeforePrevious = m_Previous;
  m_Previous = token;
  return true;
}

bool TokenPrinter::printLine(const std::string& line, const LineOrigin& origin) {
  if (m_Output.size() + line.size() + 2 > m_MaxBytes) return false;
  startLine(origin);
  m_Output += line;
  // The next token starts a line of its own.
  m_Output += '\n';
  m_LineEmpty = true;
  return true;
}

std::string TokenPrinter::takeOutput() {
  if (!m_LineEmpty) m_Output += '\n';
  m_LineEmpty = true;
  return std::move(m_Output);
}

}  // namespace orvo::standard
