// Rescanning: replacement text is parsed again, in nested parses of the same
// grammar, so that the macros inside it expand too.
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/Shortcuts.h"
#include "grammar/TokenSets.h"
#include "macros/ExpansionLimits.h"
#include "macros/MacroRecord.h"
#include "macros/PassWithoutParse.h"
#include "macros/StrayBackslash.h"
#include "macros/UnexpandedNames.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

// The rescans kept to be used again: of texts up to this long, giving
// results up to this long, and at most this many at a time, so that the
// two tables hold a few megabytes at most.
constexpr std::size_t kLongestSettledText = 256;
constexpr std::size_t kLongestSettledResult = 1024;
constexpr std::size_t kMostSettledTexts = 1024;

// Whether an argument stands more than once in `sources`, whose entries
// are argument indexes below `argumentCount`, or negative for parts that
// are no argument. Most calls pass a few arguments: their marks fit in one
// word.
bool AnArgumentRepeats(const std::vector<int>& sources, std::size_t argumentCount) {
  constexpr std::size_t kWordBits = 64;
  std::uint64_t marks = 0;
  std::vector<bool> manyMarks(argumentCount > kWordBits ? argumentCount : 0);
  for (const int source : sources) {
    if (source < 0) continue;
    const auto argument = static_cast<std::size_t>(source);
    if (argumentCount <= kWordBits) {
      const std::uint64_t mark = std::uint64_t{1} << argument;
      if ((marks & mark) != 0) return true;
      marks |= mark;
    } else {
      if (manyMarks[argument]) return true;
      manyMarks[argument] = true;
    }
  }
  return false;
}

// A token as a message quotes it: cut short where it is long.
std::string Quoted(std::string_view token) {
  constexpr std::size_t kLongestQuoted = 32;
  std::string quoted = "'";
  quoted += token.substr(0, kLongestQuoted);
  if (token.size() > kLongestQuoted) quoted += "...";
  quoted += '\'';
  return quoted;
}

// The text of a token a message may quote on one line: empty for none, and
// for one that holds a line break or another control byte.
std::string_view QuotableToken(const CVL_Match& match) {
  if (match.m_pTokenBegin == nullptr || match.m_pTokenEnd <= match.m_pTokenBegin) return {};
  const std::string_view token(match.m_pTokenBegin,
                               static_cast<std::size_t>(match.m_pTokenEnd - match.m_pTokenBegin));
  for (const char c : token)
    if (std::iscntrl(static_cast<unsigned char>(c)) != 0) return {};
  return token;
}

}  // namespace

std::string Cpreprocess_fileParser::rescan(CVL_ParseState& parent, const std::string& text) {
  if (text.empty()) return text;
  // Most parts of an expansion settle in the first pass without a parse:
  // the pass gives them back as they are, or drops their trailing blanks,
  // and a second pass, which only the trailing blanks call for, gives the
  // same text again at the same cost.
  if (!MayTake(Shortcut::SettledWithoutParse, parent, m_pTrace))
    return rescanPasses(parent, text, false);
  std::string current;
  if (passWithoutParse(text, current)) {
    if (current.size() != text.size()) {
      std::string again;
      passWithoutParse(current, again);
    }
    return current;
  }
  // A text that settles without a nested parse settles the same way again
  // while the definitions stay and no object-like macro is busy: the
  // result is used again and its cost counted again.
  const bool reusable = MayTake(Shortcut::KeptRescans, parent, m_pTrace) &&
                        m_BusyObjectMacros == 0 && text.size() <= kLongestSettledText;
  if (reusable) {
    const auto found = m_SettledRescans.find(text);
    if (found != m_SettledRescans.end() &&
        m_Expansion.chargeAgain(found->second.parses, found->second.bytes))
      return found->second.text;
  }
  const int parsesBefore = m_Expansion.parses;
  const std::size_t bytesBefore = m_Expansion.producedBytes;
  const int nestedBefore = m_NestedParses;
  current = rescanPasses(parent, text, true);
  if (reusable && m_NestedParses == nestedBefore && current.size() <= kLongestSettledResult) {
    if (m_SettledRescans.size() >= kMostSettledTexts) m_SettledRescans.clear();
    m_SettledRescans[text] = {current, m_Expansion.parses - parsesBefore,
                              m_Expansion.producedBytes - bytesBefore, 0, m_Expansion.depth};
  }
  return current;
}

