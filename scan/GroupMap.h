// The ordered (group number, token) pairs that tell which token an
// alternation matched.
#pragma once

#include <vector>

#include <boost/regex.hpp>

#include "scan/Symbol.h"

namespace zemra {

struct CVL_GroupSymbol {
  int m_Group;
  const symbol* m_pSymbol;
};

class CVL_GroupMap {
 public:
  void append(int group, const symbol* s) { m_Pairs.push_back({group, s}); }
  const std::vector<CVL_GroupSymbol>& pairs() const { return m_Pairs; }

  // The first pair, in stored order, whose group took part in `results`.
  // Throws CVL_Message "token not found" when none did or the token is
  // `unrecognized`: the expression and its map do not belong together.
  const CVL_GroupSymbol& firstParticipating(const boost::match_results<const char*>& results) const;

 private:
  std::vector<CVL_GroupSymbol> m_Pairs;
};

}  // namespace zemra
