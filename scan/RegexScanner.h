// Finds the longest pattern token at a position with one anchored
// alternation of the expected pattern kinds.
#pragma once

#include <string>

#include "scan/Match.h"
#include "scan/PatternSearch.h"

namespace orvo {

class CVL_RegexScanner {
 public:
  explicit CVL_RegexScanner(const std::string& expression) : m_Search(expression) {}

  void mapGroup(int group, const symbol* s) { m_Search.mapGroup(group, s); }

  // Searches at match.m_pTokenBegin. Without a candidate in `match` a hit
  // becomes the candidate (kind 1). With one, the hit replaces it only if it
  // is longer, or equally long while the candidate is neither a literal nor a
  // pattern token; true in either case. False, leaving the candidate, when
  // nothing matches.
  bool find(CVL_Match& match, const char* inputEnd) const;

  // Whether a match may begin at `p`. Most positions try parts that cannot
  // match there (the comment inclusion above all); the first byte tells
  // without starting a search.
  bool mayMatchAt(const char* p, const char* inputEnd) const {
    return p == inputEnd || m_Search.pattern().m_FirstBytes.admits(*p);
  }

  const std::string& expression() const { return m_Search.pattern().m_Expression; }
  const CVL_GroupMap& groupMap() const { return m_Search.groupMap(); }
  // Whether the token matchers run this part instead of the library.
  bool fast() const { return m_Search.fast(); }

 private:
  CVL_PatternSearch m_Search;
};

}  // namespace orvo
