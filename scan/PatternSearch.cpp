#include "scan/PatternSearch.h"

#include <algorithm>

#include <boost/regex.hpp>

namespace zemra {
namespace {

// What a scan result keeps of the library's results: the whole match and
// the groups of the token found. Every other group of an alternation of
// tokens is one that did not take part.
void KeepGroups(const boost::match_results<const char*>& found, const CVL_GroupSymbol& hit,
                CVL_Submatches& results) {
  const int available = static_cast<int>(found.size()) - hit.m_Group;
  const int own = std::min(hit.m_pSymbol->submatches, available);
  results.start(found[0].first, found[0].second, found.size(), hit.m_Group, own);
  for (int i = 0; i < own; ++i) {
    const auto& group = found[static_cast<std::size_t>(hit.m_Group + i)];
    if (group.matched) results.setOwn(i, group.first, group.second);
  }
}

}  // namespace

CVL_PatternSearch::CVL_PatternSearch(const std::string& expression)
    : m_pPattern(CompileScannerPattern(expression)) {}

void CVL_PatternSearch::mapGroup(int group, const symbol* s) {
  m_GroupMap.append(group, s);
  m_bFast = m_pPattern->m_pFast != nullptr && m_pPattern->m_pFast->agreesWith(m_GroupMap);
}

const CVL_GroupSymbol* CVL_PatternSearch::search(const char* begin, const char* end,
                                                 CVL_Submatches& results) const {
  if (m_bFast) {
    const int alternative = m_pPattern->m_pFast->search(begin, end, results);
    if (alternative < 0) return nullptr;
    return &m_GroupMap.pairs()[static_cast<std::size_t>(alternative)];
  }
  // Reused from search to search: its storage outlives every call.
  thread_local boost::match_results<const char*> found;
  if (!boost::regex_search(begin, end, found, m_pPattern->regex())) return nullptr;
  const CVL_GroupSymbol& hit = m_GroupMap.firstParticipating(found);
  KeepGroups(found, hit, results);
  return &hit;
}

}  // namespace zemra
