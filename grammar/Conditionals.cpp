// Conditional sections: #if/#ifdef/#ifndef, #elif, #else and #endif. The
// groups of the branch that is taken are parsed and written; every other
// branch is jumped over by the skip scanner, which still reports nested
// conditional directives so that the matching #endif closes the section.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/DirectiveLine.h"
#include "grammar/ExpressionTokens.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/RuleEndFlags.h"
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
  if_begin(s, pos::if_section_after_if_begin, endsAt(pos::if_section_after_if_begin), cond);
  if (m_pTrace) m_pTrace->conditional(s, cond, cond != 0, false);
  groups(s, pos::if_section_after_groups, endsAt(pos::if_section_after_groups), output, cond != 0,
         depth);
  if_end(s, pos::if_section_after_if_end, endsAt(pos::if_section_after_if_end), output, cond == 0,
         depth);
  guard.leave();
}

void Cpreprocess_fileParser::if_begin(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::if_begin, " if_begin");
  const int t = peek(s, elem::Alt0_of_if_begin);
  if (t == tok::PdIfdef) {
    ifdef_line(s, pos::if_begin_after_ifdef_line, endsAt(pos::if_begin_after_ifdef_line), cond);
  } else if (t == tok::PdIfndef) {
    ifndef_line(s, pos::if_begin_after_ifndef_line, endsAt(pos::if_begin_after_ifndef_line), cond);
  } else if (t == tok::PdIf) {
    if_line(s, pos::if_begin_after_if_line, endsAt(pos::if_begin_after_if_line), cond);
  } else {
    unexpectedError(s, "if_begin", "Alt0_of_if_begin");
  }
  guard.leave();
}

void Cpreprocess_fileParser::if_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::if_line, " if_line");
  match(s, tok::PdIf, pos::if_line_after_PdIf, endsAt(pos::if_line_after_PdIf), "if_line",
        "PD_IF_T0_of_if_line");
  const_expr(s, pos::if_line_after_const_expr, endsAt(pos::if_line_after_const_expr), cond);
  guard.leave();
}

void Cpreprocess_fileParser::ifdef_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::ifdef_line, " ifdef_line");
  match(s, tok::PdIfdef, pos::ifdef_line_after_PdIfdef, endsAt(pos::ifdef_line_after_PdIfdef),
        "ifdef_line", "PD_IFDEF_T0_of_ifdef_line");
  if (match(s, tok::Id, pos::ifdef_line_after_Id, endsAt(pos::ifdef_line_after_Id), "ifdef_line",
            "ID_T1_of_ifdef_line"))
    cond = isDefined(s.matchText(0)) ? 1 : 0;
  guard.leave();
}

void Cpreprocess_fileParser::ifndef_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::ifndef_line, " ifndef_line");
  match(s, tok::PdIfndef, pos::ifndef_line_after_PdIfndef, endsAt(pos::ifndef_line_after_PdIfndef),
        "ifndef_line", "PD_IFNDEF_T0_of_ifndef_line");
  if (match(s, tok::Id, pos::ifndef_line_after_Id, endsAt(pos::ifndef_line_after_Id), "ifndef_line",
            "ID_T1_of_ifndef_line"))
    cond = isDefined(s.matchText(0)) ? 0 : 1;
  guard.leave();
}

