#include "scan/FirstByteTokens.h"

#include <string>
#include <vector>

#include "scan/FirstByteFilter.h"

namespace orvo {
namespace {

struct ByByte {
  std::array<CVL_TokenSet, 256> tokens;  // every token kind that can begin with the byte
  CVL_TokenSet patterns;                 // the kinds that are patterns, not literals
};

// Sorts the token kinds by the bytes they can begin with at a position
// before the input end: a literal by its first character, a pattern by its
// first bytes as far as the analysis tells (every byte where it cannot).
const ByByte& TokensByByte() {
  static const ByByte byByte = [] {
    ByByte result;
    for (int id = 0; id <= kTokenCount; ++id) {
      const symbol* s = GetSymbol(id);
      if (s->pattern[0] == '\0') {
        if (!s->literal) result.patterns.insert(id);
        continue;
      }
      if (s->literal) {
        result.tokens[static_cast<unsigned char>(s->pattern[0])].insert(id);
        continue;
      }
      result.patterns.insert(id);
      // The library compiles with the global locale; the analysis uses its
      // character classes too.
      const CVL_FirstByteFilter first(std::string("\\A(") + s->pattern + ")", std::locale());
      for (int c = 0; c < 256; ++c)
        if (first.admits(static_cast<char>(c)))
          result.tokens[static_cast<std::size_t>(c)].insert(id);
    }
    return result;
  }();
  return byByte;
}

}  // namespace

CVL_FirstByteTokens::CVL_FirstByteTokens(const CVL_TokenSet& searched) : m_Searched(searched) {
  const ByByte& all = TokensByByte();
  for (std::size_t c = 0; c < 256; ++c) {
    m_ByByte[c] = all.tokens[c];
    m_ByByte[c] &= searched;
    CVL_TokenSet patterns = m_ByByte[c];
    patterns &= all.patterns;
    if (!patterns.empty()) m_PatternBytes.set(c);
  }
}

void CVL_FirstByteTokens::LearnCoverage(
    const std::vector<std::unique_ptr<CVL_FirstByteTokens>>& all) {
  for (std::size_t i = 0; i < all.size(); ++i) all[i]->m_Index = i;
  for (const auto& tokens : all) {
    // Most bytes begin the same few sets (every letter alike, say): each
    // distinct set is compared once, and covers the bytes that begin it.
    std::vector<CVL_TokenSet> distinct;
    std::vector<std::bitset<256>> bytesOf;
    for (std::size_t c = 0; c < 256; ++c) {
      const CVL_TokenSet& set = tokens->m_ByByte[c];
      std::size_t k = 0;
      while (k < distinct.size() && !(distinct[k] == set)) ++k;
      if (k == distinct.size()) {
        distinct.push_back(set);
        bytesOf.emplace_back();
      }
      bytesOf[k].set(c);
    }
    tokens->m_CoveredBy.assign(all.size(), std::bitset<256>());
    for (std::size_t other = 0; other < all.size(); ++other)
      for (std::size_t k = 0; k < distinct.size(); ++k)
        if (distinct[k].isSubsetOf(all[other]->searched()))
          tokens->m_CoveredBy[other] |= bytesOf[k];
  }
}

}  // namespace orvo
