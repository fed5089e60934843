// The top of the grammar: the start rule, the repetition of groups, one
// group, and the dispatch to the single-line directives.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"

namespace orvo {

void Cpreprocess_fileParser::preprocess_file(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::preprocess_file, " preprocess_file");
  readIncludeDirectories(s);
  outer_group(s, pos::preprocess_file_after_outer_group,
              endsAt(pos::preprocess_file_after_outer_group), true, 0);
  guard.leave();
}

void Cpreprocess_fileParser::outer_group(CVL_ParseState& s, int si, int re, bool output,
                                         int depth) {
  CVL_Guard guard = enter(s, si, re, prod::outer_group, " outer_group");
  while (sets::groupStart().contains(peek(s, elem::OptRep0_of_outer_group))) {
    group(s, pos::outer_group_after_group, endsAt(pos::outer_group_after_group), output, depth);
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
    match(s, tok::Eol, pos::group_after_Eol, endsAt(pos::group_after_Eol), nullptr, nullptr);
    if (output) write(s, s.matchCopyView());
  } else if (t == tok::PdInclude) {
    include_line(s, pos::group_after_include_line, endsAt(pos::group_after_include_line), output,
                 depth);
  } else if (sets::textStart().contains(t)) {
    if (!copyPlainLines(s, output))
      pp_tokens(s, pos::group_after_pp_tokens, endsAt(pos::group_after_pp_tokens), output);
  } else if (t == tok::PdDefine || t == tok::PdError || t == tok::PdLine ||
             t == tok::PdPragma || t == tok::PdUndef || t == tok::PdWarning) {
    control_line(s, pos::group_after_control_line, endsAt(pos::group_after_control_line));
  } else if (t == tok::PdIfdef || t == tok::PdIfndef || t == tok::PdIf) {
    if_section(s, pos::group_after_if_section, endsAt(pos::group_after_if_section), output, depth);
  } else {
    unexpectedError(s, "group", "Alt0_of_group");
  }
  guard.leave();
}

void Cpreprocess_fileParser::control_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::control_line, " control_line");
  switch (peek(s, elem::Alt0_of_control_line)) {
    case tok::PdDefine:
      definition(s, pos::control_line_after_definition, endsAt(pos::control_line_after_definition));
      break;
    case tok::PdError:
      error_line(s, pos::control_line_after_error_line, endsAt(pos::control_line_after_error_line));
      break;
    case tok::PdLine:
      line_line(s, pos::control_line_after_line_line, endsAt(pos::control_line_after_line_line));
      break;
    case tok::PdPragma:
      pragma_line(s, pos::control_line_after_pragma_line,
                  endsAt(pos::control_line_after_pragma_line));
      break;
    case tok::PdUndef:
      undef_line(s, pos::control_line_after_undef_line, endsAt(pos::control_line_after_undef_line));
      break;
    case tok::PdWarning:
      warning_line(s, pos::control_line_after_warning_line,
                   endsAt(pos::control_line_after_warning_line));
      break;
    default: unexpectedError(s, "control_line", "Alt0_of_control_line");
  }
  guard.leave();
}

}  // namespace orvo
