// Define lines: an object-like macro stores its replacement text, a
// function-like macro its replacement list as one child per element.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/DirectiveLine.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/MacroGrammarTables.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"
#include "macros/MacroRecord.h"
#include "macros/StrayBackslash.h"

namespace orvo {
namespace {

// `text` without the blanks and line breaks at either end.
std::string Trimmed(const std::string& text) {
  constexpr const char* kWhite = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kWhite);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

// Adds the child for a replacement token of a function-like macro whose
// text and prefix the state holds as its current token. A parameter gets a
// "gap" child for its prefix and a reference child; any other token a
// "Text" child, with its prefix when a `gap` is due.
void AddReplacementToken(node& record, CVL_Map<std::string, std::string>& parameters,
                         const CVL_ParseState& s, bool gap) {
  const std::string text = s.matchText(0);
  if (parameters.findKey(text)) {
    if (gap) record.addChild(macro_record::kGap, s.matchText(-1));
    record.addChild(text, parameters.value()).setId(macro_record::kParameterReference);
  } else {
    record.addChild(macro_record::kText, gap ? s.matchCopy() : text);
  }
}

}  // namespace

void Cpreprocess_fileParser::definition(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::definition, " definition");
  match(s, tok::PdDefine, pos::definition_after_PdDefine, endsAt(pos::definition_after_PdDefine),
        "definition", "PD_DEFINE_T0_of_definition");
  // A name directly followed by "(" is MACRO_DEF_BEGIN, a name alone an ID.
  const int t = peek(s, elem::Alt0_of_definition);
  if (t == tok::Id) {
    object_like_macro(s, pos::definition_after_object_like_macro,
                      endsAt(pos::definition_after_object_like_macro));
  } else if (t == tok::MacroDefBegin) {
    function_like_macro(s, pos::definition_after_function_like_macro,
                        endsAt(pos::definition_after_function_like_macro));
  } else {
    unexpectedError(s, "definition", "Alt0_of_definition");
  }
  guard.leave();
}

