#include "scan/RegexScanner.h"

namespace zemra {

bool CVL_RegexScanner::find(CVL_Match& match, const char* inputEnd) const {
  if (!mayMatchAt(match.m_pTokenBegin, inputEnd)) return false;
  // Without a candidate the search may write straight into the match: its
  // groups carry nothing worth keeping.
  CVL_Submatches aside;
  CVL_Submatches& results = match.m_bFound ? aside : match.m_Submatches;
  const CVL_GroupSymbol* hit = m_Search.search(match.m_pTokenBegin, inputEnd, results);
  if (hit == nullptr) return false;
  const int length = static_cast<int>(results.length(0));
  if (match.m_bFound) {
    const bool keepCandidate =
        length < match.m_Length ||
        (length == match.m_Length &&
         (match.m_Kind == match_kind::Literal || match.m_Kind == match_kind::Regex));
    if (keepCandidate) return true;
    match.m_Submatches = aside;
  }
  match.m_bFound = true;
  match.m_Length = length;
  match.m_Kind = match_kind::Regex;
  match.m_pSymbol = hit->m_pSymbol;
  match.m_Group = hit->m_Group;
  return true;
}

}  // namespace zemra
