// Run-time literal texts attached to placeholder token kinds, in scope levels.
// Present for every run but inert in the preprocessor: no placeholder is
// declared and no scanner lists dynamic tokens.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "scan/Match.h"
#include "scan/Symbol.h"

namespace orvo {

class CVL_DynamicScanner {
 public:
  CVL_DynamicScanner();
  ~CVL_DynamicScanner();
  CVL_DynamicScanner(const CVL_DynamicScanner&) = delete;
  CVL_DynamicScanner& operator=(const CVL_DynamicScanner&) = delete;

  // The operations the plugin forwards (its slots 3 to 9).
  bool addText(const std::string& placeholder, const std::string& text, int level);
  bool addKeyedText(const std::string& placeholder, const std::string& text,
                    const std::string& key, int level);
  void removeKey(const std::string& key, int level);
  void pushKey(const std::string& key, int level);
  void popKey(int level);
  void clearKeys(int level);
  std::string activeKey() const;

  // Whether a first scope level exists (never, in this system).
  bool hasLevels() const;

  // Replaces the match's candidate with the longest dynamic literal at its
  // token begin; false when no dynamic text matches.
  bool dynamicMatch(CVL_Match& match, const char* inputEnd, bool wholeWord) const;

  class CDynScannerData;

 private:
  bool m_bWholeWord = true;
  std::map<std::string, const symbol*> m_Placeholders;
  std::unique_ptr<CDynScannerData> m_pFirstLevel;  // null: no scope level yet
};

}  // namespace orvo
