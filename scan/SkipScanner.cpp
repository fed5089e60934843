#include "scan/SkipScanner.h"

namespace orvo {

bool CVL_SkipScanner::skip(CVL_Match& match, const char* inputEnd) const {
  const CVL_GroupSymbol* stop = m_Search.search(match.m_pTokenBegin, inputEnd, match.m_Submatches);
  if (stop == nullptr) return false;
  match.m_Length = 0;
  match.m_Kind = match_kind::Skip;
  match.m_pSymbol = stop->m_pSymbol;
  match.m_Group = stop->m_Group;
  // A stop right at the start leaves nothing to skip: no candidate, and the
  // caller sees a skip that stopped at once.
  if (match.m_Submatches[0].first == match.m_pTokenBegin) return false;
  match.m_bFound = true;
  return true;
}

}  // namespace orvo
