#include "scan/IgnoreScanner.h"

namespace orvo {

CVL_IgnoreScanner::CVL_IgnoreScanner(const char* chars) {
  for (const char* p = chars; *p != '\0'; ++p) m_Chars.set(static_cast<unsigned char>(*p));
}

}  // namespace orvo
