#include "scan/DynamicScanner.h"

#include <vector>

#include "scan/DynamicScannerData.h"

namespace orvo {

CVL_DynamicScanner::CVL_DynamicScanner() = default;
CVL_DynamicScanner::~CVL_DynamicScanner() = default;

bool CVL_DynamicScanner::addText(const std::string& placeholder, const std::string& text,
                                 int level) {
  return addKeyedText(placeholder, text, "", level);
}

bool CVL_DynamicScanner::addKeyedText(const std::string& placeholder, const std::string& text,
                                      const std::string& key, int level) {
  if (!m_pFirstLevel || m_Placeholders.count(placeholder) == 0) return false;
  return m_pFirstLevel->add(placeholder, text, key, level);
}

void CVL_DynamicScanner::removeKey(const std::string& key, int level) {
  if (CDynScannerData* data = m_pFirstLevel ? m_pFirstLevel->levelAt(level) : nullptr)
    data->removeKey(key);
}

void CVL_DynamicScanner::pushKey(const std::string& key, int level) {
  if (CDynScannerData* data = m_pFirstLevel ? m_pFirstLevel->levelAt(level) : nullptr)
    data->pushKey(key);
}

void CVL_DynamicScanner::popKey(int level) {
  if (CDynScannerData* data = m_pFirstLevel ? m_pFirstLevel->levelAt(level) : nullptr)
    data->popKey();
}

void CVL_DynamicScanner::clearKeys(int level) {
  if (CDynScannerData* data = m_pFirstLevel ? m_pFirstLevel->levelAt(level) : nullptr)
    data->clearKeys();
}

std::string CVL_DynamicScanner::activeKey() const {
  const CDynScannerData* innermost = m_pFirstLevel.get();
  if (innermost == nullptr) return "";
  while (innermost->next() != nullptr) innermost = innermost->next();
  return innermost->activeKey();
}

bool CVL_DynamicScanner::hasLevels() const { return m_pFirstLevel != nullptr; }

bool CVL_DynamicScanner::dynamicMatch(CVL_Match& match, const char* inputEnd,
                                      bool wholeWord) const {
  std::vector<const CDynScannerData*> levels;
  for (const CDynScannerData* data = m_pFirstLevel.get(); data != nullptr; data = data->next())
    levels.push_back(data);
  // The innermost scope's texts hide those of the enclosing ones.
  for (auto level = levels.rbegin(); level != levels.rend(); ++level)
    if ((*level)->match(match, inputEnd, wholeWord)) return true;
  return false;
}

}  // namespace orvo
