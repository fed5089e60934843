#include "scan/Scanner.h"

#include "scan/DynamicScanner.h"
#include "scan/IgnoreScanner.h"
#include "scan/LiteralScanner.h"
#include "scan/RegexScanner.h"
#include "scan/SkipScanner.h"

namespace orvo {
namespace {

void LoseCandidate(CVL_Match& match) {
  match.m_bFound = false;
  match.m_Length = 0;
  match.m_Kind = match_kind::None;
  match.m_pSymbol = nullptr;
}

void TryLiteral(const CVL_Scanner& s, CVL_Match& match, const char* inputEnd) {
  const std::optional<CVL_LiteralHit> hit =
      s.m_Literal->longestMatch(match.m_pTokenBegin, inputEnd, s.m_WholeWord, &s.m_ExpectedTokens);
  if (!hit) return;
  const int length = static_cast<int>(hit->m_pEnd - match.m_pTokenBegin);
  // A literal beats a pattern token of the same length.
  if (match.m_bFound && length < match.m_Length) return;
  if (match.m_bFound && length == match.m_Length && match.m_Kind == match_kind::Literal) return;
  match.m_bFound = true;
  match.m_Length = length;
  match.m_Kind = match_kind::Literal;
  match.m_pSymbol = hit->m_pSymbol;
  match.m_SkipId = -1;
}

// Everything a scanner tries once its token begin is settled: the end of
// input, the regex, dynamic and literal parts, and finally the skip part.
bool TryParts(const CVL_Scanner& s, CVL_Match& match, const char* inputEnd, int kindLimit,
              const CVL_DynamicScanner* dynamicScanner) {
  if (kindLimit == match_kind::None && match.m_pTokenBegin == inputEnd) {
    match.m_bFound = true;
    match.m_Length = 0;
    match.m_Kind = match_kind::EndOfInput;
    match.m_pSymbol = &EofSymbol();
    match.m_SkipId = -1;
    return true;
  }
  // The regex and literal parts rule out impossible first bytes themselves.
  if (s.m_Regex != nullptr) s.m_Regex->find(match, inputEnd);
  if (!s.m_DynamicTokens.empty() && dynamicScanner != nullptr && dynamicScanner->hasLevels() &&
      dynamicScanner->dynamicMatch(match, inputEnd, s.m_WholeWord) &&
      !s.m_DynamicTokens.contains(match.m_pSymbol->id))
    LoseCandidate(match);
  if (s.m_Literal != nullptr) TryLiteral(s, match, inputEnd);
  if (match.m_bFound) return true;
  // A skip is only worth trying while no literal or pattern candidate exists.
  if (s.m_Skip != nullptr && kindLimit > match_kind::Regex && s.m_Skip->skip(match, inputEnd)) {
    match.m_SkipId = s.m_SkipToken;
    return true;
  }
  return false;
}

// Whether a comment (or another inclusion) starts at the match: the inclusion
// scanner's own step, without an inclusion of its own.
bool InclusionStarts(const CVL_Scanner& inclusion, CVL_Match& match, const char* inputEnd,
                     const CVL_DynamicScanner* dynamicScanner) {
  if (inclusion.m_Ignore != nullptr) inclusion.m_Ignore->passOver(match.m_pTokenBegin, inputEnd);
  // Most bytes begin nothing the inclusion looks for: then its parts would
  // find nothing and leave the match as it is.
  if (match.m_pTokenBegin != inputEnd && inclusion.findsNothingAt(*match.m_pTokenBegin))
    return false;
  return TryParts(inclusion, match, inputEnd, match_kind::None, dynamicScanner) &&
         match.m_Kind != match_kind::EndOfInput;
}

// Passes the token begin over blanks and comment checks until neither
// applies: a comment may follow ignored blanks, so the check repeats after
// each pass. True when an inclusion starts at the token begin.
bool InclusionBeforeToken(const CVL_Scanner& s, const CVL_Scanner* inclusion, CVL_Match& match,
                          const char* inputEnd, const CVL_DynamicScanner* dynamicScanner) {
  for (;;) {
    if (inclusion != nullptr && InclusionStarts(*inclusion, match, inputEnd, dynamicScanner))
      return true;
    if (s.m_Ignore == nullptr || !s.m_Ignore->passOver(match.m_pTokenBegin, inputEnd)) return false;
  }
}

// Whether the match holds nothing but its positions, as after a reset.
bool HoldsNoResult(const CVL_Match& match) {
  return !match.m_bFound && match.m_Kind == match_kind::None;
}

}  // namespace

bool CVL_Scanner::scanWith(CVL_Match& match, const char* inputEnd, int kindLimit,
                           const CVL_DynamicScanner* dynamicScanner, int& inclusion) const {
  CVL_ScanStartMemo memo;
  return scanWith(match, inputEnd, kindLimit, dynamicScanner, inclusion, memo);
}

bool CVL_Scanner::scanWith(CVL_Match& match, const char* inputEnd, int kindLimit,
                           const CVL_DynamicScanner* dynamicScanner, int& inclusion,
                           CVL_ScanStartMemo& memo) const {
  inclusion = 0;
  const CVL_Scanner* const checked = checkedInclusion();
  // Only a check that leaves nothing but the token begin behind can be
  // shared; a dynamic part of the inclusion scanner may leave more.
  const bool shareable =
      HoldsNoResult(match) && (checked == nullptr || checked->m_DynamicTokens.empty());
  const char* const from = match.m_pTokenBegin;
  if (shareable) {
    if (const char* const to = memo.find(checked, m_Ignore, from)) {
      match.m_pTokenBegin = to;
      return TryParts(*this, match, inputEnd, kindLimit, dynamicScanner);
    }
  }
  if (InclusionBeforeToken(*this, checked, match, inputEnd, dynamicScanner)) {
    inclusion = m_InclusionIndex;
    return true;
  }
  if (shareable && HoldsNoResult(match)) memo.remember(checked, m_Ignore, from, match.m_pTokenBegin);
  return TryParts(*this, match, inputEnd, kindLimit, dynamicScanner);
}

const char* CVL_Scanner::skipIgnored(const char* position, const char* inputEnd) const {
  if (m_Ignore != nullptr) m_Ignore->passOver(position, inputEnd);
  return position;
}

}  // namespace orvo
