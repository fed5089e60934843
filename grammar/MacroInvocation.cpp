// Macro calls: a name followed by "(" either calls a function-like macro,
// whose arguments are collected, counted and substituted, or stays a name
// followed by "(".
#include <boost/lexical_cast.hpp>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/Shortcuts.h"
#include "grammar/TokenSets.h"
#include "macros/ExpansionLimits.h"
#include "macros/ExpansionWalk.h"
#include "macros/MacroRecord.h"
#include "macros/StrayBackslash.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

// The comment that follows an expansion whose call passed a number of
// arguments other than the macro takes; empty when the numbers agree. A
// macro without parameters also accepts one (empty or not) argument.
std::string ArgumentCountMessage(const std::string& name, int declared, int commas) {
  const int given = commas + 1;
  if (given == declared || (declared == 0 && commas == 0)) return std::string();
  const std::string head = " // macro \"" + name + "\" ";
  if (declared < given) {
    return head + "passed " + std::to_string(given) + " arguments, but takes just " +
           std::to_string(declared);
  }
  return head + "requires " + std::to_string(declared) + " arguments, but only " +
         std::to_string(given) + " given";
}

// The comment's leading " // ", which the warning leaves out.
constexpr std::string_view kCommentLead = " // ";

}  // namespace

void Cpreprocess_fileParser::warnArgumentCount(CVL_ParseState& s, const std::string& name,
                                               const std::string& comment,
                                               const char* callBegin) {
  const std::size_t lead = comment.rfind(kCommentLead, 0) == 0 ? kCommentLead.size() : 0;
  const std::string text = comment.substr(lead);
  addMessage(s, text.c_str(), s.offsetOf(callBegin),
             s.offsetOf(s.m_Position.m_Current.m_pTokenEnd), ProductionName(prod::macro_call),
             ElementName(elem::Sem5_of_macro_call), message_kind::kWarning);
  noteDefinition(m_FunctionDefinitionMarks, name, ("macro \"" + name + "\" defined here").c_str());
}

// The buffers of one call, at the level of calls in progress it is; the
// level is left when the call is done or ends by an exception.
class Cpreprocess_fileParser::CallBuffersInUse {
 public:
  explicit CallBuffersInUse(Cpreprocess_fileParser& parser) : m_Parser(parser) {
    const auto level = static_cast<std::size_t>(parser.m_CallsInProgress++);
    if (level == parser.m_CallBuffers.size())
      parser.m_CallBuffers.push_back(std::make_unique<CallBuffers>());
    m_Buffers = parser.m_CallBuffers[level].get();
  }
  ~CallBuffersInUse() { --m_Parser.m_CallsInProgress; }
  CallBuffersInUse(const CallBuffersInUse&) = delete;
  CallBuffersInUse& operator=(const CallBuffersInUse&) = delete;

  CallBuffers& operator*() const { return *m_Buffers; }

 private:
  Cpreprocess_fileParser& m_Parser;
  CallBuffers* m_Buffers = nullptr;
};

void Cpreprocess_fileParser::macro_call_begin(CVL_ParseState& s, int si, int re,
                                              std::string& callBuffer, RecordedMacros& recorded) {
  CVL_Guard guard = enter(s, si, re, prod::macro_call_begin, " macro_call_begin");
  match(s, tok::MacroCallBegin, pos::macro_call_begin_after_MacroCallBegin,
        endsAt(pos::macro_call_begin_after_MacroCallBegin), "macro_call_begin",
        "MACRO_CALL_BEGIN_T0_of_macro_call_begin");
  const std::string name = s.matchText(1);
  const CVL_MacroUseFrame use(m_pSourceTrail, s);
  if (m_FunctionMacros.findKey(name)) {
    // A call met while its macro is being expanded is copied through as it
    // stands. Rescanning the copy here would meet the same busy macro again
    // and copy it again without end, and a blank after it would keep a
    // rescan from settling; the expansion that owns the macro rescans its
    // result once more when the macro is idle again, and expands it there.
    const bool copiedThrough = macro_record::IsBusy(m_FunctionMacros.value());
    const ExpansionScope scope(m_Expansion, name);
    std::string rest;
    macro_call(s, pos::macro_call_begin_after_macro_call,
               endsAt(pos::macro_call_begin_after_macro_call), callBuffer, rest);
    if (!copiedThrough) {
      callBuffer = rescanOnce(s, callBuffer, recorded);
      callBuffer += ' ';
      callBuffer += rest;
      if (m_pTrace) m_pTrace->expansionFinished(callBuffer);
    } else if (m_pTrace) {
      m_pTrace->callCopiedThrough(name);
    }
  } else {
    // No call: the name (or its object-like expansion) and "(" with nothing
    // in between; the caller parses what follows as ordinary tokens.
    callBuffer += s.matchView(-1);
    expandIdentifier(s, name, callBuffer);
    callBuffer += '(';
  }
  guard.leave();
}

