// A text line: its tokens with the blanks in front of them, identifiers and
// macro calls expanded, written to the output in one piece.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"
#include "macros/StrayBackslash.h"

namespace orvo {

void Cpreprocess_fileParser::pp_tokens(CVL_ParseState& s, int si, int re, bool output) {
  CVL_Guard guard = enter(s, si, re, prod::pp_tokens, " pp_tokens");
  std::string line;
  std::string call;
  RecordedMacros recorded;
  if (!sets::textStart().contains(peek(s, elem::Rep0_of_pp_tokens)))
    unexpectedError(s, "pp_tokens", "Rep0_of_pp_tokens");
  // Where the plain token reader last stopped: the tokens before it are read
  // by the scanners.
  const char* plainStop = nullptr;
  while (sets::textStart().contains(peek(s, elem::Rep0_of_pp_tokens))) {
    const int t = peek(s, elem::Alt0_of_Rep0_of_pp_tokens);
    if (t != tok::Bseol && t != tok::MacroCallBegin &&
        copyPlainTokens(s, kTextLineRun, output ? &line : nullptr, plainStop))
      continue;
    if (t == tok::Bseol) {
      // The backslash-newline and the blanks around it vanish.
      match(s, tok::Bseol, pos::pp_tokens_after_Bseol, endsAt(pos::pp_tokens_after_Bseol), nullptr,
            nullptr);
      if (output && IsStrayBackslash(s)) line += s.matchCopyView();
    } else if (t == tok::Id) {
      match(s, tok::Id, pos::pp_tokens_after_Id, endsAt(pos::pp_tokens_after_Id), nullptr, nullptr);
      if (output) {
        line += s.matchView(-1);
        expandIdentifier(s, s.matchView(0), line);
      }
    } else if (sets::literalsThroughOperators().contains(t)) {
      singleToken(s, elem::Alt1_of_Alt0_of_Rep0_of_pp_tokens, kTextLineTokens,
                  pos::pp_tokens_after_cpp_operator, "pp_tokens",
                  "Alt1_of_Alt0_of_Rep0_of_pp_tokens");
      if (output) line += s.matchCopyView();
    } else if (t == tok::MacroCallBegin) {
      // Calls are processed even when nothing is written: they may change
      // busy flags.
      macro_call_begin(s, pos::pp_tokens_after_macro_call_begin,
                       endsAt(pos::pp_tokens_after_macro_call_begin), call, recorded);
      if (output) line += call;
      call.clear();
    } else {
      unexpectedError(s, "pp_tokens", "Alt0_of_Rep0_of_pp_tokens");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  resetRecorded(recorded);
  if (output) write(s, line);
  guard.leave();
}

}  // namespace orvo
