// Texts of the current token and of the production left last.
#include <functional>

#include "runtime/ParseState.h"

namespace zemra {
namespace {

std::string between(const char* begin, const char* end) {
  if (begin == nullptr || end == nullptr || std::less<>()(end, begin)) return std::string();
  return std::string(begin, end);
}

}  // namespace

std::string CVL_ParseState::matchText(int n) const {
  const CVL_Match& token = m_Position.m_Current;
  switch (n) {
    case 0:
      return between(token.m_pTokenBegin, token.m_pTokenEnd);
    case -1:
      return between(token.m_pScanStart, token.m_pTokenBegin);
    case -2:
      return between(token.m_pTokenEnd, m_Position.m_pEnd);
    default:
      break;
  }
  if (n < 0) return std::string();
  // Submatch n of the token's own pattern, which starts at its group.
  const bool hasGroups = token.m_Kind == match_kind::Regex || token.m_Kind == match_kind::Skip;
  if (!hasGroups || token.m_pSymbol == nullptr) return std::string();
  const std::size_t index = static_cast<std::size_t>(n) + static_cast<std::size_t>(token.m_Group);
  if (index >= token.m_Submatches.size() || !token.m_Submatches[index].matched) return std::string();
  return token.m_Submatches[index].str();
}

std::string CVL_ParseState::matchCopy() const {
  return between(m_Position.m_Current.m_pScanStart, m_Position.m_Current.m_pTokenEnd);
}

std::string CVL_ParseState::productionCopy() const { return between(m_ProdPrefixBegin, m_ProdEnd); }

}  // namespace zemra
