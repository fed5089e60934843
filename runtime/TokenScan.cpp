// The scan of a lookahead: the current scanner first, then, while the
// rule-end flag is set, the scanners that the enclosing productions left for
// what follows them, and the choice between competing candidates.
#include <algorithm>
#include <utility>

#include "runtime/ParseState.h"
#include "scan/DynamicScanner.h"
#include "scan/PlainTokenReader.h"
#include "scan/Scanner.h"

namespace orvo {
namespace {

// Length of the candidate's own submatch `i`, 0 when it did not take part.
int ownSubmatchLength(const CVL_Match& match, int i) {
  const std::size_t index = static_cast<std::size_t>(match.m_Group + i);
  if (index >= match.m_Submatches.size() || !match.m_Submatches[index].matched) return 0;
  return static_cast<int>(match.m_Submatches[index].length());
}

int ownSubmatchCount(const CVL_Match& match) {
  return match.m_pSymbol != nullptr ? match.m_pSymbol->submatches : 1;
}

// Compares two candidates of equal length and kind by their own submatches:
// the first one whose lengths differ decides for the longer. Positive when
// `b` wins, negative when `a` wins, 0 when none differs.
int compareOwnSubmatches(const CVL_Match& a, const CVL_Match& b) {
  const int count = std::min(ownSubmatchCount(a), ownSubmatchCount(b)) - 1;
  for (int i = 1; i <= count; ++i) {
    const int difference = ownSubmatchLength(b, i) - ownSubmatchLength(a, i);
    if (difference != 0) return difference;
  }
  return 0;
}

bool isPatternKind(unsigned char kind) {
  return kind == match_kind::Literal || kind == match_kind::Regex;
}

// Calls `visit` with each scanner a scan of `s` tries, in order, the
// current one first and then, while the rule-end flag is set, those the
// enclosing productions left; stops where `visit` returns false.
template <class Visit>
void ForEachScannerOfWalk(const CVL_ParseState& s, const Visit& visit) {
  const CVL_Scanner* scanner = s.m_pScanner;
  std::size_t walk = s.m_RuleEndScannerStack.size();
  for (;;) {
    if (scanner != nullptr && !visit(*scanner)) return;
    if (!s.m_bTestRuleEnds || walk == 0) return;
    const prod_log<char>& entry = s.m_RuleEndScannerStack[walk - 1];
    scanner = entry.m_pScanner;
    // An entry with flag 0 is the last one tried.
    walk = entry.m_Flag == 0 ? 0 : walk - 1;
  }
}

}  // namespace

inline bool CVL_ParseState::passesOver(const CVL_Scanner& scanner,
                                       const CVL_Scanner& holder) const {
  if (m_Match.m_pTokenBegin == m_Position.m_pEnd) return false;
  // From the same start the holder finds its literal or pattern token again,
  // and an equal result never replaces the candidate.
  if (&scanner == &holder && isPatternKind(m_Match.m_Kind)) return true;
  // With the holder's comment check and blanks, from the same start, the
  // scanner would begin its token where the candidate begins.
  return scanner.sharesStartWith(holder) && scanner.cannotReplace(holder, m_Match);
}

inline bool CVL_ParseState::findsNothingWhereLeft(const CVL_Scanner& scanner,
                                           const CVL_Scanner* searched) const {
  // A scanner with the last one's comment check and blanks begins its token
  // where that one left it, and finds nothing where nothing it looks for
  // begins.
  return searched != nullptr && m_Match.m_pTokenBegin != m_Position.m_pEnd &&
         scanner.sharesStartWith(*searched) && scanner.findsNothingAt(*m_Match.m_pTokenBegin);
}

bool CVL_ParseState::readNumber(const PlainToken& number) {
  // The first scanner of the walk that reads the whole number decides: a
  // later one could only replace its token with a longer one, and none is
  // longer.
  int kind = 0;
  ForEachScannerOfWalk(*this, [&](const CVL_Scanner& scanner) {
    kind = scanner.m_bPlainReadable ? NumberKind(number, scanner.m_PlainSearched) : -1;
    return kind == 0;
  });
  if (kind <= 0) return false;
  m_Match.holdToken(number.begin, number.end, symbolOf(kind));
  return true;
}

bool CVL_ParseState::readEndOfInput(const char* const end) {
  // The first scanner finds the end of input before its expressions; a
  // later one of the walk whose expression looks for it finds it again as
  // a pattern token, which takes precedence.
  int scanners = 0;
  bool readable = true;
  bool pattern = false;
  ForEachScannerOfWalk(*this, [&](const CVL_Scanner& scanner) {
    readable = scanner.m_bPlainReadable;
    if (readable && scanners++ > 0 && scanner.m_PlainSearched.contains(tok::Eof))
      pattern = true;
    return readable;
  });
  if (!readable || scanners == 0) return false;
  if (pattern) {
    m_Match.holdToken(end, end, symbolOf(tok::Eof));
  } else {
    m_Match.holdEndOfInput(end);
  }
  return true;
}

bool CVL_ParseState::readPlainToken(const char* const inputEnd) {
  const char* nameEnd = nullptr;
  PlainToken token = ReadPlainToken(m_Match.m_pTokenBegin, inputEnd);
  if (IsDigitsOnly(token)) return readNumber(token);
  if (token.kind == PlainToken::Kind::Stop && token.begin == inputEnd) return readEndOfInput(inputEnd);
  ReadLineBreak(token, inputEnd);
  ReadCallBegin(token, inputEnd, nameEnd);
  const bool hash = token.kind == PlainToken::Kind::Stop && token.begin != inputEnd &&
                    *token.begin == '#';
  if (!hash && !ScannersMayReadAlike(token)) return false;
  // The kinds every scanner of the walk below looks for.
  CVL_TokenSet searched;
  if (m_pScanner != nullptr) {
    if (!m_pScanner->m_bPlainReadable) return false;
    searched = m_pScanner->m_PlainSearched;
  }
  if (m_bTestRuleEnds && !m_RuleEndScannerStack.empty()) {
    const prod_log<char>& top = m_RuleEndScannerStack.back();
    if (!top.m_bWalkPlainReadable) return false;
    searched |= top.m_WalkSearched;
  }
  if (hash)
    AsScannersReadHash(token, inputEnd, searched);
  else
    AsScannersRead(token, inputEnd, searched);
  if (token.kind == PlainToken::Kind::Stop) return false;
  if (token.id == tok::MacroCallBegin)
    m_Match.holdCallBegin(token.begin, nameEnd, token.end, symbolOf(token.id));
  else
    m_Match.holdToken(token.begin, token.end, symbolOf(token.id));
  return true;
}

void CVL_ParseState::scan(const char* const scanStart, const char* const inputEnd) {
  if (m_bFastPaths && readPlainToken(inputEnd)) return;
  const CVL_DynamicScanner* const dynamic =
      m_pPlugin != nullptr ? m_pPlugin->dynamicScanner() : nullptr;
  const CVL_Scanner* scanner = m_pScanner;
  int kindLimit = match_kind::None;
  // The walk starts above the top entry, so the first fallback is the entry
  // of the innermost entered production.
  std::size_t walk = m_RuleEndScannerStack.size();
  // Every scanner of this scan starts at the same place.
  CVL_ScanStartMemo memo;
  // The scanner whose result the candidate in m_Match is, and whether its
  // token begins where its comment check and blanks lead from the start of
  // the scan (and not from where an earlier scanner left the token begin).
  const CVL_Scanner* holder = nullptr;
  bool holderAligned = false;
  // The last scanner that searched without finding a candidate: the token
  // begin is where its comment check and blanks left it.
  const CVL_Scanner* searched = nullptr;
  // The last fallback passed over since the candidate last changed: the
  // enclosing productions often leave the same scanner several times in a
  // row, and it cannot replace the same candidate the second time either.
  const CVL_Scanner* passedOver = nullptr;

  while (scanner != nullptr || m_bTestRuleEnds) {
    if (scanner != nullptr) {
      int inclusion = 0;
      if (!m_Match.m_bFound) {
        // Without a candidate, each scanner continues where the previous one
        // left the token begin.
        if (!m_bFastPaths || !findsNothingWhereLeft(*scanner, searched)) {
          searched = scanner;
          const bool fromStart = m_Match.m_pTokenBegin == scanStart;
          scanner->scanWith(m_Match, inputEnd, kindLimit, dynamic, inclusion, memo);
          if (inclusion != 0) {
            startInclusion(inclusion);
            return;
          }
          if (m_Match.m_bFound) {
            holder = scanner;
            holderAligned = fromStart || memo.find(scanner->checkedInclusion(), scanner->m_Ignore,
                                                   scanStart) == m_Match.m_pTokenBegin;
          }
        }
      } else if (scanner == passedOver) {
        // Decided for this very candidate just before.
      } else if (m_bFastPaths && holderAligned && passesOver(*scanner, *holder)) {
        passedOver = scanner;
      } else {
        passedOver = nullptr;
        m_AltMatch.reset(scanStart);
        scanner->scanWith(m_AltMatch, inputEnd, kindLimit, dynamic, inclusion, memo);
        if (inclusion != 0) {
          m_Match = std::move(m_AltMatch);
          startInclusion(inclusion);
          return;
        }
        if (chooseCandidate()) {
          holder = scanner;
          holderAligned = true;
        }
        kindLimit = m_Match.m_Kind;
      }
    }
    if (!m_bTestRuleEnds || walk == 0) return;
    const prod_log<char>& entry = m_RuleEndScannerStack[walk - 1];
    scanner = entry.m_pScanner;
    // An entry with flag 0 is the last one tried.
    walk = entry.m_Flag == 0 ? 0 : walk - 1;
  }
}

bool CVL_ParseState::scanAhead(const char* const start) {
  const std::size_t entries = m_RuleEndScannerStack.size();
  m_Match.reset(start);
  scan(start, m_Position.m_pEnd);
  if (m_bInclusionPending) {
    m_bInclusionPending = false;
    m_InclusionStack.pop();
    m_RuleEndScannerStack.resize(entries);
    return false;
  }
  return m_Match.m_bFound && m_Match.m_SkipId == -1;
}

void CVL_ParseState::pendScanned() {
  m_Status = parse_status::Idle;
  commit();
}

void CVL_ParseState::startInclusion(int inclusion) {
  pushRuleEnd(m_pScanner, m_bTestRuleEnds ? 1 : 0);
  m_InclusionStack.push(inclusion);
  m_bInclusionPending = true;
}

bool CVL_ParseState::chooseCandidate() {
  const CVL_Match& a = m_Match;
  const CVL_Match& b = m_AltMatch;
  if (!b.m_bFound) return false;
  bool takeB = false;
  if (!a.m_bFound) {
    takeB = true;
  } else if (a.m_Kind != b.m_Kind &&
             !(isPatternKind(a.m_Kind) && isPatternKind(b.m_Kind) && a.m_Length != b.m_Length)) {
    // Literal before regular expression before skip before end of input;
    // between a literal and a pattern match only at equal length.
    takeB = b.m_Kind < a.m_Kind;
  } else if (a.m_Length != b.m_Length) {
    takeB = b.m_Length > a.m_Length;
  } else {
    // Equal kind and length: the first candidate wins unless an own
    // submatch of the second is longer.
    takeB = compareOwnSubmatches(a, b) > 0;
  }
  if (takeB) m_Match = std::move(m_AltMatch);
  return takeB;
}

}  // namespace orvo
