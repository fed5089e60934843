// Runs of plain tokens in text lines, rescans and macro arguments, copied
// without the scanners. Most of ordinary C text is names that no macro has,
// numbers, literals and operators; the scanners would read each of them
// with its blanks and the production would copy it unchanged, so a run, or
// a stretch of whole lines, is copied in one piece.
#include <algorithm>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/Shortcuts.h"
#include "scan/PlainTokenReader.h"

namespace orvo {
namespace {

// Whether a run may end on a token of kind `id`: one the grammar matches
// directly, with a scanner for what follows it. A number may be read as
// another kind (id 0), and an operator is parsed by a production of its own.
bool MayEndRun(int id) {
  return id == tok::Id || id == tok::Char || id == tok::String ||
         id == tok::NotOtherPpTokenChar || id == tok::Rparen || id == tok::Lparen;
}

// Scanner that reads the token after one of kind `id`, where MayEndRun.
int ScannerAfterPlainToken(const PlainRunGrammar& grammar, int id) {
  if (id == tok::Id) return grammar.idScanner;
  return ScannerAfter(grammar.tokens, id);
}

}  // namespace

bool Cpreprocess_fileParser::mayReadPlainTokens(const CVL_ParseState& s) const {
  // A directive reads its tokens under rules of its own, and a comment
  // waiting to be parsed comes first.
  return MayTake(Shortcut::PlainTokens, s, m_pTrace) && !s.m_bDirectiveLine &&
         !s.m_bInclusionPending && s.m_Status == parse_status::OnePending &&
         s.m_TokenStack.size() == 1;
}

bool Cpreprocess_fileParser::expandsAsName(const PlainToken& token) const {
  if (token.kind != PlainToken::Kind::Word) return false;
  const std::string_view word(token.begin, static_cast<std::size_t>(token.end - token.begin));
  return m_PredefinedMacros.find(word) != nullptr || m_ObjectMacros.find(word) != nullptr;
}

bool Cpreprocess_fileParser::readPendingPlainToken(const CVL_ParseState& s,
                                                   PlainToken& token) const {
  const CVL_Match& pending = s.m_Position.m_Lookahead;
  token = ReadPlainToken(pending.m_pScanStart, s.m_Position.m_pEnd);
  // Where the reader sees the pending token otherwise, the scanners decide.
  return token.kind != PlainToken::Kind::Stop && token.begin == pending.m_pTokenBegin &&
         token.end == pending.m_pTokenEnd;
}

bool Cpreprocess_fileParser::startPlainRun(CVL_ParseState& s, const char*& stop,
                                           PlainToken& first) const {
  if (!mayReadPlainTokens(s)) return false;
  const CVL_Match& pending = s.m_Position.m_Lookahead;
  if (stop != nullptr && pending.m_pTokenBegin <= stop) return false;
  if (readPendingPlainToken(s, first)) return true;
  stop = pending.m_pTokenBegin;
  return false;
}

bool Cpreprocess_fileParser::copyPlainTokens(CVL_ParseState& s, const PlainRunGrammar& grammar,
                                             std::string* line, const char*& stop) {
  PlainToken token;
  if (!startPlainRun(s, stop, token)) return false;
  const CVL_Match& pending = s.m_Position.m_Lookahead;

  const char* const end = s.m_Position.m_pEnd;
  const char* const runBegin = pending.m_pScanStart;
  PlainToken last;
  while (token.kind != PlainToken::Kind::Stop) {
    if (expandsAsName(token)) break;
    if (MayEndRun(token.id)) last = token;
    token = ReadPlainToken(token.end, end);
  }
  stop = token.begin;
  // Only a run of two tokens or more saves work.
  if (last.begin == nullptr || last.begin == pending.m_pTokenBegin) return false;
  const int lastScanner = ScannerAfterPlainToken(grammar, last.id);

  if (line != nullptr) line->append(runBegin, last.end);
  // As a match of the last token would: consume, then look ahead with the
  // scanner that follows it.
  s.consumeThrough(last.prefixBegin, last.begin, last.end, last.id);
  lookahead(s, 0, lastScanner, endsAt(lastScanner), nullptr, nullptr);
  return true;
}

bool Cpreprocess_fileParser::copyPlainArgumentTokens(CVL_ParseState& s, std::string& argument,
                                                     const char*& stop) {
  PlainToken token;
  if (!startPlainRun(s, stop, token)) return false;
  const CVL_Match& pending = s.m_Position.m_Lookahead;
  // An argument ends at a comma or a parenthesis; a parenthesis also opens
  // a group of its own. Arguments are collected unexpanded, so any name may
  // stand in the run.
  const auto endsRun = [](const PlainToken& token) {
    return token.kind == PlainToken::Kind::Stop ||
           (token.kind == PlainToken::Kind::Other && token.end - token.begin == 1 &&
            (*token.begin == ',' || *token.begin == '(' || *token.begin == ')'));
  };
  const char* const end = s.m_Position.m_pEnd;
  // The last two neighbouring tokens of the run whose kinds are certain.
  PlainToken beforeLast;
  PlainToken last;
  PlainToken previous;
  while (!endsRun(token)) {
    if (previous.id != 0 && token.id != 0) {
      beforeLast = previous;
      last = token;
    }
    previous = token;
    token = ReadPlainToken(token.end, end);
  }
  stop = token.begin;
  if (last.begin == nullptr) return false;

  // The first token of an argument goes without the blanks in front of it.
  const char* const copyBegin = argument.empty() ? pending.m_pTokenBegin : pending.m_pScanStart;
  argument.append(copyBegin, beforeLast.end);
  // The tokens up to `beforeLast` are matched as macro_token would match
  // them; `last` is left pending for the production, which matches it and
  // looks ahead itself.
  s.consumeThrough(beforeLast.prefixBegin, beforeLast.begin, beforeLast.end, beforeLast.id);
  s.pendToken(last.begin, last.end, last.id);
  s.m_pScanner = scanner(pos::macro_tokens_after_macro_token);
  return true;
}

bool Cpreprocess_fileParser::copyPlainLines(CVL_ParseState& s, bool output) {
  PlainToken first;
  if (!MayTake(Shortcut::PlainLines, s, m_pTrace) || !mayReadPlainTokens(s) ||
      !readPendingPlainToken(s, first))
    return false;
  const char* const end = s.m_Position.m_pEnd;
  const char* const linesBegin = s.m_Position.m_Lookahead.m_pScanStart;
  // The line break that ends the last whole line read so far.
  PlainToken lineBreak;
  const char* lineBegin = linesBegin;
  while (lineBegin != end) {
    PlainToken token = ReadPlainToken(lineBegin, end);
    while (token.kind != PlainToken::Kind::Stop) {
      if (expandsAsName(token)) break;
      token = ReadPlainToken(token.end, end);
    }
    // A whole line ends where the reader stops at its line break.
    const char* const at = token.begin;
    const bool breaks = token.kind == PlainToken::Kind::Stop && at != end &&
                        (*at == '\n' || (*at == '\r' && at + 1 != end && at[1] == '\n'));
    if (!breaks) break;
    lineBreak.prefixBegin = token.prefixBegin;
    lineBreak.begin = at;
    lineBreak.end = at + (*at == '\n' ? 1 : 2);
    lineBegin = lineBreak.end;
  }
  if (lineBreak.end == nullptr) return false;
  const std::size_t length = static_cast<std::size_t>(lineBreak.end - linesBegin);
  if (output && length > m_OutputLimit - std::min(m_BytesWritten, m_OutputLimit)) return false;

  // As the match of the last line break, an empty line of its own, would.
  s.consumeThrough(lineBreak.prefixBegin, lineBreak.begin, lineBreak.end, tok::Eol);
  lookahead(s, 0, pos::group_after_Eol, endsAt(pos::group_after_Eol), nullptr, nullptr);
  if (output) write(s, {linesBegin, length});
  return true;
}

}  // namespace orvo
