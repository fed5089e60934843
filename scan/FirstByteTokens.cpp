#include "scan/FirstByteTokens.h"

#include <string>
#include <vector>

#include "scan/FirstByteFilter.h"
#include "scan/ScannerSyntax.h"

namespace zemra {
namespace {

std::vector<std::bitset<256>> AllTokenFirstBytes() {
  // The filter reads the expression text; the compiled expression only
  // lends it the syntax options and character classes of the scanners.
  const boost::regex syntax("x", kScannerSyntax);
  std::vector<std::bitset<256>> bytes(kTokenCount + 1);
  for (int id = 0; id <= kTokenCount; ++id) {
    const symbol* s = GetSymbol(id);
    std::bitset<256>& first = bytes[static_cast<std::size_t>(id)];
    if (s->literal) {
      if (s->pattern[0] != '\0') first.set(static_cast<unsigned char>(s->pattern[0]));
    } else if (s->pattern[0] != '\0') {
      const std::string expression = std::string("\\A(") + s->pattern + ")";
      const CVL_FirstByteFilter filter(expression, syntax);
      for (int c = 0; c < 256; ++c)
        if (filter.admits(static_cast<char>(c))) first.set(static_cast<std::size_t>(c));
    }
  }
  return bytes;
}

}  // namespace

const std::bitset<256>& TokenFirstBytes(int id) {
  static const std::vector<std::bitset<256>> bytes = AllTokenFirstBytes();
  return bytes[static_cast<std::size_t>(id)];
}

namespace {

struct ByByte {
  std::array<CVL_TokenSet, 256> tokens;  // every token kind that can begin with the byte
  CVL_TokenSet patterns;                 // the kinds that are patterns, not literals
};

const ByByte& TokensByByte() {
  static const ByByte byByte = [] {
    ByByte result;
    for (int id = 0; id <= kTokenCount; ++id) {
      if (!GetSymbol(id)->literal) result.patterns.insert(id);
      const std::bitset<256>& first = TokenFirstBytes(id);
      for (std::size_t c = 0; c < 256; ++c)
        if (first.test(c)) result.tokens[c].insert(id);
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

}  // namespace zemra
