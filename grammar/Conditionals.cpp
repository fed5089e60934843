// Conditional sections: #if/#ifdef/#ifndef, #elif, #else and #endif. The
// groups of the branch that is taken are parsed and written; every other
// branch is jumped over by the skip scanner, which still reports nested
// conditional directives so that the matching #endif closes the section.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/DirectiveLine.h"
#include "grammar/ExpressionTokens.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/GrammarNames.h"
#include "grammar/TokenSets.h"
#include "scan/Symbol.h"

namespace orvo {
namespace {

using sets::operator|;

// The three directives that open a section.
const CVL_TokenSet& sectionStarts() {
  static const CVL_TokenSet set =
      sets::one(tok::PdIfdef) | sets::one(tok::PdIfndef) | sets::one(tok::PdIf);
  return set;
}

// Element index the look-ahead of a branch that is not taken carries.
constexpr int kSkippedBranchLookahead = 6;

}  // namespace

void Cpreprocess_fileParser::if_section(CVL_ParseState& s, int si, int re, bool output, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::if_section, " if_section");
  int cond = 1;
  if_begin(s, 26, endsAt(26), cond);
  if (m_pTrace) m_pTrace->conditional(s, cond, cond != 0, false);
  groups(s, 27, endsAt(27), output, cond != 0, depth);
  if_end(s, 28, endsAt(28), output, cond == 0, depth);
  guard.leave();
}

void Cpreprocess_fileParser::if_begin(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::if_begin, " if_begin");
  const int t = peek(s, elem::Alt0_of_if_begin);
  if (t == tok::PdIfdef) {
    ifdef_line(s, 212, endsAt(212), cond);
  } else if (t == tok::PdIfndef) {
    ifndef_line(s, 214, endsAt(214), cond);
  } else if (t == tok::PdIf) {
    if_line(s, 213, endsAt(213), cond);
  } else {
    unexpectedError(s, "if_begin", "Alt0_of_if_begin");
  }
  guard.leave();
}

void Cpreprocess_fileParser::if_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::if_line, " if_line");
  match(s, tok::PdIf, 106, endsAt(106), "if_line", "PD_IF_T0_of_if_line");
  const_expr(s, kIfConditionScanner, endsAt(kIfConditionScanner), cond);
  guard.leave();
}

void Cpreprocess_fileParser::ifdef_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::ifdef_line, " ifdef_line");
  match(s, tok::PdIfdef, 249, endsAt(249), "ifdef_line", "PD_IFDEF_T0_of_ifdef_line");
  if (match(s, tok::Id, 250, endsAt(250), "ifdef_line", "ID_T1_of_ifdef_line"))
    cond = isDefined(s.matchText(0)) ? 1 : 0;
  guard.leave();
}

void Cpreprocess_fileParser::ifndef_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::ifndef_line, " ifndef_line");
  match(s, tok::PdIfndef, 269, endsAt(269), "ifndef_line", "PD_IFNDEF_T0_of_ifndef_line");
  if (match(s, tok::Id, 270, endsAt(270), "ifndef_line", "ID_T1_of_ifndef_line"))
    cond = isDefined(s.matchText(0)) ? 0 : 1;
  guard.leave();
}

void Cpreprocess_fileParser::groups(CVL_ParseState& s, int si, int re, bool output, bool taken,
                                    int depth) {
  CVL_Guard guard = enter(s, si, re, prod::groups, " groups");
  if (taken) {
    // The first group is normally the line break that ends the directive.
    while (sets::groupStart().contains(peek(s, elem::OptRep0_of_If0_of_groups))) {
      group(s, 215, endsAt(215), output, depth);
      if (s.m_bBreak) break;
    }
    s.m_bBreak = false;
  } else if (peek(s, kSkippedBranchLookahead) == tok::Eol) {
    // The directive's line break is not written; the skip scanner reads on.
    match(s, tok::Eol, 216, endsAt(216), nullptr, nullptr);
    skip_group(s, 217, endsAt(217));
  } else {
    unexpectedError(s, "groups", "If0_of_groups");
  }
  if (!taken && m_pTrace) m_pTrace->branchSkipped(s);
  guard.leave();
}

void Cpreprocess_fileParser::if_end(CVL_ParseState& s, int si, int re, bool output, bool pending,
                                    int depth) {
  CVL_Guard guard = enter(s, si, re, prod::if_end, " if_end");
  const int t = peek(s, elem::Alt0_of_if_end);
  if (t == tok::PdEndif) {
    // The endif line's own line break is the next group of the enclosing text.
    match(s, tok::PdEndif, 175, endsAt(175), nullptr, nullptr);
  } else if (t == tok::PdElif) {
    elif_section(s, 218, endsAt(218), output, pending, depth);
  } else if (t == tok::PdElse) {
    else_section(s, 174, endsAt(174), output, pending, depth);
  } else {
    unexpectedError(s, "if_end", "Alt0_of_if_end");
  }
  guard.leave();
}