std::string Cpreprocess_fileParser::rescanPasses(CVL_ParseState& parent, const std::string& text,
                                                 bool firstPassParses) {
  // Object-like macros expanded by a pass stay busy for the later passes, so
  // each expands at most once in this rescan. Most rescans settle without a
  // nested parse; the list is made only for one that needs it.
  std::optional<RecordedMacros> recorded;
  std::string previous;
  std::string current = text;
  int passes = 0;
  const int maxPasses =
      kMaxRescanPassesBeyondObjectMacros + static_cast<int>(m_ObjectMacros.size());
  while (previous != current) {
    if (++passes > maxPasses) RescanDidNotSettle(maxPasses);
    previous = std::move(current);
    const RescanPassTrace traced(m_pTrace, passes, previous, current);
    if ((passes > 1 || !firstPassParses) && passWithoutParse(previous, current)) continue;
    if (!recorded) recorded.emplace();
    if (passBySubstitution(previous, current, *recorded)) continue;
    // A text that spans lines (an argument written over several lines) is
    // parsed line by line, so that nothing after a line break is lost.
    const bool wholeLines = previous.find('\n') != std::string::npos;
    current = parsePass(parent, previous, *recorded, wholeLines);
  }
  if (recorded) resetRecorded(*recorded);
  return current;
}

void Cpreprocess_fileParser::appendRescannedParts(CVL_ParseState& parent,
                                                  const std::vector<std::string>& parts,
                                                  const std::vector<int>& sources,
                                                  const std::vector<std::size_t>* inertBytes,
                                                  std::size_t argumentCount, std::string& out) {
  // An argument the replacement list uses more than once settles the same
  // way each time: nothing a rescan makes busy outlives it, and definitions
  // do not change within a call. Where it settled without a nested parse,
  // which could record messages, its result is used again and its cost
  // counted again.
  struct Settled {
    bool known = false;
    std::string text;
    int parses = 0;
    std::size_t bytes = 0;
  };
  std::vector<Settled> settled(MayTake(Shortcut::RepeatedArguments, parent, m_pTrace) &&
                                       AnArgumentRepeats(sources, argumentCount)
                                   ? argumentCount
                                   : 0);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const int argument = sources[i];
    if (argument == kInertPart && inertBytes != nullptr) {
      if (parts[i].empty()) continue;
      m_Expansion.chargeBytes((*inertBytes)[i]);
      AppendExpansionPart(out, parts[i]);
      continue;
    }
    if (argument == kInertPart && MayTake(Shortcut::InertParts, parent, m_pTrace)) {
      // What rescan gives such a part, at the same cost: the first pass
      // drops the trailing blanks, a second one, only for them, gives the
      // same text again.
      const std::string_view part = parts[i];
      const std::string_view kept = part.substr(0, pass_bytes::LengthBeforeTrailingBlanks(part));
      if (kept.empty()) continue;
      m_Expansion.chargeOutput(kept);
      if (kept.size() != part.size()) m_Expansion.chargeOutput(kept);
      AppendExpansionPart(out, kept);
      continue;
    }
    if (argument < 0 || settled.empty()) {
      AppendExpansionPart(out, rescan(parent, parts[i]));
      continue;
    }
    Settled& known = settled[static_cast<std::size_t>(argument)];
    if (known.known && m_Expansion.chargeAgain(known.parses, known.bytes)) {
      AppendExpansionPart(out, known.text);
      continue;
    }
    const int parsesBefore = m_Expansion.parses;
    const std::size_t bytesBefore = m_Expansion.producedBytes;
    const int nestedBefore = m_NestedParses;
    std::string text = rescan(parent, parts[i]);
    AppendExpansionPart(out, text);
    if (!known.known && m_NestedParses == nestedBefore) {
      known = {true, std::move(text), m_Expansion.parses - parsesBefore,
               m_Expansion.producedBytes - bytesBefore};
    }
  }
}