void Cpreprocess_fileParser::groups(CVL_ParseState& s, int si, int re, bool output, bool taken,
                                    int depth) {
  CVL_Guard guard = enter(s, si, re, prod::groups, " groups");
  if (taken) {
    // The first group is normally the line break that ends the directive.
    while (sets::groupStart().contains(peek(s, elem::OptRep0_of_If0_of_groups))) {
      group(s, pos::groups_after_group, endsAt(pos::groups_after_group), output, depth);
      if (s.m_bBreak) break;
    }
    s.m_bBreak = false;
  } else if (peek(s, kSkippedBranchLookahead) == tok::Eol) {
    // The directive's line break is not written; the skip scanner reads on.
    match(s, tok::Eol, pos::groups_after_Eol, endsAt(pos::groups_after_Eol), nullptr, nullptr);
    skip_group(s, pos::groups_after_skip_group, endsAt(pos::groups_after_skip_group));
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
    match(s, tok::PdEndif, pos::if_end_after_PdEndif, endsAt(pos::if_end_after_PdEndif), nullptr,
          nullptr);
  } else if (t == tok::PdElif) {
    elif_section(s, pos::if_end_after_elif_section, endsAt(pos::if_end_after_elif_section), output,
                 pending, depth);
  } else if (t == tok::PdElse) {
    else_section(s, pos::if_end_after_else_section, endsAt(pos::if_end_after_else_section), output,
                 pending, depth);
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
  elif_begin_line(s, pos::elif_section_after_elif_begin_line,
                  endsAt(pos::elif_section_after_elif_begin_line), cond);
  if (m_pTrace) m_pTrace->conditional(s, cond, pending && cond != 0, !pending);
  groups(s, pos::elif_section_after_groups, endsAt(pos::elif_section_after_groups), output,
         pending && cond != 0, depth);
  if_end(s, pos::elif_section_after_if_end, endsAt(pos::elif_section_after_if_end), output,
         pending && cond == 0, depth);
  guard.leave();
}

void Cpreprocess_fileParser::elif_begin_line(CVL_ParseState& s, int si, int re, int& cond) {
  CVL_Guard guard = enter(s, si, re, prod::elif_begin_line, " elif_begin_line");
  match(s, tok::PdElif, pos::elif_begin_line_after_PdElif,
        endsAt(pos::elif_begin_line_after_PdElif), "elif_begin_line",
        "PD_ELIF_T0_of_elif_begin_line");
  const_expr(s, pos::elif_begin_line_after_const_expr,
             endsAt(pos::elif_begin_line_after_const_expr), cond);
  guard.leave();
}

void Cpreprocess_fileParser::else_section(CVL_ParseState& s, int si, int re, bool output,
                                          bool pending, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::else_section, " else_section");
  else_begin_line(s, pos::else_section_after_else_begin_line,
                  endsAt(pos::else_section_after_else_begin_line), output, pending);
  if (m_pTrace) m_pTrace->conditional(s, 1, pending, !pending);
  groups(s, pos::else_section_after_groups, endsAt(pos::else_section_after_groups), output, pending,
         depth);
  match(s, tok::PdEndif, pos::else_section_after_PdEndif, endsAt(pos::else_section_after_PdEndif),
        "else_section", "PD_ENDIF_T0_of_else_section");
  guard.leave();
}

void Cpreprocess_fileParser::else_begin_line(CVL_ParseState& s, int si, int re, bool output,
                                             bool pending) {
  CVL_Guard guard = enter(s, si, re, prod::else_begin_line, " else_begin_line");
  const DirectiveLine directiveLine(s);
  match(s, tok::PdElse, pos::else_begin_line_after_PdElse,
        endsAt(pos::else_begin_line_after_PdElse), "else_begin_line",
        "PD_ELSE_T0_of_else_begin_line");
  // Text after #else is a text line, written only when the branch is taken.
  if (sets::textStart().contains(peek(s, elem::Opt0_of_else_begin_line)))
    pp_tokens(s, pos::else_begin_line_after_pp_tokens, endsAt(pos::else_begin_line_after_pp_tokens),
              output && pending);
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
      skip_if_section(s, pos::skip_group_after_skip_if_section,
                      endsAt(pos::skip_group_after_skip_if_section));
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
  skip_if_begin(s, pos::skip_if_section_after_skip_if_begin,
                endsAt(pos::skip_if_section_after_skip_if_begin));
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_if_section))) {
    skip_group(s, pos::skip_if_section_after_skip_group,
               endsAt(pos::skip_if_section_after_skip_group));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  skip_if_end(s, pos::skip_if_section_after_skip_if_end,
              endsAt(pos::skip_if_section_after_skip_if_end));
  guard.leave();
}

