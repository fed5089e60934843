// Texts of the current token and of the production left last.
#include <functional>
#include <string_view>

#include "runtime/ParseState.h"

namespace orvo {
namespace {

std::string_view between(const char* begin, const char* end) {
  if (begin == nullptr || end == nullptr || std::less<>()(end, begin)) return std::string_view();
  return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

std::string CVL_ParseState::matchText(int n) const { return std::string(matchView(n)); }

std::string CVL_ParseState::matchCopy() const { return std::string(matchCopyView()); }

std::string_view CVL_ParseState::matchView(int n) const {
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
  if (n < 0) return std::string_view();
  // Submatch n of the token's own pattern, which starts at its group.
  const bool hasGroups = token.m_Kind == match_kind::Regex || token.m_Kind == match_kind::Skip;
  if (!hasGroups || token.m_pSymbol == nullptr) return std::string_view();
  const std::size_t index = static_cast<std::size_t>(n) + static_cast<std::size_t>(token.m_Group);
  if (index >= token.m_Submatches.size() || !token.m_Submatches[index].matched)
    return std::string_view();
  const CVL_Submatch& group = token.m_Submatches[index];
  return between(group.first, group.second);
}

std::string_view CVL_ParseState::matchCopyView() const {
  return between(m_Position.m_Current.m_pScanStart, m_Position.m_Current.m_pTokenEnd);
}

std::string CVL_ParseState::productionCopy() const {
  return std::string(between(m_ProdPrefixBegin, m_ProdEnd));
}

}  // namespace orvo