std::string Cpreprocess_fileParser::rescanOnce(CVL_ParseState& parent, const std::string& text,
                                               RecordedMacros& recorded) {
  std::string output;
  if (m_pTrace) m_pTrace->passBegins();
  if (!passWithoutParse(text, output) && !passBySubstitution(text, output, recorded))
    output = parsePassOnce(parent, text, recorded);
  if (m_pTrace) m_pTrace->passEnds(0, text, output);
  return output;
}

std::string Cpreprocess_fileParser::parsePassOnce(CVL_ParseState& parent, const std::string& text,
                                                  RecordedMacros& recorded) {
  // While no macro is busy, a parse of the same text at the same depth of
  // expansions gives the same result until a definition changes; one that
  // recorded no message, left no object-like macro busy and wrote nothing
  // straight to the output (a comment's blank) is used again, its cost
  // counted again: reusing it must have every effect the parse had.
  const bool reusable = MayTake(Shortcut::KeptParses, parent, m_pTrace) &&
                        m_BusyObjectMacros == 0 && m_BusyFunctionMacros == 0 &&
                        text.size() <= kLongestSettledText;
  if (reusable) {
    const auto found = m_SettledParses.find(text);
    if (found != m_SettledParses.end() && found->second.depth == m_Expansion.depth &&
        m_Expansion.chargeAgain(found->second.parses, found->second.bytes)) {
      m_NestedParses += found->second.nestedParses;
      return found->second.text;
    }
  }
  const CVL_ParseStatePlugin* const plugin = pluginFor(parent);
  const auto messageCount = [plugin] {
    return plugin != nullptr ? plugin->messagesEnd() - plugin->messagesBegin() : 0;
  };
  const auto messagesBefore = messageCount();
  const std::size_t recordedBefore = recorded.size();
  const int parsesBefore = m_Expansion.parses;
  const std::size_t bytesBefore = m_Expansion.producedBytes;
  const int nestedBefore = m_NestedParses;
  const long commentBlanksBefore = m_CommentBlanksWritten;
  const int stopsBefore = m_ExpansionStops;
  std::string output = parsePass(parent, text, recorded, true);
  if (reusable && messageCount() == messagesBefore && recorded.size() == recordedBefore &&
      m_CommentBlanksWritten == commentBlanksBefore && m_ExpansionStops == stopsBefore &&
      output.size() <= kLongestSettledResult) {
    if (m_SettledParses.size() >= kMostSettledTexts) m_SettledParses.clear();
    m_SettledParses[text] = {output, m_Expansion.parses - parsesBefore,
                             m_Expansion.producedBytes - bytesBefore, m_NestedParses - nestedBefore,
                             m_Expansion.depth};
  }
  return output;
}

bool Cpreprocess_fileParser::passWithoutParse(const std::string& text, std::string& output) {
  // Only tokens carry blanks into the output: trailing blanks go, and blanks
  // alone give an empty text. A text without tokens is not parsed, which
  // would only record an "unexpected token" message for every gap of every
  // call; nor is one that the pass would give back as it is.
  const std::size_t end = pass_bytes::LengthBeforeTrailingBlanks(text);
  if (end == 0) {
    output.clear();
    return true;
  }
  if (TextIsInert(text)) {
    output = text.substr(0, end);
    m_Expansion.chargeOutput(output);
    return true;
  }
  // A text the pass would copy token by token is its own result; it costs
  // what the pass would have cost.
  const auto expands = [this](std::string_view name) {
    if (m_PredefinedMacros.find(name) != nullptr) return true;
    const node* record = m_ObjectMacros.find(name);
    return record != nullptr && !macro_record::IsBusy(*record);
  };
  if (!PassKeepsText(text, expands)) return false;
  m_Cancel.poll();
  m_Expansion.chargeParse();
  m_Expansion.chargeOutput(text);
  output = text;
  return true;
}

bool Cpreprocess_fileParser::passBySubstitution(const std::string& text, std::string& output,
                                                RecordedMacros& recorded) {
  if (!NamesAreWholeRuns(text)) return false;
  m_Cancel.poll();
  m_Expansion.chargeParse();
  output.clear();
  ForEachName(
      text, [&](std::string_view copied) { output += copied; },
      [&](std::string_view name) { appendRescannedName(name, output, recorded); });
  m_Expansion.chargeOutput(output);
  return true;
}

