#include "scan/ScannerTable.h"

#include <optional>
#include <string>

#include "base/Message.h"
#include "scan/IgnoreScanner.h"
#include "scan/LiteralScanner.h"
#include "scan/RegexScanner.h"
#include "scan/SkipScanner.h"
#include "scan/TokenAlternation.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

[[noreturn]] void OutOfRange() { throw CVL_Message("scanner index out of range"); }

template <class Part>
Part& PartAt(const std::vector<std::unique_ptr<Part>>& parts, int k) {
  if (k < 0 || static_cast<std::size_t>(k) >= parts.size()) OutOfRange();
  return *parts[k];
}

// -1 names no part.
template <class Part>
const Part* OptionalPart(const std::vector<std::unique_ptr<Part>>& parts, int k) {
  return k == -1 ? nullptr : &PartAt(parts, k);
}

// The tokens a regex part looks for, when it is the alternation that the
// tables build for them (so that its alternatives are those tokens'
// patterns, in the order every such part shares); nullopt otherwise.
std::optional<CVL_TokenSet> AlternationTokens(const CVL_RegexScanner& part) {
  CVL_TokenSet tokens;
  std::string groupMap;
  for (const CVL_GroupSymbol& pair : part.groupMap().pairs()) {
    tokens.insert(pair.m_pSymbol->id);
    if (!groupMap.empty()) groupMap += ", ";
    groupMap += std::to_string(pair.m_Group) + ", " + std::to_string(pair.m_pSymbol->id);
  }
  const CVL_Alternation canonical = RegexAlternation(tokens);
  if (canonical.expression != part.expression() || canonical.groupMap != groupMap)
    return std::nullopt;
  return tokens;
}

}  // namespace

CVL_ScannerTable::CVL_ScannerTable() = default;
CVL_ScannerTable::~CVL_ScannerTable() = default;

void CVL_ScannerTable::AllocScanners(int count) {
  if (count < 0) OutOfRange();
  m_Scanners.clear();
  m_Scanners.resize(static_cast<std::size_t>(count));
  m_ScannerCount = count;
}

void CVL_ScannerTable::AddIgnoreScanner(const char* chars) {
  m_IgnoreScanners.push_back(std::make_unique<CVL_IgnoreScanner>(chars));
}

void CVL_ScannerTable::AddLiteralScanner() {
  m_LiteralScanners.push_back(std::make_unique<CVL_LiteralScanner>());
  m_LiteralTokens.emplace_back();
}

void CVL_ScannerTable::AddLiteralTokens(int k, const char* tokenSet) {
  CVL_LiteralScanner& part = PartAt(m_LiteralScanners, k);
  const CVL_TokenSet tokens = ParseTokenSet(tokenSet);
  tokens.forEach([&](int id) {
    const symbol* s = GetSymbol(id);
    part.add(s->pattern, s);
  });
  m_LiteralTokens[static_cast<std::size_t>(k)] |= tokens;
}

void CVL_ScannerTable::AddRegexScanner(const char* expression) {
  m_RegexScanners.push_back(std::make_unique<CVL_RegexScanner>(expression));
}

void CVL_ScannerTable::MapRegexGroups(int k, const char* pairs) {
  CVL_RegexScanner& part = PartAt(m_RegexScanners, k);
  for (const auto& [group, id] : ParsePairList(pairs)) part.mapGroup(group, GetSymbol(id));
}

void CVL_ScannerTable::AddSkipScanner(const char* expression) {
  m_SkipScanners.push_back(std::make_unique<CVL_SkipScanner>(expression));
}

void CVL_ScannerTable::MapSkipGroups(int k, const char* pairs) {
  CVL_SkipScanner& part = PartAt(m_SkipScanners, k);
  for (const auto& [group, id] : ParsePairList(pairs)) part.mapGroup(group, GetSymbol(id));
}

