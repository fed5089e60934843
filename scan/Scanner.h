// The composite scanner: reads the next token at one grammar position from
// its ignore, regex, literal and skip parts.
#pragma once

#include "scan/Match.h"
#include "scan/FirstByteTokens.h"
#include "scan/ScanStartMemo.h"
#include "scan/Symbol.h"
#include "scan/TokenSet.h"

namespace orvo {

class CVL_IgnoreScanner;
class CVL_LiteralScanner;
class CVL_RegexScanner;
class CVL_SkipScanner;
class CVL_DynamicScanner;

// What the plain token reader needs to know of a scanner: whether it may
// stand in for it, and the kinds it then answers for.
struct CVL_PlainReading {
  CVL_TokenSet searched;
  bool readable = true;
};

class CVL_Scanner {
 public:
  // Whether the plain token reader may stand in for this scanner: it has
  // no skip or dynamic part, its parts' tokens are known by first byte, and
  // it passes over blanks and tabs alone (or finds nothing at all).
  bool m_bPlainReadable = false;
  // Where it may, the kinds the scanner looks for, which the reader then
  // answers for.
  CVL_TokenSet m_PlainSearched;
  const CVL_IgnoreScanner* m_Ignore = nullptr;
  const CVL_LiteralScanner* m_Literal = nullptr;
  const CVL_RegexScanner* m_Regex = nullptr;
  const CVL_SkipScanner* m_Skip = nullptr;
  const CVL_Scanner* m_Inclusion = nullptr;
  int m_SkipToken = -1;
  int m_InclusionIndex = -1;
  CVL_TokenSet m_ExpectedTokens;
  CVL_TokenSet m_DynamicTokens;
  bool m_WholeWord = true;
  // What the regex and literal parts can find, by first byte; null when the
  // parts are not ones whose results can be told apart that way, or when a
  // dynamic part may find more.
  const CVL_FirstByteTokens* m_pFirstByteTokens = nullptr;

  // One composite scanner step at match.m_pTokenBegin. Returns true when a
  // token was recognised or an inclusion starts; in the latter case sets
  // `inclusion` to m_InclusionIndex (otherwise leaves it 0).
  bool scanWith(CVL_Match& match, const char* inputEnd, int kindLimit,
                const CVL_DynamicScanner* dynamicScanner, int& inclusion) const;
  // The same step, sharing what the scanners of one scan found at its start
  // through `memo`: the comment check and blank skip run once per start.
  bool scanWith(CVL_Match& match, const char* inputEnd, int kindLimit,
                const CVL_DynamicScanner* dynamicScanner, int& inclusion,
                CVL_ScanStartMemo& memo) const;

  // Whether this scanner's result, at the token begin of `candidate`, could
  // never replace it: `candidate` is the literal or pattern token that
  // `holder` found there, and everything this scanner can find beginning
  // with that byte `holder` looked for too. The caller makes sure both
  // scanners begin the token at the same place.
  //
  // A scanner's result is the longest of its regex part's tokens (the first in
  // the shared alternative order among equally long ones) and its longest
  // literal, the literal winning a tie. If everything this scanner can find at
  // the byte is something `holder` looked for too, its regex hit and its
  // literal are each at most as long as the holder's, and the candidate loses
  // nothing to them: a shorter token never wins, a literal keeps a tie against
  // a pattern token, and an equally long literal is the same literal. Only an
  // equally long pattern token could differ from the holder's, and when this
  // scanner also looks for the holder's token it finds that very one.
  bool cannotReplace(const CVL_Scanner& holder, const CVL_Match& candidate) const {
    if (m_pFirstByteTokens == nullptr || holder.m_pFirstByteTokens == nullptr ||
        m_WholeWord != holder.m_WholeWord)
      return false;
    if (m_pFirstByteTokens->searched().empty()) return true;
    const char c = *candidate.m_pTokenBegin;
    if (!m_pFirstByteTokens->coveredBy(*holder.m_pFirstByteTokens, c)) return false;
    if (candidate.m_Kind == match_kind::Literal) return true;
    return candidate.m_Kind == match_kind::Regex &&
           (!m_pFirstByteTokens->patternStartsWith(c) ||
            m_pFirstByteTokens->searched().contains(candidate.m_pSymbol->id));
  }

  // Whether the regex, literal, dynamic and skip parts could find nothing
  // at a position (before the input end) that begins with `c`.
  bool findsNothingAt(char c) const {
    return m_pFirstByteTokens != nullptr && m_Skip == nullptr &&
           m_pFirstByteTokens->startingWith(c).empty();
  }

  // Whether this scanner checks the same comments and passes over the same
  // blanks before its token as `other`: from one place, both begin their
  // tokens at the same place.
  bool sharesStartWith(const CVL_Scanner& other) const {
    return checkedInclusion() == other.checkedInclusion() && m_Ignore == other.m_Ignore;
  }

  // The inclusion scanner this one checks before its token; null for none.
  CVL_PlainReading plainReading() const { return {m_PlainSearched, m_bPlainReadable}; }

  const CVL_Scanner* checkedInclusion() const { return m_Inclusion != this ? m_Inclusion : nullptr; }

  // Position after the characters the ignore part passes over from `position`.
  const char* skipIgnored(const char* position, const char* inputEnd) const;
};

}  // namespace orvo
