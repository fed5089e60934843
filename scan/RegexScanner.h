// Finds the longest pattern token at a position with one anchored
// alternation of the expected pattern kinds.
#pragma once

#include <memory>
#include <string>

#include "runtime/Match.h"
#include "scan/CompiledPattern.h"
#include "scan/GroupMap.h"

namespace zemra {

class CVL_RegexScanner {
 public:
  explicit CVL_RegexScanner(const std::string& expression);

  void mapGroup(int group, const symbol* s) { m_GroupMap.append(group, s); }

  // Searches at match.m_pTokenBegin. Without a candidate in `match` a hit
  // becomes the candidate (kind 1). With one, the hit replaces it only if it
  // is longer, or equally long while the candidate is neither a literal nor a
  // pattern token; true in either case. False, leaving the candidate, when
  // nothing matches.
  bool find(CVL_Match& match, const char* inputEnd) const;

  const std::string& expression() const { return m_pPattern->m_Expression; }
  const CVL_GroupMap& groupMap() const { return m_GroupMap; }

 private:
  std::shared_ptr<const CVL_CompiledPattern> m_pPattern;
  CVL_GroupMap m_GroupMap;
};

}  // namespace zemra
