// Which tokens a composite scanner can find, by the byte they begin with.
// A scan tries, besides its own scanner, the scanners that enclosing
// productions left for what follows them; knowing what each can find at a
// byte tells when one of them cannot change the candidate already held.
#pragma once

#include <array>
#include <bitset>
#include <memory>
#include <vector>

#include "scan/TokenSet.h"

namespace orvo {

class CVL_FirstByteTokens {
 public:
  // Sorts `searched`, the tokens a scanner's regex and literal parts look
  // for, by the bytes each can begin with.
  explicit CVL_FirstByteTokens(const CVL_TokenSet& searched);

  const CVL_TokenSet& searched() const { return m_Searched; }
  // The searched tokens that can begin with `c`.
  const CVL_TokenSet& startingWith(char c) const {
    return m_ByByte[static_cast<unsigned char>(c)];
  }
  // Whether everything these tokens can begin with `c` is among the tokens
  // `other` searches; known for every `other` of one table once
  // LearnCoverage has seen them all.
  bool coveredBy(const CVL_FirstByteTokens& other, char c) const {
    return m_CoveredBy[other.m_Index][static_cast<unsigned char>(c)];
  }
  // Works out coveredBy for every pair of `all`, numbering them in order.
  static void LearnCoverage(const std::vector<std::unique_ptr<CVL_FirstByteTokens>>& all);

  // Whether a pattern (not literal) token can begin with `c`.
  bool patternStartsWith(char c) const {
    return m_PatternBytes[static_cast<unsigned char>(c)];
  }

 private:
  CVL_TokenSet m_Searched;
  std::array<CVL_TokenSet, 256> m_ByByte;
  std::bitset<256> m_PatternBytes;
  std::size_t m_Index = 0;                    // place among the table's sets
  std::vector<std::bitset<256>> m_CoveredBy;  // by the other set's index
};

}  // namespace orvo
