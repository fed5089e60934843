#include "scan/IgnoreScanner.h"

namespace zemra {

CVL_IgnoreScanner::CVL_IgnoreScanner(const char* chars) {
  for (const char* p = chars; *p != '\0'; ++p) m_Chars.set(static_cast<unsigned char>(*p));
}

bool CVL_IgnoreScanner::passOver(const char*& position, const char* inputEnd) const {
  const char* const start = position;
  while (position != inputEnd && ignores(*position)) ++position;
  return position != start;
}

}  // namespace zemra