void Cpreprocess_fileParser::appendRescannedName(std::string_view name, std::string& output,
                                                 RecordedMacros& recorded) {
  if (m_pTrace) m_pTrace->nameInPass(name);
  if (const std::string* value = m_PredefinedMacros.find(name)) {
    output += *value;
    return;
  }
  const node* object = m_ObjectMacros.find(name);
  if (object == nullptr || macro_record::IsBusy(*object)) {
    output += name;
    return;
  }
  // Inserted as stored; the next pass rescans it. The macro stays busy until
  // the owner of `recorded` is done.
  node record = *object;
  output += record.value();
  macro_record::MarkBusy(record);
  ++m_BusyObjectMacros;
  recorded.push_back(std::string(name));
}

std::string Cpreprocess_fileParser::parsePass(CVL_ParseState& parent, const std::string& text,
                                              RecordedMacros& recorded, bool wholeLines) {
  m_Cancel.poll();
  m_Expansion.chargeParse();
  ++m_NestedParses;
  // The nested parse records its syntax errors instead of raising them.
  CVL_SubParseState sub(text, parent);
  const CVL_SourceFrame frame(m_pSourceTrail, sub, SourceKind::MacroText);
  std::string output;
  if (wholeLines) {
    start(sub, pos::re_macro_call_start, prod::re_macro_call);
    re_macro_call(sub, 0, 0, output, recorded);
  } else {
    start(sub, pos::re_pp_tokens_start, prod::re_pp_tokens);
    re_pp_tokens(sub, 0, 0, output, recorded);
  }
  // A token that no rescan production takes ("#" from an argument, say)
  // ends the parse early; the text from there on is kept as it stands
  // rather than dropped, and a macro left unexpanded in it is warned of.
  // Trailing blanks are dropped like any blanks that no token follows.
  const std::string_view unread = sub.matchView(-2);
  if (unread.find_first_not_of(" \t") != std::string_view::npos) {
    output += unread;
    warnExpansionStopped(sub, unread);
  }
  m_Expansion.chargeOutput(output);
  return output;
}

void Cpreprocess_fileParser::warnExpansionStopped(CVL_ParseState& sub, std::string_view unread) {
  // Text kept as it stands loses nothing unless a macro in it would have
  // been replaced: only then is the stop worth a word.
  const auto expands = [this](std::string_view name) {
    if (m_PredefinedMacros.find(name) != nullptr) return true;
    const node* record = m_ObjectMacros.find(name);
    return record != nullptr && !macro_record::IsBusy(*record);
  };
  const auto calls = [this](std::string_view name) {
    const node* record = m_FunctionMacros.find(name);
    return record != nullptr && !macro_record::IsBusy(*record);
  };
  const std::string_view name = FirstNameLeftUnexpanded(unread, expands, calls);
  if (name.empty()) return;
  ++m_ExpansionStops;
  // Outside any expansion each stop is a stop of its own.
  if (m_Expansion.depth > 0) {
    if (m_StopWarnedExpansion == m_Expansion.outermost) return;
    m_StopWarnedExpansion = m_Expansion.outermost;
  }
  // The token the pass stopped at is the pending look-ahead where a token
  // was read there; otherwise the word, or the byte, the unread text begins
  // with.
  const std::size_t stopAt = unread.find_first_not_of(" \t");
  const char* const stopBegin = unread.data() + stopAt;
  const CVL_Match& pending = sub.m_Position.m_Lookahead;
  std::string_view stopToken;
  if (pending.m_pTokenBegin == stopBegin && pending.m_pTokenEnd > stopBegin) {
    stopToken = QuotableToken(pending);
  } else {
    std::size_t length = 1;
    while (stopAt + length < unread.size() && pass_bytes::IsWordByte(unread[stopAt]) &&
           pass_bytes::IsWordByte(unread[stopAt + length]))
      ++length;
    if (unread.substr(stopAt, 2) == "##") length = 2;
    stopToken = unread.substr(stopAt, length);
    if (std::iscntrl(static_cast<unsigned char>(stopToken.front())) != 0) stopToken = {};
  }
  std::string text = "macro expansion stopped";
  if (!stopToken.empty()) text += " at " + Quoted(stopToken);
  const std::string_view before = QuotableToken(sub.m_Position.m_Current);
  if (!before.empty()) text += " after " + Quoted(before);
  text += ", leaving " + Quoted(name) + " unexpanded";
  const int begin = sub.offsetOf(stopBegin);
  const int end = begin + static_cast<int>(stopToken.size());
  addMessage(sub, text.c_str(), begin, end,
             ProductionName(prod::re_pp_tokens), ElementName(elem::Rep0_of_re_pp_tokens),
             message_kind::kWarning);
}

