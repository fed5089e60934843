// A scanner expression run without the regular-expression engine: the
// alternation of token patterns (or escaped literals) that the scanner
// tables build, anchored (`\A((p1)|(p2)|...)`) or unanchored
// (`(p1)|(p2)|...`), matched with the hand-written token matchers. It gives
// the same match, the same winning alternative and the same groups as the
// library under the scanners' leftmost-longest rule: the earliest start,
// there the longest match, and among equally long ones the first
// alternative.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "scan/Submatches.h"
#include "scan/ByteClasses.h"
#include "scan/GroupMap.h"
#include "scan/TokenMatchers.h"

namespace orvo {

class CVL_FastAlternation {
 public:
  // The fast form of `expression`, an expression in the scanner syntax whose
  // character classes are those of `locale`, or null when the expression is
  // not an alternation that the token matchers reproduce exactly; such an
  // expression runs on the library.
  static std::unique_ptr<const CVL_FastAlternation> Build(const std::string& expression,
                                                          const std::locale& locale);
  // The same, checked against the library's compiled form: null also when
  // the library counts other groups than the alternatives have.
  static std::unique_ptr<const CVL_FastAlternation> Build(const std::string& expression,
                                                          const boost::regex& compiled);

  // Searches from `begin` (only there when anchored). Returns the index of
  // the matching alternative and fills `results` with the whole match and
  // that alternative's groups, or returns -1 and leaves `results` alone.
  int search(const char* begin, const char* end, CVL_Submatches& results) const;

  // Whether `map` names exactly the alternatives' groups, in order, with
  // tokens of the same patterns: then alternative k is the map's pair k.
  bool agreesWith(const CVL_GroupMap& map) const;

  std::size_t alternativeCount() const { return m_Alternatives.size(); }

 private:
  struct Alternative {
    const CVL_TokenMatcher* matcher;  // null for a literal
    std::string text;                 // the pattern, or the literal's characters
    int group;                        // the alternative's own (wrapping) group
    int innerGroups;
    std::ptrdiff_t longest;           // its longest match; 0 for no bound
  };

  CVL_FastAlternation(std::vector<Alternative> alternatives, bool anchored,
                      std::size_t groupCount, const std::locale& locale);

  int matchAt(const char* p, const char* end, CVL_Submatches& results) const;

  std::vector<Alternative> m_Alternatives;
  bool m_Anchored;
  std::size_t m_GroupCount;  // groups of the whole expression, the match itself included
  CVL_ByteClasses m_Classes;
  // Per byte, the alternatives that can begin with it (bit k: alternative k).
  std::array<std::uint64_t, 256> m_Candidates{};
  // The only byte any alternative can begin with, or -1.
  int m_OnlyFirstByte = -1;
};

}  // namespace orvo
