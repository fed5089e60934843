// One scan result: where the scan started, the token it recognised and how.
#pragma once

#include "scan/Submatches.h"
#include "scan/Symbol.h"

namespace orvo {

// How a candidate was recognised.
namespace match_kind {
constexpr unsigned char Literal = 0, Regex = 1, Skip = 2, Skipped = 3, EndOfInput = 6, None = 7;
}

struct CVL_Match {
  CVL_Submatches m_Submatches;
  const char* m_pScanStart = nullptr;
  const char* m_pTokenBegin = nullptr;
  const char* m_pTokenEnd = nullptr;
  bool m_bFound = false;  // a candidate was recognised
  int m_Length = 0;
  unsigned char m_Kind = match_kind::None;
  const symbol* m_pSymbol = nullptr;
  int m_SkipId = -1;
  int m_Group = 0;

  // Holds [begin, end) as a token of `kind` that was read without the
  // scanners: found, with no groups; the scan start stays as it is.
  void holdToken(const char* begin, const char* end, const symbol* kind) {
    m_Submatches.clear();
    holdExtent(begin, end, kind);
  }

  // Holds [begin, end) as a call begin read without the scanners, with the
  // name [begin, nameEnd) as its own group 1, where the expressions put it.
  void holdCallBegin(const char* begin, const char* nameEnd, const char* end,
                     const symbol* kind) {
    m_Submatches.start(begin, end, 2, 0, 2);
    m_Submatches.setOwn(1, begin, nameEnd);
    holdExtent(begin, end, kind);
  }

  // Holds the end of input at `end` as a scanner finds it before trying
  // its expressions.
  void holdEndOfInput(const char* end) {
    m_Submatches.clear();
    holdExtent(end, end, &EofSymbol());
    m_Kind = match_kind::EndOfInput;
  }

  // Where the token found ends: its length measures a literal, the end of
  // input and a token read without groups; the whole match the others.
  const char* foundEnd() const {
    const bool measuredByLength = m_Kind == match_kind::Literal ||
                                  m_Kind == match_kind::EndOfInput || m_Submatches.empty();
    return measuredByLength ? m_pTokenBegin + m_Length : m_Submatches[0].second;
  }

  void reset(const char* position) {
    m_pScanStart = m_pTokenBegin = m_pTokenEnd = position;
    m_bFound = false;
    m_Length = 0;
    m_Kind = match_kind::None;
    m_pSymbol = nullptr;
    m_SkipId = -1;
    m_Group = 0;
  }

 private:
  void holdExtent(const char* begin, const char* end, const symbol* kind) {
    m_pTokenBegin = begin;
    m_pTokenEnd = end;
    m_bFound = true;
    m_Length = static_cast<int>(end - begin);
    m_Kind = kind->literal ? match_kind::Literal : match_kind::Regex;
    m_pSymbol = kind;
    m_SkipId = -1;
    m_Group = 0;
  }
};

}  // namespace orvo
