#include "scan/LiteralScanner.h"

namespace orvo {
namespace {

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

CVL_LiteralScanner::CVL_LiteralScanner() = default;
CVL_LiteralScanner::~CVL_LiteralScanner() = default;

void CVL_LiteralScanner::add(std::string_view key, const symbol* data) {
  if (!m_pTree) m_pTree = std::make_unique<CVL_Tst>();
  m_pTree->insert(key, data);
  if (!key.empty()) m_FirstBytes.set(static_cast<unsigned char>(key.front()));
}

std::optional<CVL_LiteralHit> CVL_LiteralScanner::longestMatch(
    const char* input, const char* inputEnd, bool wholeWord, const CVL_TokenSet* expected) const {
  std::optional<CVL_LiteralHit> best;
  if (input == inputEnd || !mayStartWith(*input)) return best;
  const char* p = input;
  const CVL_TstNode* node = m_pTree->root();
  while (node != nullptr) {
    const char c = *p;
    if (c == node->m_SplitChar) {
      ++p;
      const symbol* data = node->m_pData;
      if (data != nullptr &&
          (!wholeWord || p == inputEnd || !IsWordChar(c) || !IsWordChar(*p)) &&
          (expected == nullptr || expected->contains(data->id)))
        best = CVL_LiteralHit{data, p};
      node = node->m_pEqual.get();
    } else {
      node = c < node->m_SplitChar ? node->m_pLow.get() : node->m_pHigh.get();
    }
    if (p == inputEnd) break;
  }
  return best;
}

bool CVL_LiteralScanner::contains(std::string_view key) const {
  if (!m_pTree) return false;
  const CVL_TstNode* node = m_pTree->find(key);
  return node != nullptr && node->m_pData != nullptr;
}

}  // namespace orvo