void Cpreprocess_fileParser::skip_if_begin(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_if_begin, " skip_if_begin");
  // The rest of the directive line belongs to the next skipped stretch: a
  // skipped condition is neither parsed nor evaluated.
  const int t = peek(s, elem::Alt0_of_skip_if_begin);
  if (t == tok::PdIfdef) {
    match(s, tok::PdIfdef, pos::skip_if_begin_after_PdIfdef,
          endsAt(pos::skip_if_begin_after_PdIfdef), nullptr, nullptr);
  } else if (t == tok::PdIfndef) {
    match(s, tok::PdIfndef, pos::skip_if_begin_after_PdIfndef,
          endsAt(pos::skip_if_begin_after_PdIfndef), nullptr, nullptr);
  } else if (t == tok::PdIf) {
    match(s, tok::PdIf, pos::skip_if_begin_after_PdIf, endsAt(pos::skip_if_begin_after_PdIf),
          nullptr, nullptr);
  } else {
    unexpectedError(s, "skip_if_begin", "Alt0_of_skip_if_begin");
  }
  guard.leave();
}

void Cpreprocess_fileParser::skip_if_end(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_if_end, " skip_if_end");
  const int t = peek(s, elem::Alt0_of_skip_if_end);
  if (t == tok::PdEndif) {
    match(s, tok::PdEndif, pos::skip_if_end_after_PdEndif, endsAt(pos::skip_if_end_after_PdEndif),
          nullptr, nullptr);
    if (peek(s, elem::Opt0_of_Alt0_of_skip_if_end) == tok::Eol)
      match(s, tok::Eol, pos::skip_if_end_after_Eol, endsAt(pos::skip_if_end_after_Eol), nullptr,
            nullptr);
  } else if (t == tok::PdElif) {
    skip_elif_section(s, pos::skip_if_end_after_skip_elif_section,
                      endsAt(pos::skip_if_end_after_skip_elif_section));
  } else if (t == tok::PdElse) {
    skip_else_section(s, pos::skip_if_end_after_skip_else_section,
                      endsAt(pos::skip_if_end_after_skip_else_section));
  } else {
    unexpectedError(s, "skip_if_end", "Alt0_of_skip_if_end");
  }
  guard.leave();
}

void Cpreprocess_fileParser::skip_elif_section(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_elif_section, " skip_elif_section");
  match(s, tok::PdElif, pos::skip_elif_section_after_PdElif,
        endsAt(pos::skip_elif_section_after_PdElif), "skip_elif_section",
        "PD_ELIF_T0_of_skip_elif_section");
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_elif_section))) {
    skip_group(s, pos::skip_elif_section_after_skip_group,
               endsAt(pos::skip_elif_section_after_skip_group));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  skip_if_end(s, pos::skip_elif_section_after_skip_if_end,
              endsAt(pos::skip_elif_section_after_skip_if_end));
  guard.leave();
}

void Cpreprocess_fileParser::skip_else_section(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::skip_else_section, " skip_else_section");
  match(s, tok::PdElse, pos::skip_else_section_after_PdElse,
        endsAt(pos::skip_else_section_after_PdElse), "skip_else_section",
        "PD_ELSE_T0_of_skip_else_section");
  while (sets::skippedGroup().contains(peek(s, elem::OptRep0_of_skip_else_section))) {
    skip_group(s, pos::skip_else_section_after_skip_group,
               endsAt(pos::skip_else_section_after_skip_group));
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  match(s, tok::PdEndif, pos::skip_else_section_after_PdEndif,
        endsAt(pos::skip_else_section_after_PdEndif), "skip_else_section",
        "PD_ENDIF_T1_of_skip_else_section");
  match(s, tok::Eol, pos::skip_else_section_after_Eol, endsAt(pos::skip_else_section_after_Eol),
        "skip_else_section", "EOL_T2_of_skip_else_section");
  guard.leave();
}

}  // namespace orvo
