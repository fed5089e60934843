// One scope level of the dynamic scanner: run-time literal texts, some filed
// under keys, and the keys currently active.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "scan/Match.h"
#include "scan/DynamicScanner.h"
#include "scan/LiteralScanner.h"

namespace orvo {

// Levels nest at most this deep; a deeper level number is refused.
constexpr int kMaxDynamicLevels = 64;

class CVL_DynamicScanner::CDynScannerData {
 public:
  using PlaceholderMap = std::map<std::string, const symbol*>;

  explicit CDynScannerData(const PlaceholderMap* placeholders);
  ~CDynScannerData();
  CDynScannerData(const CDynScannerData&) = delete;
  CDynScannerData& operator=(const CDynScannerData&) = delete;

  // Adds `text` for `placeholder` `level` levels below this one (under `key`
  // when it is not empty). A deeper level that already holds the text here
  // takes it as added. Throws CVL_Message "placeholder token is not declared"
  // for an unknown placeholder, "dynamic scope level out of range" for a
  // level outside 0..kMaxDynamicLevels.
  bool add(const std::string& placeholder, const std::string& text, const std::string& key,
           int level);

  // The level `level` below this one, or null if it does not exist.
  CDynScannerData* levelAt(int level);
  const CDynScannerData* next() const { return m_pNext.get(); }

  // Drops the texts filed under `key`, or every text of the level for "".
  void removeKey(const std::string& key);
  void pushKey(const std::string& key) { m_ActiveKeys.push_front(key); }
  void popKey();
  void clearKeys() { m_ActiveKeys.clear(); }
  std::string activeKey() const;

  // Replaces the match's candidate with the longest text of this level at
  // its token begin: the active keys' texts first, then the level's own.
  bool match(CVL_Match& match, const char* inputEnd, bool wholeWord) const;

 private:
  bool holds(const std::string& text) const;
  CDynScannerData& nextLevel();

  std::unique_ptr<CVL_LiteralScanner> m_pLiteral;
  std::map<std::string, std::unique_ptr<CVL_LiteralScanner>> m_KeyScanners;
  std::deque<std::string> m_ActiveKeys;
  mutable std::string m_LastKey;  // the key whose text matched last
  const PlaceholderMap* m_pPlaceholders;  // the owning scanner's
  std::unique_ptr<CDynScannerData> m_pNext;
};

}  // namespace orvo
