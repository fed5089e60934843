// The ordered (group number, token) pairs that tell which token an
// alternation matched.
#pragma once

#include <vector>

#include <boost/regex.hpp>

#include "scan/Symbol.h"

namespace orvo {

struct CVL_GroupSymbol {
  int m_Group;
  const symbol* m_pSymbol;
};

class CVL_GroupMap {
 public:
  void append(int group, const symbol* s) { m_Pairs.push_back({group, s}); }
  const std::vector<CVL_GroupSymbol>& pairs() const { return m_Pairs; }

  // The first pair, in stored order, whose group took part in `results`
  // (the library's match results, of any allocator). Throws CVL_Message
  // "token not found" when none did or the token is `unrecognized`: the
  // expression and its map do not belong together.
  template <class Results>
  const CVL_GroupSymbol& firstParticipating(const Results& results) const {
    for (const CVL_GroupSymbol& pair : m_Pairs) {
      if (pair.m_Group < 0 || static_cast<std::size_t>(pair.m_Group) >= results.size()) continue;
      if (!results[pair.m_Group].matched) continue;
      if (pair.m_pSymbol == nullptr || pair.m_pSymbol->id == tok::Unrecognized) break;
      return pair;
    }
    ThrowTokenNotFound();
  }

 private:
  [[noreturn]] static void ThrowTokenNotFound();

  std::vector<CVL_GroupSymbol> m_Pairs;
};

}  // namespace orvo