void Cpreprocess_fileParser::macro_call(CVL_ParseState& s, int si, int re,
                                        std::string& callBuffer, std::string& rest) {
  // The call's opening token is read before entering: entering may pass over
  // a comment, which moves the current token.
  const std::string name = s.matchText(1);
  const std::string opening = s.matchText(0);
  const char* const callBegin = s.m_Position.m_Current.m_pTokenBegin;
  callBuffer = s.matchText(-1);
  CVL_Guard guard = enter(s, si, re, prod::macro_call, " macro_call");
  m_FunctionMacros.findKey(name);  // macro_call_begin found it
  node record = m_FunctionMacros.value();
  const bool busy = macro_record::IsBusy(record);
  macro_record::MarkBusy(record);
  if (!busy) ++m_BusyFunctionMacros;
  if (busy) callBuffer += opening;

  const CallBuffersInUse buffers(*this);
  std::vector<std::string>& arguments = (*buffers).arguments;
  arguments.clear();
  int commas = 0;
  if (!copyPlainArgumentList(s, busy, callBuffer, arguments, commas))
    collectArguments(s, busy, callBuffer, arguments, commas);
  if (busy) {
    // Copied through unexpanded; the running expansion keeps the flag set.
    guard.leave();
    return;
  }

  const std::string declared = record.attribute(macro_record::kArgumentCount);
  rest = ArgumentCountMessage(name, boost::lexical_cast<int>(declared), commas);
  if (!rest.empty()) warnArgumentCount(s, name, rest, callBegin);
  if (m_pTrace) m_pTrace->callCollected(s, name, callBegin, arguments, rest);
  std::vector<std::string>& parts = (*buffers).parts;
  std::vector<int>& sources = (*buffers).sources;
  // Runs of inert elements come as one part, rescanned already.
  std::vector<std::size_t>* const inertBytes =
      MayTake(Shortcut::InertParts, s, m_pTrace) ? &(*buffers).inertBytes : nullptr;
  ExpansionParts(replacementOf(name, record), arguments, parts, &sources, inertBytes);
  if (m_pTrace) m_pTrace->expansionBuilt(parts);
  appendRescannedParts(s, parts, sources, inertBytes, arguments.size(), callBuffer);
  macro_record::MarkIdle(record);
  --m_BusyFunctionMacros;
  guard.leave();
}