void CVL_ScannerTable::SetScanner(int k, int ignore, int literal, int regex, int skip,
                                  int skipToken, int inclusionIndex) {
  if (k < 0 || k >= m_ScannerCount) OutOfRange();
  auto scanner = std::make_unique<CVL_Scanner>();
  scanner->m_Ignore = OptionalPart(m_IgnoreScanners, ignore);
  scanner->m_Literal = OptionalPart(m_LiteralScanners, literal);
  scanner->m_Regex = OptionalPart(m_RegexScanners, regex);
  scanner->m_Skip = OptionalPart(m_SkipScanners, skip);
  scanner->m_SkipToken = skipToken;
  scanner->m_InclusionIndex = inclusionIndex;
  m_Scanners[static_cast<std::size_t>(k)] = std::move(scanner);
}

void CVL_ScannerTable::AddExpectedTokens(int k, const char* tokenSet) {
  if (k < 0 || k >= m_ScannerCount || !m_Scanners[static_cast<std::size_t>(k)]) OutOfRange();
  m_Scanners[static_cast<std::size_t>(k)]->m_ExpectedTokens |= ParseTokenSet(tokenSet);
}

void CVL_ScannerTable::ResolveInclusions() {
  for (const std::unique_ptr<CVL_Scanner>& scanner : m_Scanners) {
    if (!scanner || scanner->m_InclusionIndex < 0) continue;
    // Scanner 0 reads after the start rule of a parse; it is never an
    // inclusion's start scanner.
    const CVL_Scanner* inclusion =
        scanner->m_InclusionIndex == 0 ? nullptr : this->scanner(scanner->m_InclusionIndex);
    if (inclusion == nullptr) throw CVL_Message("inclusion not found");
    scanner->m_Inclusion = inclusion;
  }
}

void CVL_ScannerTable::DeriveFirstByteTokens() {
  for (const std::unique_ptr<CVL_Scanner>& scanner : m_Scanners) {
    if (!scanner || !scanner->m_DynamicTokens.empty()) continue;
    CVL_TokenSet searched;
    if (scanner->m_Regex != nullptr) {
      const std::optional<CVL_TokenSet> tokens = AlternationTokens(*scanner->m_Regex);
      if (!tokens) continue;
      searched |= *tokens;
    }
    if (scanner->m_Literal != nullptr) {
      for (std::size_t k = 0; k < m_LiteralScanners.size(); ++k) {
        if (m_LiteralScanners[k].get() != scanner->m_Literal) continue;
        CVL_TokenSet literals = m_LiteralTokens[k];
        literals &= scanner->m_ExpectedTokens;
        searched |= literals;
      }
    }
    const CVL_FirstByteTokens* shared = nullptr;
    for (const auto& tokens : m_FirstByteTokens)
      if (tokens->searched() == searched) shared = tokens.get();
    if (shared == nullptr) {
      m_FirstByteTokens.push_back(std::make_unique<CVL_FirstByteTokens>(searched));
      shared = m_FirstByteTokens.back().get();
    }
    scanner->m_pFirstByteTokens = shared;
  }
  CVL_FirstByteTokens::LearnCoverage(m_FirstByteTokens);
}

void CVL_ScannerTable::DerivePlainReading() {
  const auto passesOverBlanksAlone = [](const CVL_IgnoreScanner* ignore) {
    if (ignore == nullptr) return false;
    for (int c = 0; c < 256; ++c)
      if (ignore->ignores(static_cast<char>(c)) != (c == ' ' || c == '\t')) return false;
    return true;
  };
  for (const std::unique_ptr<CVL_Scanner>& scanner : m_Scanners) {
    if (!scanner || scanner->m_pFirstByteTokens == nullptr || scanner->m_Skip != nullptr ||
        !scanner->m_DynamicTokens.empty())
      continue;
    scanner->m_bPlainReadable = scanner->m_pFirstByteTokens->searched().empty() ||
                                passesOverBlanksAlone(scanner->m_Ignore);
    if (scanner->m_bPlainReadable) scanner->m_PlainSearched = scanner->m_pFirstByteTokens->searched();
  }
  m_PlainReadings.clear();
  for (const std::unique_ptr<CVL_Scanner>& scanner : m_Scanners)
    m_PlainReadings.push_back(scanner ? scanner->plainReading() : CVL_PlainReading());
}

}  // namespace orvo
