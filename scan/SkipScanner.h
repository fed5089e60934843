// Jumps over arbitrary text up to the next stop token: excluded conditional
// groups, the text of a warning line, a block comment's body, an include
// directory entry.
#pragma once

#include <memory>
#include <string>

#include "runtime/Match.h"
#include "scan/CompiledPattern.h"
#include "scan/GroupMap.h"

namespace zemra {

class CVL_SkipScanner {
 public:
  explicit CVL_SkipScanner(const std::string& expression);

  void mapGroup(int group, const symbol* s) { m_GroupMap.append(group, s); }

  // Searches the earliest (and there the longest) stop token from
  // match.m_pTokenBegin on. Found: the match gets kind 2, length 0, the stop
  // token's symbol and group, and the search results; it becomes a candidate
  // (true) only if text lies before the stop. False when no stop follows.
  bool skip(CVL_Match& match, const char* inputEnd) const;

  const std::string& expression() const { return m_pPattern->m_Expression; }
  const CVL_GroupMap& groupMap() const { return m_GroupMap; }

 private:
  std::shared_ptr<const CVL_CompiledPattern> m_pPattern;
  CVL_GroupMap m_GroupMap;
};

}  // namespace zemra
