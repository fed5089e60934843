// The error, warning, line, pragma and undef directives.
#include <cctype>
#include <string_view>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/DirectiveLine.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

// Shown for an error directive that has no text of its own.
constexpr const char* kBareErrorText = "#error";

// Where the first token after `from` begins on the same line, passing over
// blanks, comments and backslash-newlines; null where the line, or the
// text at `end`, ends first.
const char* NextTokenOnLine(const char* from, const char* end) {
  const char* p = from;
  while (p < end) {
    const std::string_view rest(p, static_cast<std::size_t>(end - p));
    if (*p == ' ' || *p == '\t' || *p == '\v' || *p == '\f') {
      ++p;
    } else if (*p == '\n' || *p == '\r' || rest.starts_with("//")) {
      return nullptr;
    } else if (rest.starts_with("\\\n") || rest.starts_with("\\\r\n")) {
      p += rest[1] == '\n' ? 2 : 3;
    } else if (rest.starts_with("/*")) {
      const std::size_t close = rest.find("*/", 2);
      if (close == std::string_view::npos) return nullptr;
      p += close + 2;
    } else {
      return p;
    }
  }
  return nullptr;
}

}  // namespace

void Cpreprocess_fileParser::error_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::error_line, " error_line");
  DirectiveLine directiveLine(s);
  match(s, tok::PdError, pos::error_line_after_PdError, endsAt(pos::error_line_after_PdError),
        "error_line", "PD_ERROR_T0_of_error_line");
  // The message is the operand exactly as written: unexpanded, with the
  // blanks in front of it. It points at the directive.
  const CVL_Match& directive = s.m_Position.m_Current;
  const int directiveBegin = s.offsetOf(directive.m_pTokenBegin);
  const int directiveEnd = s.offsetOf(directive.m_pTokenEnd);
  std::string text = kBareErrorText;
  if (sets::textStart().contains(peek(s, elem::Opt0_of_error_line))) {
    pp_tokens(s, pos::error_line_after_pp_tokens, endsAt(pos::error_line_after_pp_tokens), false);
    text = s.productionCopy();
  }
  directiveLine.end();
  match(s, tok::Eol, pos::error_line_after_Eol, endsAt(pos::error_line_after_Eol), "error_line",
        "EOL_T1_of_error_line");
  throw CVL_Message(text.c_str(), directiveBegin, directiveEnd, "error_line",
                    "PD_ERROR_T0_of_error_line", 0, 0);
}

void Cpreprocess_fileParser::warning_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::warning_line, " warning_line");
  match(s, tok::PdWarning, pos::warning_line_after_PdWarning,
        endsAt(pos::warning_line_after_PdWarning), "warning_line", "PD_WARNING_T0_of_warning_line");
  if (matchSkip(s, tok::Skip73, "warning_line", "SKIP73")) {
    const CVL_Match& rest = s.m_Position.m_Current;
    s.report(s.matchCopy().c_str(), s.offsetOf(rest.m_pTokenBegin), s.offsetOf(rest.m_pTokenEnd),
             "warning_line", ElementName(s.m_ElementIndex), message_kind::kWarning);
  }
  match(s, tok::Eol, pos::warning_line_after_Eol, endsAt(pos::warning_line_after_Eol),
        "warning_line", "EOL_T1_of_warning_line");
  guard.leave();
}

void Cpreprocess_fileParser::line_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::line_line, " line_line");
  DirectiveLine directiveLine(s);
  match(s, tok::PdLine, pos::line_line_after_PdLine, endsAt(pos::line_line_after_PdLine),
        "line_line", "PD_LINE_T0_of_line_line");
  if (sets::textStart().contains(peek(s, elem::Opt0_of_line_line)))
    pp_tokens(s, pos::line_line_after_pp_tokens, endsAt(pos::line_line_after_pp_tokens), false);
  directiveLine.end();
  match(s, tok::Eol, pos::line_line_after_Eol, endsAt(pos::line_line_after_Eol), "line_line",
        "EOL_T1_of_line_line");
  guard.leave();
}

void Cpreprocess_fileParser::pragma_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::pragma_line, " pragma_line");
  DirectiveLine directiveLine(s);
  match(s, tok::PdPragma, pos::pragma_line_after_PdPragma, endsAt(pos::pragma_line_after_PdPragma),
        "pragma_line", "PD_PRAGMA_T0_of_pragma_line");
  if (sets::textStart().contains(peek(s, elem::Opt0_of_pragma_line)))
    pp_tokens(s, pos::pragma_line_after_pp_tokens, endsAt(pos::pragma_line_after_pp_tokens), false);
  directiveLine.end();
  match(s, tok::Eol, pos::pragma_line_after_Eol, endsAt(pos::pragma_line_after_Eol), "pragma_line",
        "EOL_T1_of_pragma_line");
  guard.leave();
}

void Cpreprocess_fileParser::undef_line(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::undef_line, " undef_line");
  match(s, tok::PdUndef, pos::undef_line_after_PdUndef, endsAt(pos::undef_line_after_PdUndef),
        "undef_line", "PD_UNDEF_T0_of_undef_line");
  if (match(s, tok::Id, pos::undef_line_after_Id, endsAt(pos::undef_line_after_Id), "undef_line",
            "ID_T1_of_undef_line")) {
    const std::string name = s.matchText(0);
    // The directive reads any run of letters and digits; one that begins
    // with a digit names no macro, and nothing is undefined.
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name.front())) != 0) {
      const CVL_Match& current = s.m_Position.m_Current;
      s.report(("#undef of \"" + name + "\", which is not a macro name").c_str(),
               s.offsetOf(current.m_pTokenBegin), s.offsetOf(current.m_pTokenEnd), "undef_line",
               "ID_T1_of_undef_line",
               message_kind::kWarning);
    }
    // The directive ends after the name; whatever follows on the line
    // becomes a text line of its own, which is rarely what was meant.
    const char* const extra =
        NextTokenOnLine(s.m_Position.m_Current.m_pTokenEnd, s.m_Position.m_pEnd);
    if (extra != nullptr) {
      const CVL_Match& pending = s.m_Position.m_Lookahead;
      const char* const extraEnd =
          pending.m_pTokenBegin == extra && pending.m_pTokenEnd > extra ? pending.m_pTokenEnd
                                                                        : extra + 1;
      s.report("extra tokens at end of #undef directive", s.offsetOf(extra),
               s.offsetOf(extraEnd), "undef_line", "ID_T1_of_undef_line",
               message_kind::kWarning);
    }
    if (m_pTrace) m_pTrace->undefined(s, name);
    undefine(name);
  }
  guard.leave();
}

}  // namespace orvo
