#include "scan/RegexScanner.h"

namespace orvo {
namespace {

void TakeHit(CVL_Match& match, const CVL_GroupSymbol& hit, int length) {
  match.m_bFound = true;
  match.m_Length = length;
  match.m_Kind = match_kind::Regex;
  match.m_pSymbol = hit.m_pSymbol;
  match.m_Group = hit.m_Group;
}

}  // namespace

bool CVL_RegexScanner::find(CVL_Match& match, const char* inputEnd) const {
  if (!mayMatchAt(match.m_pTokenBegin, inputEnd)) return false;
  if (!match.m_bFound) {
    // Without a candidate the search may write straight into the match: its
    // groups carry nothing worth keeping.
    const CVL_GroupSymbol* hit = m_Search.search(match.m_pTokenBegin, inputEnd, match.m_Submatches);
    if (hit == nullptr) return false;
    TakeHit(match, *hit, static_cast<int>(match.m_Submatches.length(0)));
    return true;
  }
  CVL_Submatches aside;
  const CVL_GroupSymbol* hit = m_Search.search(match.m_pTokenBegin, inputEnd, aside);
  if (hit == nullptr) return false;
  const int length = static_cast<int>(aside.length(0));
  const bool keepCandidate =
      length < match.m_Length ||
      (length == match.m_Length &&
       (match.m_Kind == match_kind::Literal || match.m_Kind == match_kind::Regex));
  if (keepCandidate) return true;
  match.m_Submatches = aside;
  TakeHit(match, *hit, length);
  return true;
}

}  // namespace orvo
