// Room for the regular-expression matcher's backtracking: 16384 blocks of
// 4 KiB (64 MiB, taken only as a match needs it). The library's default of
// 1024 blocks stops at a string literal of about 70 KB of escapes; this
// reads one of about a megabyte. Set before the library's headers, for the
// matcher this file compiles (see DeepStackAllocator).
#define BOOST_REGEX_MAX_BLOCKS 16384

#include "scan/PatternSearch.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include <boost/regex.hpp>

#include "base/Message.h"
#include "scan/MatcherChoice.h"

namespace orvo {
namespace {

// The library's matcher keeps a backtracking entry for every repetition of
// a group, about 60 bytes per byte of a string literal full of escapes, and
// gives up when its stack of 4 KiB blocks is used up. Its compiled matcher
// for `const char*` keeps the default limit; a match_results with an
// allocator of its own type makes this file compile a matcher of its own,
// with the limit set above.
template <class T>
struct DeepStackAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
  DeepStackAllocator() = default;
  template <class U>
  DeepStackAllocator(const DeepStackAllocator<U>&) {}
  template <class U>
  struct rebind {
    using other = DeepStackAllocator<U>;
  };
};
using LibraryResults =
    boost::match_results<const char*, DeepStackAllocator<boost::sub_match<const char*>>>;

// What a scan result keeps of the library's results: the whole match and
// the groups of the token found. Every other group of an alternation of
// tokens is one that did not take part.
void KeepGroups(const LibraryResults& found, const CVL_GroupSymbol& hit,
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
  if (m_bFast && !LibraryMatchingOnly()) return searchFast(begin, end, results);
  // Reused from search to search: its storage outlives every call.
  thread_local LibraryResults found;
  bool matched = false;
  try {
    matched = boost::regex_search(begin, end, found, m_pPattern->regex());
  } catch (const std::runtime_error&) {
    // The library ran out of room for its backtracking: a token far longer
    // than any ordinary one (a string literal of megabytes). The token
    // matchers, which agree with the library wherever both finish, read it;
    // the library's own words would name the library, not the text.
    if (m_bFast) return searchFast(begin, end, results);
    throw CVL_Message(kTokenTooLongText);
  }
  if (!matched) return nullptr;
  const CVL_GroupSymbol& hit = m_GroupMap.firstParticipating(found);
  KeepGroups(found, hit, results);
  return &hit;
}

const CVL_GroupSymbol* CVL_PatternSearch::searchFast(const char* begin, const char* end,
                                                     CVL_Submatches& results) const {
  const int alternative = m_pPattern->m_pFast->search(begin, end, results);
  if (alternative < 0) return nullptr;
  return &m_GroupMap.pairs()[static_cast<std::size_t>(alternative)];
}

}  // namespace orvo
