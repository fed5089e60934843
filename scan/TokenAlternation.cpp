#include "scan/TokenAlternation.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvo {
namespace {

bool IsPatternKind(const symbol& s) { return !s.literal && s.pattern[0] != '\0'; }

void AppendEscaped(std::string& out, const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (std::strchr(R"(\^$.|?*+()[]{})", *p) != nullptr) out += '\\';
    out += *p;
  }
}

CVL_Alternation Join(std::vector<const symbol*> kinds, int firstGroup) {
  std::sort(kinds.begin(), kinds.end(), AlternativeBefore);
  CVL_Alternation result;
  int group = firstGroup;
  for (const symbol* kind : kinds) {
    if (group != firstGroup) {
      result.expression += '|';
      result.groupMap += ", ";
    }
    result.expression += '(';
    if (kind->literal)
      AppendEscaped(result.expression, kind->pattern);
    else
      result.expression += kind->pattern;
    result.expression += ')';
    result.groupMap += std::to_string(group) + ", " + std::to_string(kind->id);
    group += kind->submatches;
  }
  return result;
}

}  // namespace

// Alternatives with more groups come first; equal counts go by name in byte
// order, so the order never depends on token numbers.
bool AlternativeBefore(const symbol* a, const symbol* b) {
  if (a->submatches != b->submatches) return a->submatches > b->submatches;
  return std::strcmp(a->name, b->name) < 0;
}

CVL_Alternation RegexAlternation(const CVL_TokenSet& expected) {
  std::vector<const symbol*> kinds;
  expected.forEach([&](int id) {
    const symbol* s = GetSymbol(id);
    if (IsPatternKind(*s)) kinds.push_back(s);
  });
  if (kinds.empty() || (kinds.size() == 1 && kinds[0]->id == tok::Eof)) return {};
  CVL_Alternation result = Join(std::move(kinds), 2);
  result.expression = "\\A(" + result.expression + ")";
  return result;
}

CVL_Alternation SkipAlternation(const CVL_TokenSet& stops) {
  std::vector<const symbol*> kinds;
  stops.forEach([&](int id) {
    const symbol* s = GetSymbol(id);
    if (s->literal || IsPatternKind(*s)) kinds.push_back(s);
  });
  return Join(std::move(kinds), 1);
}

}  // namespace orvo
