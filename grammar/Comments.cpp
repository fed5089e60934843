// Line and block comments. They may stand between any two tokens, so the
// look-ahead parses them when the scanner meets one (see inclusionHook);
// each leaves one blank in the output.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

const CVL_TokenSet& commentStart() {
  using sets::operator|;
  static const CVL_TokenSet set = sets::one(tok::LineComment) | sets::one(tok::SlashStar);
  return set;
}

// Counts a block comment as open for its parse.
class OpenComment {
 public:
  explicit OpenComment(int& open) : m_Open(open) { ++m_Open; }
  ~OpenComment() { --m_Open; }
  OpenComment(const OpenComment&) = delete;
  OpenComment& operator=(const OpenComment&) = delete;

 private:
  int& m_Open;
};

}  // namespace

void Cpreprocess_fileParser::comment(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::comment, " comment");
  if (!commentStart().contains(peek(s, elem::Rep0_of_comment)))
    unexpectedError(s, "comment", "Rep0_of_comment");
  do {
    const int t = peek(s, elem::Alt0_of_Rep0_of_comment);
    // A line comment that opens a block comment's body takes its "*/" too.
    if (t == tok::LineComment && m_OpenBlockComments > 0)
      warnInsideComment(s, "\"//\" within comment");
    if (t == tok::LineComment) {
      match(s, tok::LineComment, pos::comment_after_LineComment,
            endsAt(pos::comment_after_LineComment), nullptr, nullptr);
    } else if (t == tok::SlashStar) {
      block_comment(s, pos::comment_after_block_comment, endsAt(pos::comment_after_block_comment));
    } else {
      unexpectedError(s, "comment", "Alt0_of_Rep0_of_comment");
    }
    // Written at once, whatever the enclosing group writes and when.
    write(s, " ");
    ++m_CommentBlanksWritten;
    if (s.m_bBreak) break;
  } while (commentStart().contains(peek(s, elem::Rep0_of_comment)));
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::block_comment(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::block_comment, " block_comment");
  // Unlike in C, this comment nests in the one around it, which then ends
  // only at a second "*/".
  if (m_OpenBlockComments > 0) warnInsideComment(s, "\"/*\" within comment");
  const OpenComment open(m_OpenBlockComments);
  match(s, tok::SlashStar, pos::block_comment_after_SlashStar,
        endsAt(pos::block_comment_after_SlashStar), "block_comment",
        "SlashStar_T0_of_block_comment");
  while (peek(s, elem::OptRep0_of_block_comment) == tok::Skip87) {
    if (!matchSkip(s, tok::Skip87, "block_comment", "SKIP87")) break;
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  match(s, tok::StarSlash, pos::block_comment_after_StarSlash,
        endsAt(pos::block_comment_after_StarSlash), "block_comment",
        "StarSlash_T1_of_block_comment");
  guard.leave();
}

void Cpreprocess_fileParser::warnInsideComment(CVL_ParseState& s, const char* text) {
  const CVL_Match& opener = s.m_Position.m_Lookahead;
  addMessage(s, text, s.offsetOf(opener.m_pTokenBegin), s.offsetOf(opener.m_pTokenEnd), "comment",
             "Alt0_of_Rep0_of_comment", message_kind::kWarning);
}

}  // namespace orvo