void Cpreprocess_fileParser::re_macro_call(CVL_ParseState& s, int si, int re,
                                           std::string& output, RecordedMacros& recorded) {
  CVL_Guard guard = enter(s, si, re, prod::re_macro_call, " re_macro_call");
  output.clear();
  std::string line;
  if (!sets::rescanLineStart().contains(peek(s, elem::Rep0_of_re_macro_call)))
    unexpectedError(s, "re_macro_call", "Rep0_of_re_macro_call");
  while (sets::rescanLineStart().contains(peek(s, elem::Rep0_of_re_macro_call))) {
    const int t = peek(s, elem::Alt0_of_Rep0_of_re_macro_call);
    if (t == tok::Eol) {
      // A line break becomes a bare line feed; the blanks before it go.
      match(s, tok::Eol, pos::re_macro_call_after_Eol, endsAt(pos::re_macro_call_after_Eol),
            nullptr, nullptr);
      output += '\n';
    } else if (sets::textStart().contains(t)) {
      re_pp_tokens(s, pos::re_macro_call_after_re_pp_tokens,
                   endsAt(pos::re_macro_call_after_re_pp_tokens), line, recorded);
      output += line;
    } else {
      unexpectedError(s, "re_macro_call", "Alt0_of_Rep0_of_re_macro_call");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::re_pp_tokens(CVL_ParseState& s, int si, int re, std::string& output,
                                          RecordedMacros& recorded) {
  CVL_Guard guard = enter(s, si, re, prod::re_pp_tokens, " re_pp_tokens");
  output.clear();
  std::string call;
  if (!sets::textStart().contains(peek(s, elem::Rep0_of_re_pp_tokens)))
    unexpectedError(s, "re_pp_tokens", "Rep0_of_re_pp_tokens");
  // Where the plain token reader last stopped.
  const char* plainStop = nullptr;
  const bool plainTokens = MayTake(Shortcut::PlainRescanTokens, s, m_pTrace);
  while (sets::textStart().contains(peek(s, elem::Rep0_of_re_pp_tokens))) {
    const int t = peek(s, elem::Alt0_of_Rep0_of_re_pp_tokens);
    if (t != tok::Bseol && t != tok::MacroCallBegin && plainTokens &&
        copyPlainTokens(s, kRescanRun, &output, plainStop))
      continue;
    if (t == tok::Bseol) {
      match(s, tok::Bseol, pos::re_pp_tokens_after_Bseol, endsAt(pos::re_pp_tokens_after_Bseol),
            nullptr, nullptr);
      if (IsStrayBackslash(s)) output += s.matchCopyView();
    } else if (t == tok::Id) {
      match(s, tok::Id, pos::re_pp_tokens_after_Id, endsAt(pos::re_pp_tokens_after_Id), nullptr,
            nullptr);
      output += s.matchView(-1);
      appendRescannedName(s.matchView(0), output, recorded);
    } else if (sets::literalsThroughOperators().contains(t)) {
      singleToken(s, elem::Alt1_of_Alt0_of_Rep0_of_re_pp_tokens, kRescanTokens,
                  pos::re_pp_tokens_after_cpp_operator, "re_pp_tokens",
                  "Alt1_of_Alt0_of_Rep0_of_re_pp_tokens");
      output += s.matchCopyView();
    } else if (t == tok::MacroCallBegin) {
      macro_call_begin(s, pos::re_pp_tokens_after_macro_call_begin,
                       endsAt(pos::re_pp_tokens_after_macro_call_begin), call, recorded);
      output += call;
      call.clear();
    } else {
      unexpectedError(s, "re_pp_tokens", "Alt0_of_Rep0_of_re_pp_tokens");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

}  // namespace orvo
