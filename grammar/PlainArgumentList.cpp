// The argument list of a macro call, collected in one piece where the plain
// token reader reads every token of it. Most calls are written on one line
// with names, numbers, operators and parentheses as arguments; collecting
// them token by token through the productions costs far more than the
// expansion that follows.
#include <vector>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/Shortcuts.h"
#include "scan/PlainTokenReader.h"

namespace orvo {
namespace {

// Each parenthesised group in an argument is two productions deeper; a
// list whose groups would reach the nesting limit is left to them, so that
// it fails as it would.
constexpr int kProductionsPerGroup = 2;
constexpr int kProductionsAroundArguments = 8;

bool IsSingle(const PlainToken& token, char c) {
  return token.kind == PlainToken::Kind::Other && token.end - token.begin == 1 && *token.begin == c;
}

}  // namespace

bool Cpreprocess_fileParser::copyPlainArgumentList(CVL_ParseState& s, bool busy,
                                                   std::string& callBuffer,
                                                   std::vector<std::string>& arguments,
                                                   int& commas) {
  PlainToken token;
  if (!MayTake(Shortcut::PlainArguments, s, m_pTrace) || !mayReadPlainTokens(s) ||
      !readPendingPlainToken(s, token))
    return false;
  const int maxDepth =
      (kMaxNestingDepth - m_NestingDepth - kProductionsAroundArguments) / kProductionsPerGroup;
  const char* const end = s.m_Position.m_pEnd;

  // A macro being expanded has its list copied through as written, but for
  // the blanks the arguments drop; any other collects its arguments.
  std::string written;
  const auto fail = [&arguments] {
    arguments.clear();
    return false;
  };
  arguments.clear();
  if (!busy) arguments.emplace_back();
  int separators = 0;
  // The first token of an argument, and the first one inside a group, goes
  // without the blanks in front of it; a "(" keeps them, and so does ")".
  bool first = true;
  int depth = 0;
  for (;; token = ReadPlainToken(token.end, end)) {
    if (token.kind == PlainToken::Kind::Stop) return fail();
    const std::string_view copy(token.prefixBegin,
                                static_cast<std::size_t>(token.end - token.prefixBegin));
    std::string& argument = busy ? written : arguments.back();
    if (IsSingle(token, ')')) {
      if (depth == 0) break;
      argument += copy;
      --depth;
      first = false;
    } else if (IsSingle(token, '(')) {
      if (++depth > maxDepth) return fail();
      argument += copy;
      first = true;
    } else if (depth == 0 && IsSingle(token, ',')) {
      ++separators;
      if (busy) {
        written += copy;
      } else {
        arguments.emplace_back();
      }
      first = true;
    } else {
      if (first) {
        argument.append(token.begin, token.end);
      } else {
        argument += copy;
      }
      first = false;
    }
  }

  commas = separators;
  if (busy) {
    callBuffer += written;
    callBuffer.append(token.prefixBegin, token.end);
  }
  // As the match of the closing ")" would, after looking for another comma.
  s.m_ElementIndex = elem::OptRep0_of_macro_call;
  s.consumeThrough(token.prefixBegin, token.begin, token.end, tok::Rparen);
  lookahead(s, 0, pos::macro_call_after_Rparen, endsAt(pos::macro_call_after_Rparen), nullptr,
            nullptr);
  return true;
}

}  // namespace orvo
