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

CVL_FirstByteTokens::CVL_FirstByteTokens(const CVL_TokenSet& searched) : m_Searched(searched) {
  searched.forEach([&](int id) {
    const std::bitset<256>& first = TokenFirstBytes(id);
    const bool pattern = !GetSymbol(id)->literal;
    for (std::size_t c = 0; c < 256; ++c) {
      if (!first.test(c)) continue;
      m_ByByte[c].insert(id);
      if (pattern) m_PatternBytes.set(c);
    }
  });
}

void CVL_FirstByteTokens::LearnCoverage(
    const std::vector<std::unique_ptr<CVL_FirstByteTokens>>& all) {
  for (std::size_t i = 0; i < all.size(); ++i) all[i]->m_Index = i;
  for (const auto& tokens : all) {
    tokens->m_CoveredBy.assign(all.size(), std::bitset<256>());
    for (std::size_t other = 0; other < all.size(); ++other) {
      const CVL_TokenSet& searched = all[other]->searched();
      for (std::size_t c = 0; c < 256; ++c)
        if (tokens->m_ByByte[c].isSubsetOf(searched)) tokens->m_CoveredBy[other].set(c);
    }
  }
}

}  // namespace zemra
