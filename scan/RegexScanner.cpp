#include "scan/RegexScanner.h"

namespace zemra {
namespace {

void TakeCandidate(CVL_Match& match, const CVL_GroupSymbol& hit) {
  match.m_bFound = true;
  match.m_Length = static_cast<int>(match.m_Submatches.length(0));
  match.m_Kind = match_kind::Regex;
  match.m_pSymbol = hit.m_pSymbol;
  match.m_Group = hit.m_Group;
}

}  // namespace

CVL_RegexScanner::CVL_RegexScanner(const std::string& expression)
    : m_pPattern(CompileScannerPattern(expression)) {}

bool CVL_RegexScanner::find(CVL_Match& match, const char* inputEnd) const {
  // Most positions try parts that cannot match there (the comment inclusion
  // above all); the first byte tells without starting the engine.
  if (match.m_pTokenBegin != inputEnd && !m_pPattern->m_FirstBytes.admits(*match.m_pTokenBegin))
    return false;
  const boost::regex& regex = m_pPattern->m_Regex;
  if (!match.m_bFound) {
    // Searching straight into the match reuses its result storage; without a
    // candidate its sub-matches carry nothing worth keeping.
    if (!boost::regex_search(match.m_pTokenBegin, inputEnd, match.m_Submatches, regex))
      return false;
    TakeCandidate(match, m_GroupMap.firstParticipating(match.m_Submatches));
    return true;
  }
  boost::match_results<const char*> results;
  if (!boost::regex_search(match.m_pTokenBegin, inputEnd, results, regex)) return false;
  const CVL_GroupSymbol& hit = m_GroupMap.firstParticipating(results);
  const int length = static_cast<int>(results.length(0));
  const bool keepCandidate =
      length < match.m_Length ||
      (length == match.m_Length &&
       (match.m_Kind == match_kind::Literal || match.m_Kind == match_kind::Regex));
  if (!keepCandidate) {
    match.m_Submatches.swap(results);
    TakeCandidate(match, hit);
  }
  return true;
}

}  // namespace zemra