void Cpreprocess_fileParser::collectArguments(CVL_ParseState& s, bool busy,
                                              std::string& callBuffer,
                                              std::vector<std::string>& arguments, int& commas) {
  std::string argument;
  macro_tokens(s, pos::macro_call_after_macro_tokens, endsAt(pos::macro_call_after_macro_tokens),
               argument);
  if (busy) {
    callBuffer += argument;
  } else {
    arguments.push_back(argument);
  }
  while (peek(s, elem::OptRep0_of_macro_call) == tok::Comma) {
    match(s, tok::Comma, pos::macro_call_after_Comma, endsAt(pos::macro_call_after_Comma), nullptr,
          nullptr);
    ++commas;
    if (busy) callBuffer += s.matchCopy();
    argument.clear();
    macro_tokens(s, pos::macro_call_after_Comma_macro_tokens,
                 endsAt(pos::macro_call_after_Comma_macro_tokens), argument);
    if (busy) {
      callBuffer += argument;
    } else {
      arguments.push_back(argument);
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  const bool closed =
      match(s, tok::Rparen, pos::macro_call_after_Rparen, endsAt(pos::macro_call_after_Rparen),
            "macro_call", "Rparen_T1_of_macro_call");
  if (busy && closed) callBuffer += s.matchCopy();
}

void Cpreprocess_fileParser::macro_tokens(CVL_ParseState& s, int si, int re,
                                          std::string& argument) {
  CVL_Guard guard = enter(s, si, re, prod::macro_tokens, " macro_tokens");
  std::string inner;
  // Where the plain token reader last stopped.
  const char* plainStop = nullptr;
  while (sets::argumentTokens().contains(peek(s, elem::OptRep0_of_macro_tokens))) {
    const int t = peek(s, elem::Alt0_of_OptRep0_of_macro_tokens);
    if (sets::macroToken().contains(t) && copyPlainArgumentTokens(s, argument, plainStop)) continue;
    if (t == tok::Eol) {
      match(s, tok::Eol, pos::macro_tokens_after_Eol, endsAt(pos::macro_tokens_after_Eol), nullptr,
            nullptr);
      argument += s.matchCopyView();
    } else if (t == tok::Bseol) {
      match(s, tok::Bseol, pos::macro_tokens_after_Bseol, endsAt(pos::macro_tokens_after_Bseol),
            nullptr, nullptr);
      if (IsStrayBackslash(s)) argument += argument.empty() ? s.matchView(0) : s.matchCopyView();
    } else if (sets::macroToken().contains(t)) {
      macro_token(s, pos::macro_tokens_after_macro_token,
                  endsAt(pos::macro_tokens_after_macro_token));
      // The first token of an argument loses its prefix.
      argument += argument.empty() ? s.matchView(0) : s.matchCopyView();
    } else if (t == tok::Lparen) {
      // A parenthesised group keeps its prefix, and the commas inside it
      // belong to this argument. The "(" cannot end the argument, so the
      // token after it is read without the argument list's scanner, which
      // would take a comma there for a separator.
      match(s, tok::Lparen, pos::macro_tokens_after_Lparen, endsAt(pos::macro_tokens_after_Lparen),
            nullptr, nullptr);
      argument += s.matchCopyView();
      macro_parenthesis(s, pos::macro_tokens_after_Lparen_macro_parenthesis,
                        endsAt(pos::macro_tokens_after_Lparen_macro_parenthesis), inner);
      argument += inner;
    } else if (t == tok::MacroCallBegin) {
      // A nested call stays raw: prefix, name, blanks and "(" as written.
      match(s, tok::MacroCallBegin, pos::macro_tokens_after_MacroCallBegin,
            endsAt(pos::macro_tokens_after_MacroCallBegin), nullptr, nullptr);
      argument += s.matchCopyView();
      macro_parenthesis(s, pos::macro_tokens_after_MacroCallBegin_macro_parenthesis,
                        endsAt(pos::macro_tokens_after_MacroCallBegin_macro_parenthesis), inner);
      argument += inner;
    } else if (t == tok::Hash) {
      match(s, tok::Hash, pos::macro_tokens_after_Hash, endsAt(pos::macro_tokens_after_Hash),
            nullptr, nullptr);
      argument += "#";
    } else if (t == tok::HashHash) {
      match(s, tok::HashHash, pos::macro_tokens_after_HashHash,
            endsAt(pos::macro_tokens_after_HashHash), nullptr, nullptr);
      argument += "##";
    } else {
      unexpectedError(s, "macro_tokens", "Alt0_of_OptRep0_of_macro_tokens");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::macro_parenthesis(CVL_ParseState& s, int si, int re,
                                               std::string& text) {
  CVL_Guard guard = enter(s, si, re, prod::macro_parenthesis, " macro_parenthesis");
  text.clear();
  macro_tokens(s, pos::macro_parenthesis_after_macro_tokens,
               endsAt(pos::macro_parenthesis_after_macro_tokens), text);
  if (match(s, tok::Rparen, pos::macro_parenthesis_after_Rparen,
            endsAt(pos::macro_parenthesis_after_Rparen), "macro_parenthesis",
            "Rparen_T0_of_macro_parenthesis"))
    text += s.matchCopyView();
  guard.leave();
}

}  // namespace orvo
