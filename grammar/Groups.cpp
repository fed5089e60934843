// The top of the grammar: the start rule, the repetition of groups, one
// group, and the dispatch to the single-line directives.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/GrammarNames.h"
#include "grammar/TokenSets.h"
#include "grammar/MacroGrammarTables.h"

namespace orvo {

void Cpreprocess_fileParser::preprocess_file(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::preprocess_file, " preprocess_file");
  readIncludeDirectories(s);
  outer_group(s, 96, endsAt(96), true, 0);
  guard.leave();
}

void Cpreprocess_fileParser::outer_group(CVL_ParseState& s, int si, int re, bool output,
                                         int depth) {
  CVL_Guard guard = enter(s, si, re, prod::outer_group, " outer_group");
  while (sets::groupStart().contains(peek(s, elem::OptRep0_of_outer_group))) {
    group(s, 15, endsAt(15), output, depth);
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::group(CVL_ParseState& s, int si, int re, bool output, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::group, " group");
  m_Cancel.poll();
  const int t = peek(s, elem::Alt0_of_group);
  if (t == tok::Eol) {
    // An empty line keeps its blanks and its own line break.
    match(s, tok::Eol, kLineBreakScanner, endsAt(kLineBreakScanner), nullptr, nullptr);
    if (output) write(s, s.matchCopyView());
  } else if (t == tok::PdInclude) {
    include_line(s, 18, endsAt(18), output, depth);
  } else if (sets::textStart().contains(t)) {
    if (!copyPlainLines(s, output)) pp_tokens(s, 19, endsAt(19), output);
  } else if (t == tok::PdDefine || t == tok::PdError || t == tok::PdLine ||
             t == tok::PdPragma || t == tok::PdUndef || t == tok::PdWarning) {
    control_line(s, 17, endsAt(17));
  } else if (t == tok::PdIfdef || t == tok::PdIfndef || t == tok::PdIf) {
    if_section(s, 16, endsAt(16), output, depth);
  } else {
    unexpectedError(s, "group", "Alt0_of_group");
  }
  guard.leave();
}

void Cpreprocess_fileParser::control_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::control_line, " control_line");
  switch (peek(s, elem::Alt0_of_control_line)) {
    case tok::PdDefine: definition(s, 20, endsAt(20)); break;
    case tok::PdError: error_line(s, 23, endsAt(23)); break;
    case tok::PdLine: line_line(s, 25, endsAt(25)); break;
    case tok::PdPragma: pragma_line(s, 22, endsAt(22)); break;
    case tok::PdUndef: undef_line(s, 21, endsAt(21)); break;
    case tok::PdWarning: warning_line(s, 24, endsAt(24)); break;
    default: unexpectedError(s, "control_line", "Alt0_of_control_line");
  }
  guard.leave();
}

}  // namespace orvo
