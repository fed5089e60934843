// Jumps over arbitrary text up to the next stop token: excluded conditional
// groups, the text of a warning line, a block comment's body, an include
// directory entry.
#pragma once

#include <string>

#include "scan/Match.h"
#include "scan/PatternSearch.h"

namespace orvo {

class CVL_SkipScanner {
 public:
  explicit CVL_SkipScanner(const std::string& expression) : m_Search(expression) {}

  void mapGroup(int group, const symbol* s) { m_Search.mapGroup(group, s); }

  // Searches the earliest (and there the longest) stop token from
  // match.m_pTokenBegin on. Found: the match gets kind 2, length 0, the stop
  // token's symbol and group, and the search results; it becomes a candidate
  // (true) only if text lies before the stop. False when no stop follows.
  bool skip(CVL_Match& match, const char* inputEnd) const;

  const std::string& expression() const { return m_Search.pattern().m_Expression; }
  const CVL_GroupMap& groupMap() const { return m_Search.groupMap(); }
  // Whether the token matchers run this part instead of the library.
  bool fast() const { return m_Search.fast(); }

 private:
  CVL_PatternSearch m_Search;
};

}  // namespace orvo
