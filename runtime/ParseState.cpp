#include "runtime/ParseState.h"

#include <algorithm>
#include <utility>

#include "scan/FirstByteTokens.h"
#include "scan/Scanner.h"

namespace orvo {

CVL_ParseState::CVL_ParseState(const char* begin, const char* end) { resetRange(begin, end); }

CVL_ParseState::~CVL_ParseState() = default;

void CVL_ParseState::resetRange(const char* begin, const char* end) {
  m_Position.m_pBegin = begin;
  m_Position.m_pLineCursor = begin;
  m_Position.m_pEnd = end;
  m_Match.reset(begin);
  m_AltMatch.reset(begin);
  m_Position.m_Current.reset(begin);
  m_Position.m_Lookahead.reset(begin);
  m_Position.m_Next.reset(begin);
  m_ProdPrefixBegin = m_ProdBegin = m_ProdEnd = begin;
}

bool CVL_ParseState::addDynamicText(const std::string& placeholder, const std::string& text) {
  return m_pPlugin != nullptr && m_pPlugin->addDynamicText(placeholder, text, dynamicScope());
}

bool CVL_ParseState::addDynamicKeyedText(const std::string& placeholder, const std::string& text,
                                         const std::string& key) {
  return m_pPlugin != nullptr &&
         m_pPlugin->addDynamicKeyedText(placeholder, text, key, dynamicScope());
}

void CVL_ParseState::removeDynamicKey(const std::string& key) {
  if (m_pPlugin != nullptr) m_pPlugin->removeDynamicKey(key, dynamicScope());
}

int CVL_ParseState::lookahead(int elementIndex) {
  if (elementIndex != 0) m_ElementIndex = elementIndex;
  if (!m_TokenStack.empty()) return m_TokenStack.top();
  // A pending token is never rescanned, and a parse that recorded an error
  // scans no further.
  if (m_pScanner == nullptr || parse_status::isErrorState(m_Status)) return 0;
  m_Status = parse_status::Idle;
  m_Match.reset(m_Position.m_Current.m_pTokenEnd);
  scan(m_Position.m_pEnd);
  if (m_bDirectiveLine && !m_bInclusionPending) {
    // A call that would reach over the directive's line break is read again
    // from the text before that line break: the name alone, then the line
    // break that ends the directive.
    if (const char* lineBreak = callLineBreak(m_Match)) {
      m_Match.reset(m_Position.m_Current.m_pTokenEnd);
      scan(lineBreak);
    }
  }
  if (m_Match.m_bFound) {
    commit();
    return m_TokenStack.top();
  }
  if (m_Match.m_Kind == match_kind::Skip) m_Status = parse_status::SkipStop;
  return 0;
}

const char* CVL_ParseState::callLineBreak(const CVL_Match& match) {
  if (!match.m_bFound || match.m_pSymbol == nullptr || match.m_pSymbol->id != tok::MacroCallBegin)
    return nullptr;
  const char* const end = match.m_Submatches.empty() ? match.m_pTokenBegin + match.m_Length
                                                     : match.m_Submatches[0].second;
  const char* const lineBreak = std::find(match.m_pTokenBegin, end, '\n');
  return lineBreak != end ? lineBreak : nullptr;
}

void CVL_ParseState::commit() {
  CVL_Position& window = m_Position;
  m_Match.m_pScanStart = window.m_Current.m_pTokenEnd;
  if (m_Match.m_SkipId == -1) {
    CVL_Match& token = window.m_Lookahead;
    token = std::move(m_Match);
    token.m_pTokenEnd = token.foundEnd();
    window.m_Next.reset(token.m_pTokenEnd);
    m_TokenStack.push(token.m_pSymbol != nullptr ? token.m_pSymbol->id : tok::Unrecognized);
    m_Status = parse_status::OnePending;
    return;
  }
  // A skip delivers two tokens: the skipped text, then the stop token that
  // ended it (the whole match of the skip pattern).
  CVL_Match& stop = window.m_Next;
  stop = std::move(m_Match);
  const char* stopBegin = stop.m_Submatches[0].first;
  const char* stopEnd = stop.m_Submatches[0].second;

  CVL_Match& skipped = window.m_Lookahead;
  skipped.reset(stop.m_pTokenBegin);
  skipped.m_Submatches.clear();
  skipped.m_pScanStart = stop.m_pScanStart;
  skipped.m_pTokenEnd = stopBegin;
  skipped.m_Length = static_cast<int>(stopBegin - stop.m_pTokenBegin);
  skipped.m_Kind = match_kind::Skipped;
  skipped.m_bFound = true;

  stop.m_pScanStart = stop.m_pTokenBegin = stopBegin;
  stop.m_pTokenEnd = stopEnd;
  stop.m_Length = static_cast<int>(stopEnd - stopBegin);

  m_TokenStack.push(stop.m_pSymbol != nullptr ? stop.m_pSymbol->id : tok::Unrecognized);
  m_TokenStack.push(stop.m_SkipId);
  m_Status = parse_status::TwoPending;
}

bool CVL_ParseState::shiftWindow() {
  CVL_Position& window = m_Position;
  // Once the end of input is the current token there is nothing to shift.
  if (window.m_Current.m_pTokenBegin == window.m_pEnd) return true;
  const bool progress = window.m_Current.m_pTokenEnd != window.m_Lookahead.m_pTokenEnd ||
                        window.m_Current.m_Kind == match_kind::Skip;
  window.m_Current = std::move(window.m_Lookahead);
  // The next place usually holds no token yet, only its position.
  const CVL_Match& next = window.m_Next;
  if (!next.m_bFound && next.m_Kind == match_kind::None &&
      next.m_pScanStart == next.m_pTokenBegin && next.m_pTokenEnd == next.m_pTokenBegin)
    window.m_Lookahead.reset(next.m_pTokenBegin);
  else
    window.m_Lookahead = std::move(window.m_Next);
  // Only the positions of the next place matter: the groups of a match
  // without a result are never read, so they need not be moved along.
  window.m_Next.reset(window.m_Lookahead.m_pTokenEnd);
  countLines();
  return progress;
}

void CVL_ParseState::consumeThrough(const char* scanStart, const char* tokenBegin,
                                    const char* tokenEnd, int id) {
  consume(false);
  CVL_Match& token = m_Position.m_Current;
  token.reset(scanStart);
  token.holdToken(tokenBegin, tokenEnd, symbolOf(id));
  m_Position.m_Lookahead.reset(tokenEnd);
  m_Position.m_Next.reset(tokenEnd);
  countLines();
}

void CVL_ParseState::pendToken(const char* tokenBegin, const char* tokenEnd, int id) {
  m_Match.reset(m_Position.m_Current.m_pTokenEnd);
  m_Match.holdToken(tokenBegin, tokenEnd, symbolOf(id));
  commit();
}

void CVL_ParseState::countLines() {
  CVL_Position& window = m_Position;
  const char* const target = window.m_Current.m_pTokenEnd;
  for (; window.m_pLineCursor < target; ++window.m_pLineCursor) {
    const char c = *window.m_pLineCursor;
    if (c == '\n') {
      ++window.m_Line;
      window.m_Column = 0;
    } else if (c != '\r') {
      ++window.m_Column;
    }
  }
}

bool CVL_ParseState::consume(bool isEps) {
  if (!isEps && !shiftWindow() && topToken() != tok::Eof) return false;
  if (!m_TokenStack.empty()) m_TokenStack.pop();
  m_Status = m_TokenStack.empty() ? parse_status::Idle : parse_status::OnePending;
  return true;
}

bool CVL_ParseState::consumeSkip(int tokenId) {
  if (!shiftWindow() && topToken() != tok::Eof) return false;
  if (topToken() != tokenId) return false;
  m_TokenStack.pop();
  // The stop token that ended the skip is still pending.
  m_Status = parse_status::OnePending;
  return true;
}

bool CVL_ParseState::atEnd() const {
  const char* const end = m_Position.m_Current.m_pTokenEnd;
  if (end == m_Position.m_pEnd) return true;
  return m_pScanner != nullptr && m_pScanner->skipIgnored(end, m_Position.m_pEnd) == m_Position.m_pEnd;
}

void CVL_ParseState::pushRuleEnd(const CVL_Scanner* scanner, const CVL_PlainReading& reading,
                                 unsigned char flag) {
  bool walkPlainReadable = reading.readable;
  CVL_TokenSet walkSearched = reading.searched;
  if (flag != 0 && !m_RuleEndScannerStack.empty()) {
    const prod_log<char>& below = m_RuleEndScannerStack.back();
    walkPlainReadable = walkPlainReadable && below.m_bWalkPlainReadable;
    walkSearched |= below.m_WalkSearched;
  }
  // Filled in place: building the entry aside and copying it in made the
  // copy wait on the narrow stores just made to it.
  prod_log<char>& entry = m_RuleEndScannerStack.emplace_back();
  entry.m_pScanner = scanner;
  entry.m_Flag = flag;
  entry.m_pCurrentEnd = m_Position.m_Current.m_pTokenEnd;
  entry.m_pLookaheadBegin = m_Position.m_Lookahead.m_pTokenBegin;
  entry.m_pLookaheadBegin2 = m_Position.m_Lookahead.m_pTokenBegin;
  entry.m_bWalkPlainReadable = walkPlainReadable;
  entry.m_WalkSearched = walkSearched;
}

}  // namespace orvo
