// The parts and composite scanners a parser reads its tokens with, and the
// operations that build them from the fixed tables.
#pragma once

#include <memory>
#include <vector>

#include "scan/FirstByteTokens.h"
#include "scan/Scanner.h"

namespace orvo {

class CVL_ScannerTable {
 public:
  CVL_ScannerTable();
  ~CVL_ScannerTable();
  CVL_ScannerTable(const CVL_ScannerTable&) = delete;
  CVL_ScannerTable& operator=(const CVL_ScannerTable&) = delete;

  // Construction operations, called in the order the table data gives.
  void AllocScanners(int count);
  void AddIgnoreScanner(const char* chars);
  void AddLiteralScanner();
  void AddLiteralTokens(int k, const char* tokenSet);
  void AddRegexScanner(const char* expression);
  void MapRegexGroups(int k, const char* pairs);
  void AddSkipScanner(const char* expression);
  void MapSkipGroups(int k, const char* pairs);
  void SetScanner(int k, int ignore, int literal, int regex, int skip, int skipToken,
                  int inclusionIndex);
  void AddExpectedTokens(int k, const char* tokenSet);
  void ResolveInclusions();
  // Works out what each scanner can find by first byte, so that a scan can
  // pass over fallback scanners that could not change its candidate. Call
  // once the scanners are complete; without it every scanner always runs.
  void DeriveFirstByteTokens();
  // Marks the scanners the plain token reader may stand in for; after
  // DeriveFirstByteTokens.
  void DerivePlainReading();

  // Composite scanner `index`; null outside 0..scannerCount()-1 or when not set.
  const CVL_Scanner* scanner(int index) const {
    if (index < 0 || index >= m_ScannerCount) return nullptr;
    return m_Scanners[static_cast<std::size_t>(index)].get();
  }
  int scannerCount() const { return m_ScannerCount; }
  // The plain reading of scanner `index`, from a dense table: every
  // production entered reads one, and the scanners themselves lie apart in
  // memory. A missing scanner passes the reader through with no kinds;
  // before DerivePlainReading the reader stands in for none.
  const CVL_PlainReading& plainReading(int index) const {
    static const CVL_PlainReading none;
    static const CVL_PlainReading underived{CVL_TokenSet(), false};
    if (index < 0 || index >= m_ScannerCount) return none;
    const auto at = static_cast<std::size_t>(index);
    if (at < m_PlainReadings.size()) return m_PlainReadings[at];
    return m_Scanners[at] ? underived : none;
  }

  std::size_t ignorePartCount() const { return m_IgnoreScanners.size(); }
  std::size_t literalPartCount() const { return m_LiteralScanners.size(); }
  std::size_t regexPartCount() const { return m_RegexScanners.size(); }
  std::size_t skipPartCount() const { return m_SkipScanners.size(); }

  int m_ScannerCount = 0;

 private:
  std::vector<std::unique_ptr<CVL_Scanner>> m_Scanners;
  std::vector<CVL_PlainReading> m_PlainReadings;
  std::vector<std::unique_ptr<CVL_IgnoreScanner>> m_IgnoreScanners;
  std::vector<std::unique_ptr<CVL_LiteralScanner>> m_LiteralScanners;
  std::vector<std::unique_ptr<CVL_RegexScanner>> m_RegexScanners;
  std::vector<std::unique_ptr<CVL_SkipScanner>> m_SkipScanners;
  std::vector<CVL_TokenSet> m_LiteralTokens;  // per literal part, the tokens it holds
  // Shared by every scanner that searches the same tokens.
  std::vector<std::unique_ptr<CVL_FirstByteTokens>> m_FirstByteTokens;
};

// Builds the preprocessor's 300 composite scanners and their parts.
std::unique_ptr<CVL_ScannerTable> BuildPreprocessorScanners();

// The preprocessor's scanners, built on the first call and shared read-only
// by every parser of the process afterwards: the table depends only on
// constant data, and scanning never changes it, so parsers on different
// threads may use it at once.
std::shared_ptr<const CVL_ScannerTable> SharedPreprocessorScanners();

}  // namespace orvo
