// A run of plain tokens in a text line, copied without the scanners. Most
// of ordinary C text is names that no macro has, numbers, literals and
// operators; the scanners would read each of them with its blanks and the
// text line would copy it unchanged, so the run is copied in one piece.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/RuleEndFlags.h"
#include "macros/MacroGrammarTables.h"
#include "scan/MatcherChoice.h"
#include "scan/PlainTokenReader.h"

namespace zemra {
namespace {

// Scanner that reads the token after `id` in a text line, or -1 where the
// token may be read as another kind (a number) or is parsed by a production
// of its own (an operator): a run may end only on a token with a scanner.
int ScannerAfterPlainToken(int id) {
  if (id == tok::Id) return kTextLineIdScanner;
  return ScannerAfter(kTextLineTokens, id);
}

}  // namespace

bool Cpreprocess_fileParser::copyPlainTokens(CVL_ParseState& s, std::string* line,
                                             const char*& stop) {
  // Switched off, and with the reference matcher alone, the scanners read
  // every token; a nested parse or a directive reads its tokens under rules
  // of its own.
  if (!m_bReadPlainTokens || LibraryMatchingOnly() || s.isSubParseState() || s.m_bDirectiveLine ||
      s.m_bInclusionPending || s.m_Status != parse_status::OnePending ||
      s.m_TokenStack.size() != 1)
    return false;
  const CVL_Match& pending = s.m_Position.m_Lookahead;
  if (stop != nullptr && pending.m_pTokenBegin <= stop) return false;

  const char* const end = s.m_Position.m_pEnd;
  const char* const runBegin = pending.m_pScanStart;
  PlainToken last;
  int lastScanner = -1;
  PlainToken token = ReadPlainToken(runBegin, end);
  // The first token is the pending one; where the reader sees it otherwise,
  // the scanners decide.
  if (token.kind == PlainToken::Kind::Stop || token.begin != pending.m_pTokenBegin ||
      token.end != pending.m_pTokenEnd) {
    stop = token.begin;
    return false;
  }
  while (token.kind != PlainToken::Kind::Stop) {
    if (token.kind == PlainToken::Kind::Word) {
      const std::string_view word(token.begin, static_cast<std::size_t>(token.end - token.begin));
      if (m_PredefinedMacros.find(word) != nullptr || m_ObjectMacros.find(word) != nullptr) break;
    }
    if (const int scanner = token.id != 0 ? ScannerAfterPlainToken(token.id) : -1; scanner >= 0) {
      last = token;
      lastScanner = scanner;
    }
    token = ReadPlainToken(token.end, end);
  }
  stop = token.begin;
  // Only a run of two tokens or more saves work.
  if (lastScanner < 0 || last.begin == pending.m_pTokenBegin) return false;

  if (line != nullptr) line->append(runBegin, last.end);
  // As a match of the last token would: consume, then look ahead with the
  // scanner that follows it.
  s.consumeThrough(last.prefixBegin, last.begin, last.end, last.id);
  lookahead(s, 0, lastScanner, endsAt(lastScanner), nullptr, nullptr);
  return true;
}

}  // namespace zemra