void Cpreprocess_fileParser::object_like_macro(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::object_like_macro, " object_like_macro");
  DirectiveLine directiveLine(s);
  match(s, tok::Id, pos::object_like_macro_after_name, endsAt(pos::object_like_macro_after_name),
        "object_like_macro", "ID_T0_of_object_like_macro");
  const std::string name = s.matchText(0);
  const int nameBegin = s.offsetOf(s.m_Position.m_Current.m_pTokenBegin);
  std::string value;
  std::string call;
  // Calls in the replacement text are expanded now, with the macros known here.
  RecordedMacros recorded;
  while (sets::textStart().contains(peek(s, elem::OptRep0_of_object_like_macro))) {
    const int t = peek(s, elem::Alt0_of_OptRep0_of_object_like_macro);
    if (t == tok::Bseol) {
      match(s, tok::Bseol, pos::object_like_macro_after_Bseol,
            endsAt(pos::object_like_macro_after_Bseol), nullptr, nullptr);
      if (IsStrayBackslash(s)) value += s.matchCopy();
    } else if (sets::idThroughOperators().contains(t)) {
      singleToken(s, elem::Alt1_of_Alt0_of_OptRep0_of_object_like_macro, kObjectLikeTokens,
                  pos::object_like_macro_after_cpp_operator, "object_like_macro",
                  "Alt1_of_Alt0_of_OptRep0_of_object_like_macro");
      value += s.matchCopy();
    } else if (t == tok::MacroCallBegin) {
      macro_call_begin(s, pos::object_like_macro_after_macro_call_begin,
                       endsAt(pos::object_like_macro_after_macro_call_begin), call, recorded);
      value += call;
      call.clear();
    } else {
      unexpectedError(s, "object_like_macro", "Alt0_of_OptRep0_of_object_like_macro");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  directiveLine.end();
  match(s, tok::Eol, pos::object_like_macro_after_Eol, endsAt(pos::object_like_macro_after_Eol),
        "object_like_macro", "EOL_T13_of_object_like_macro");
  if (m_pTrace) m_pTrace->objectDefined(s, name, Trimmed(value));
  warnObjectRedefined(s, name, Trimmed(value), nameBegin);
  defineObjectLike(name, Trimmed(value));
  markDefinition(m_ObjectDefinitionMarks, name, nameBegin,
                 nameBegin + static_cast<int>(name.size()));
  resetRecorded(recorded);
  guard.leave();
}

void Cpreprocess_fileParser::function_like_macro(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::function_like_macro, " function_like_macro");
  node record;
  match(s, tok::MacroDefBegin, pos::function_like_macro_after_MacroDefBegin,
        endsAt(pos::function_like_macro_after_MacroDefBegin), "function_like_macro",
        "MACRO_DEF_BEGIN_T0_of_function_like_macro");
  record.setLabel(s.matchText(1));
  const int nameBegin = s.offsetOf(s.m_Position.m_Current.m_pTokenBegin);

  // Parameter name -> index; a repeated name keeps its first index.
  CVL_Map<std::string, std::string> parameters;
  int count = 0;
  if (sets::macroToken().contains(peek(s, elem::Opt0_of_function_like_macro))) {
    macro_token(s, pos::function_like_macro_after_parameter,
                endsAt(pos::function_like_macro_after_parameter));
    parameters.insert(s.matchText(0), std::to_string(count++));
    while (peek(s, elem::OptRep0_of_Opt0_of_function_like_macro) == tok::Comma) {
      match(s, tok::Comma, pos::function_like_macro_after_Comma,
            endsAt(pos::function_like_macro_after_Comma), nullptr, nullptr);
      macro_token(s, pos::function_like_macro_after_Comma_parameter,
                  endsAt(pos::function_like_macro_after_Comma_parameter));
      parameters.insert(s.matchText(0), std::to_string(count++));
      if (s.m_bBreak) break;
    }
    s.m_bBreak = false;
  }
  match(s, tok::Rparen, pos::function_like_macro_after_parameters_Rparen,
        endsAt(pos::function_like_macro_after_parameters_Rparen), "function_like_macro",
        "Rparen_T2_of_function_like_macro");

  // Whether the next token keeps its prefix: not at the start of the list
  // and not right after # or ##.
  bool gap = false;
  while (sets::replacementTokens().contains(peek(s, elem::OptRep1_of_function_like_macro))) {
    const int t = peek(s, elem::Alt0_of_OptRep1_of_function_like_macro);
    if (t == tok::Bseol) {
      match(s, tok::Bseol, pos::function_like_macro_after_Bseol,
            endsAt(pos::function_like_macro_after_Bseol), nullptr, nullptr);
      if (IsStrayBackslash(s)) {
        AddReplacementToken(record, parameters, s, gap);
        gap = true;
      }
    } else if (sets::idThroughOperators().contains(t)) {
      const int u = peek(s, elem::Alt1_of_Alt0_of_OptRep1_of_function_like_macro);
      if (sets::macroToken().contains(u)) {
        macro_token(s, pos::function_like_macro_after_replacement_token,
                    endsAt(pos::function_like_macro_after_replacement_token));
      } else if (u == tok::Rparen) {
        match(s, tok::Rparen, pos::function_like_macro_after_replacement_Rparen,
              endsAt(pos::function_like_macro_after_replacement_Rparen), nullptr, nullptr);
      } else if (u == tok::Lparen) {
        match(s, tok::Lparen, pos::function_like_macro_after_Lparen,
              endsAt(pos::function_like_macro_after_Lparen), nullptr, nullptr);
      } else {
        unexpectedError(s, "function_like_macro", "Alt1_of_Alt0_of_OptRep1_of_function_like_macro");
      }
      AddReplacementToken(record, parameters, s, gap);
      gap = true;
    } else if (t == tok::Hash) {
      match(s, tok::Hash, pos::function_like_macro_after_Hash,
            endsAt(pos::function_like_macro_after_Hash), nullptr, nullptr);
      record.addChild(macro_record::kStringize, s.matchText(-1));
      gap = false;
    } else if (t == tok::HashHash) {
      match(s, tok::HashHash, pos::function_like_macro_after_HashHash,
            endsAt(pos::function_like_macro_after_HashHash), nullptr, nullptr);
      record.addChild(macro_record::kPaste, "##");
      gap = false;
    } else {
      unexpectedError(s, "function_like_macro", "Alt0_of_OptRep1_of_function_like_macro");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  match(s, tok::Eol, pos::function_like_macro_after_Eol, endsAt(pos::function_like_macro_after_Eol),
        "function_like_macro", "EOL_T8_of_function_like_macro");
  record.setAttribute(macro_record::kArgumentCount, std::to_string(count));
  if (m_pTrace) m_pTrace->functionDefined(s, record, parameters);
  defineFunctionLike(s, record);
  markDefinition(m_FunctionDefinitionMarks, record.label(), nameBegin,
                 nameBegin + static_cast<int>(record.label().size()));
  guard.leave();
}

}  // namespace orvo
