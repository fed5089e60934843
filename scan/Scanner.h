// The composite scanner: reads the next token at one grammar position from
// its ignore, regex, literal and skip parts.
#pragma once

#include <bitset>

#include "runtime/Match.h"
#include "scan/ScanStartMemo.h"
#include "scan/Symbol.h"

namespace zemra {

class CVL_IgnoreScanner;
class CVL_LiteralScanner;
class CVL_RegexScanner;
class CVL_SkipScanner;
class CVL_DynamicScanner;
class CVL_FirstByteTokens;

// A set of token ids (0..kTokenCount), ordered by id.
class CVL_TokenSet {
 public:
  void insert(int id) { m_Bits.set(static_cast<std::size_t>(id)); }
  bool contains(int id) const {
    return id >= 0 && id <= kTokenCount && m_Bits.test(static_cast<std::size_t>(id));
  }
  bool empty() const { return m_Bits.none(); }
  bool isSubsetOf(const CVL_TokenSet& other) const { return (m_Bits & ~other.m_Bits).none(); }
  std::size_t size() const { return m_Bits.count(); }
  bool operator==(const CVL_TokenSet& other) const = default;
  CVL_TokenSet& operator|=(const CVL_TokenSet& other) {
    m_Bits |= other.m_Bits;
    return *this;
  }
  CVL_TokenSet& operator&=(const CVL_TokenSet& other) {
    m_Bits &= other.m_Bits;
    return *this;
  }
  template <class F>
  void forEach(F&& f) const {
    for (int id = 0; id <= kTokenCount; ++id)
      if (m_Bits.test(static_cast<std::size_t>(id))) f(id);
  }

 private:
  std::bitset<kTokenCount + 1> m_Bits;
};

class CVL_Scanner {
 public:
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
  // parts are not ones whose results can be told apart that way.
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
  bool cannotReplace(const CVL_Scanner& holder, const CVL_Match& candidate) const;

  // The inclusion scanner this one checks before its token; null for none.
  const CVL_Scanner* checkedInclusion() const { return m_Inclusion != this ? m_Inclusion : nullptr; }

  // Position after the characters the ignore part passes over from `position`.
  const char* skipIgnored(const char* position, const char* inputEnd) const;
};

}  // namespace zemra
