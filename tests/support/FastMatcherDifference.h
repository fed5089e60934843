// The comparison of the token matchers with the regular-expression library
// that the differential test and the differential fuzz target share.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "scan/CompiledPattern.h"
#include "scan/FastAlternation.h"
#include "scan/RegexScanner.h"
#include "scan/ScannerTable.h"
#include "scan/SkipScanner.h"

namespace orvo {
namespace differential {

struct Part {
  std::string expression;
  const CVL_GroupMap* map;
  bool fast;  // what the scanner part itself runs on
  // The part's expression on the token matchers, whatever the part runs on.
  std::shared_ptr<const CVL_FastAlternation> matchers;
};

inline Part MakePart(const std::string& expression, const CVL_GroupMap& map, bool fast) {
  return {expression, &map, fast,
          CVL_FastAlternation::Build(expression, CompileScannerPattern(expression)->regex())};
}

// The distinct regex and skip parts of the preprocessor's 300 scanners.
inline const std::vector<Part>& Parts() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  static const std::vector<Part> parts = [] {
    std::vector<Part> result;
    std::set<const void*> seen;
    for (int k = 0; k < table->scannerCount(); ++k) {
      const CVL_Scanner* s = table->scanner(k);
      if (s->m_Regex != nullptr && seen.insert(s->m_Regex).second)
        result.push_back(MakePart(s->m_Regex->expression(), s->m_Regex->groupMap(),
                                  s->m_Regex->fast()));
      if (s->m_Skip != nullptr && seen.insert(s->m_Skip).second)
        result.push_back(MakePart(s->m_Skip->expression(), s->m_Skip->groupMap(),
                                  s->m_Skip->fast()));
    }
    return result;
  }();
  return parts;
}

// The first difference between the library and the token matchers for one
// search of `part` from `begin`, or an empty text.
inline std::string Difference(const Part& part, const char* begin, const char* end) {
  if (part.matchers == nullptr) return "the token matchers cannot run this part";
  const boost::regex& regex = CompileScannerPattern(part.expression)->regex();
  boost::match_results<const char*> expected;
  const bool found = boost::regex_search(begin, end, expected, regex);
  CVL_Submatches actual;
  const int alternative = part.matchers->search(begin, end, actual);
  if (found != (alternative >= 0)) return found ? "missed a match" : "found a match too many";
  if (!found) return "";
  if (expected[0].first != actual[0].first || expected[0].second != actual[0].second)
    return "whole match differs";
  if (&part.map->firstParticipating(expected) != &part.map->pairs()[alternative])
    return "token differs";
  if (expected.size() != actual.size()) return "group count differs";
  // Groups before the first alternative's (the outer group of an anchored
  // part) are the whole match, which nothing reads through them.
  for (std::size_t g = part.map->pairs()[0].m_Group; g < expected.size(); ++g) {
    const auto& e = expected[g];
    const CVL_Submatch& a = actual[g];
    if (e.matched != a.matched || (e.matched && (e.first != a.first || e.second != a.second)))
      return "group " + std::to_string(g) + " differs";
  }
  return "";
}

// Every part at every position of `text`, the input end included: the first
// difference with where it was found, or an empty text.
inline std::string FirstDifference(const std::string& text) {
  const char* const end = text.data() + text.size();
  for (const Part& part : Parts()) {
    for (const char* p = text.data(); p <= end; ++p) {
      const std::string difference = Difference(part, p, end);
      if (!difference.empty())
        return difference + " for part " + part.expression + " at offset " +
               std::to_string(p - text.data());
    }
  }
  return "";
}

}  // namespace differential
}  // namespace orvo