void Cpreprocess_fileParser::elif_section(CVL_ParseState& s, int si, int re, bool output,
                                          bool pending, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::elif_section, " elif_section");
  // The expression is evaluated even when an earlier branch was taken.
  int cond = 1;
  elif_begin_line(s, 251, endsAt(251), cond);
  if (m_pTrace) m_pTrace->conditional(s, cond, pending && cond != 0, !pending);
  groups(s, 252, endsAt(252), output, pending && cond != 0, depth);
  if_end(s, 253, endsAt(253), output, pending && cond == 0, depth);
  guard.leave();
}

void Cpreprocess_fileParser::elif_begin_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::elif_begin_line, " elif_begin_line");
  match(s, tok::PdElif, 246, endsAt(246), "elif_begin_line", "PD_ELIF_T0_of_elif_begin_line");
  const_expr(s, kElifConditionScanner, endsAt(kElifConditionScanner), cond);
  guard.leave();
}

void Cpreprocess_fileParser::else_section(CVL_ParseState& s, int si, int re, bool output,
                                          bool pending, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::else_section, " else_section");
  else_begin_line(s, 254, endsAt(254), output, pending);
  if (m_pTrace) m_pTrace->conditional(s, 1, pending, !pending);
  groups(s, 255, endsAt(255), output, pending, depth);
  match(s, tok::PdEndif, 256, endsAt(256), "else_section", "PD_ENDIF_T0_of_else_section");
  guard.leave();
}

void Cpreprocess_fileParser::else_begin_line(CVL_ParseState& s, int si, int re, bool output,
                                             bool pending) {
  CVL_Guard guard = enter(s, si, re, prod::else_begin_line, " else_begin_line");
  const DirectiveLine directiveLine(s);
  match(s, tok::PdElse, 62, endsAt(62), "else_begin_line", "PD_ELSE_T0_of_else_begin_line");
  // Text after #else is a text line, written only when the branch is taken.
  if (sets::textStart().contains(peek(s, elem::Opt0_of_else_begin_line)))
    pp_tokens(s, 63, endsAt(63), output && pending);
  guard.leave();
}

void Cpreprocess_fileParser::skip_group(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_group, " skip_group");
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_group))) {
    m_Cancel.poll();
    const int t = peek(s, elem::Alt0_of_OptRep0_of_skip_group);
    if (t == tok::Skip81) {
      matchSkip(s, tok::Skip81, "skip_group", "SKIP81");
    } else if (sectionStarts().contains(t)) {
      skip_if_section(s, 170, endsAt(170));
    } else {
      unexpectedError(s, "skip_group", "Alt0_of_OptRep0_of_skip_group");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::skip_if_section(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_if_section, " skip_if_section");
  skip_if_begin(s, 40, endsAt(40));
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_if_section))) {
    skip_group(s, 41, endsAt(41));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  skip_if_end(s, 42, endsAt(42));
  guard.leave();
}

void Cpreprocess_fileParser::skip_if_begin(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_if_begin, " skip_if_begin");
  // The rest of the directive line belongs to the next skipped stretch: a
  // skipped condition is neither parsed nor evaluated.
  const int t = peek(s, elem::Alt0_of_skip_if_begin);
  if (t == tok::PdIfdef) {
    match(s, tok::PdIfdef, 190, endsAt(190), nullptr, nullptr);
  } else if (t == tok::PdIfndef) {
    match(s, tok::PdIfndef, 160, endsAt(160), nullptr, nullptr);
  } else if (t == tok::PdIf) {
    match(s, tok::PdIf, 191, endsAt(191), nullptr, nullptr);
  } else {
    unexpectedError(s, "skip_if_begin", "Alt0_of_skip_if_begin");
  }
  guard.leave();
}

void Cpreprocess_fileParser::skip_if_end(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_if_end, " skip_if_end");
  const int t = peek(s, elem::Alt0_of_skip_if_end);
  if (t == tok::PdEndif) {
    match(s, tok::PdEndif, 163, endsAt(163), nullptr, nullptr);
    if (peek(s, elem::Opt0_of_Alt0_of_skip_if_end) == tok::Eol)
      match(s, tok::Eol, 164, endsAt(164), nullptr, nullptr);
  } else if (t == tok::PdElif) {
    skip_elif_section(s, 161, endsAt(161));
  } else if (t == tok::PdElse) {
    skip_else_section(s, 162, endsAt(162));
  } else {
    unexpectedError(s, "skip_if_end", "Alt0_of_skip_if_end");
  }
  guard.leave();
}

void Cpreprocess_fileParser::skip_elif_section(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_elif_section, " skip_elif_section");
  match(s, tok::PdElif, 168, endsAt(168), "skip_elif_section", "PD_ELIF_T0_of_skip_elif_section");
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_elif_section))) {
    skip_group(s, 279, endsAt(279));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  skip_if_end(s, 79, endsAt(79));
  guard.leave();
}

void Cpreprocess_fileParser::skip_else_section(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_else_section, " skip_else_section");
  match(s, tok::PdElse, 80, endsAt(80), "skip_else_section", "PD_ELSE_T0_of_skip_else_section");
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_else_section))) {
    skip_group(s, 81, endsAt(81));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  match(s, tok::PdEndif, 82, endsAt(82), "skip_else_section", "PD_ENDIF_T1_of_skip_else_section");
  match(s, tok::Eol, 83, endsAt(83), "skip_else_section", "EOL_T2_of_skip_else_section");
  guard.leave();
}

}  // namespace orvo
