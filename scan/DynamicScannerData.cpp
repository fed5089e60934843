#include "scan/DynamicScannerData.h"

#include "base/Message.h"

namespace orvo {
namespace {

bool TakeLiteral(const CVL_LiteralScanner& scanner, CVL_Match& match, const char* inputEnd,
                 bool wholeWord) {
  const std::optional<CVL_LiteralHit> hit =
      scanner.longestMatch(match.m_pTokenBegin, inputEnd, wholeWord, nullptr);
  if (!hit) return false;
  match.m_bFound = true;
  match.m_Length = static_cast<int>(hit->m_pEnd - match.m_pTokenBegin);
  match.m_Kind = match_kind::Literal;
  match.m_pSymbol = hit->m_pSymbol;
  match.m_SkipId = -1;
  return true;
}

}  // namespace

using Level = CVL_DynamicScanner::CDynScannerData;

Level::CDynScannerData(const PlaceholderMap* placeholders) : m_pPlaceholders(placeholders) {}

// Unlinks the deeper levels one by one so that their destruction does not nest.
Level::~CDynScannerData() {
  std::unique_ptr<CDynScannerData> next = std::move(m_pNext);
  while (next) next = std::move(next->m_pNext);
}

bool Level::holds(const std::string& text) const { return m_pLiteral && m_pLiteral->contains(text); }

Level& Level::nextLevel() {
  if (!m_pNext) m_pNext = std::make_unique<CDynScannerData>(m_pPlaceholders);
  return *m_pNext;
}

bool Level::add(const std::string& placeholder, const std::string& text, const std::string& key,
                int level) {
  if (level < 0 || level > kMaxDynamicLevels)
    throw CVL_Message("dynamic scope level out of range");
  CDynScannerData* data = this;
  for (; level > 0; --level) {
    if (data->holds(text)) return true;
    data = &data->nextLevel();
  }
  const auto declared = m_pPlaceholders->find(placeholder);
  if (declared == m_pPlaceholders->end())
    throw CVL_Message("placeholder token is not declared");
  std::unique_ptr<CVL_LiteralScanner>& scanner =
      key.empty() ? data->m_pLiteral : data->m_KeyScanners[key];
  if (!scanner) scanner = std::make_unique<CVL_LiteralScanner>();
  scanner->add(text, declared->second);
  return true;
}

Level* Level::levelAt(int level) {
  CDynScannerData* data = this;
  for (; data != nullptr && level > 0; --level) data = data->m_pNext.get();
  return level == 0 ? data : nullptr;
}

void Level::removeKey(const std::string& key) {
  if (key.empty()) {
    m_pLiteral.reset();
    m_KeyScanners.clear();
  } else {
    m_KeyScanners.erase(key);
  }
}

void Level::popKey() {
  if (!m_ActiveKeys.empty()) m_ActiveKeys.pop_front();
}

std::string Level::activeKey() const { return m_ActiveKeys.empty() ? "" : m_ActiveKeys.front(); }

bool Level::match(CVL_Match& match, const char* inputEnd, bool wholeWord) const {
  for (const std::string& key : m_ActiveKeys) {
    const auto scanner = m_KeyScanners.find(key);
    if (scanner != m_KeyScanners.end() && TakeLiteral(*scanner->second, match, inputEnd, wholeWord)) {
      m_LastKey = key;
      return true;
    }
  }
  return m_pLiteral && TakeLiteral(*m_pLiteral, match, inputEnd, wholeWord);
}

}  // namespace orvo
