// One search of a scanner expression, on the token matchers when they
// reproduce the expression with its group map, else on the library.
#pragma once

#include "scan/Submatches.h"
#include "scan/CompiledPattern.h"
#include "scan/GroupMap.h"

namespace orvo {

// Text of the error when the regular-expression library cannot finish a
// match: a token too long for its backtracking stack.
inline constexpr const char* kTokenTooLongText =
    "token too long to read: the regular-expression matcher ran out of room";

class CVL_PatternSearch {
 public:
  explicit CVL_PatternSearch(const std::string& expression);

  void mapGroup(int group, const symbol* s);

  // Searches from `begin`. On a match fills `results` with the whole match
  // and the groups of the token found and returns that token's pair of the
  // group map; null when nothing matches. Throws CVL_Message "token not
  // found" for a match without a mapped group.
  const CVL_GroupSymbol* search(const char* begin, const char* end,
                                CVL_Submatches& results) const;

  const CVL_CompiledPattern& pattern() const { return *m_pPattern; }
  const CVL_GroupMap& groupMap() const { return m_GroupMap; }
  // Whether searches run on the token matchers, unless the library alone
  // is chosen on this thread (scan/MatcherChoice.h).
  bool fast() const { return m_bFast; }

 private:
  const CVL_GroupSymbol* searchFast(const char* begin, const char* end,
                                    CVL_Submatches& results) const;

  std::shared_ptr<const CVL_CompiledPattern> m_pPattern;
  CVL_GroupMap m_GroupMap;
  bool m_bFast = false;
};

}  // namespace orvo
