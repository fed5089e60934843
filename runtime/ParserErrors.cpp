// Syntax errors and messages of the parser: thrown in raise mode, recorded
// in the plugin's message list in collect mode.
#include <ostream>
#include <string>

#include "runtime/Parser.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

// "NAME found; " for a lookahead token with a symbol, else empty.
std::string foundPart(const CVL_ParseState& s) {
  const symbol* const found = s.m_Position.m_Lookahead.m_pSymbol;
  if (found == nullptr || found->name == nullptr) return std::string();
  return std::string(found->name) + " found; ";
}

std::string expectedName(const CVL_ParseState& s, int tokenId) {
  const symbol* const record = s.m_fnSymbol != nullptr && tokenId >= 0 && tokenId <= kTokenCount
                                   ? s.m_fnSymbol(tokenId)
                                   : nullptr;
  if (record == nullptr || record->name == nullptr || record->name[0] == '\0') return "???";
  return record->name;
}

const char* productionNameOf(const CVL_ParseState& s) {
  return s.m_fnProductionName != nullptr ? s.m_fnProductionName(s.m_ProductionIndex) : nullptr;
}

const char* elementNameOf(const CVL_ParseState& s) {
  return s.m_fnElementName != nullptr ? s.m_fnElementName(s.m_ElementIndex) : nullptr;
}

int currentBegin(const CVL_ParseState& s) {
  return s.offsetOf(s.m_Position.m_Current.m_pTokenBegin);
}

int currentEnd(const CVL_ParseState& s) { return s.offsetOf(s.m_Position.m_Current.m_pTokenEnd); }

// Written to the output before an incomplete run ends.
std::string incompleteBanner() {
  const std::string full(62, 'X');
  const std::string frame = "XX" + std::string(58, ' ') + "XX";
  const char* const lines[] = {full.c_str(), frame.c_str(),
                               "XX   An error occurred. The transformation is incomplete!   XX",
                               frame.c_str(), full.c_str()};
  std::string banner = "\n\n";
  for (const char* line : lines) banner += std::string("  ") + line + "\n";
  return banner;
}

}  // namespace

template <class Error>
void CVL_Parser::raiseOrRecord(CVL_ParseState& s, const std::string& text,
                               const char* production, const char* element,
                               unsigned char status) {
  CVL_ParseStatePlugin* const plugin = pluginFor(s);
  if (plugin == nullptr || plugin->raiseErrors()) {
    throw Error(text.c_str(), currentBegin(s), currentEnd(s), production, element, 0);
  }
  s.m_Status = status;
  plugin->addMessage(
      CVL_ParseError(text.c_str(), currentBegin(s), currentEnd(s), production, element, 0));
}

bool CVL_Parser::recordFailedMatchInFile(CVL_ParseState& s, const std::string& text,
                                         const char* production, const char* element) {
  CVL_ParseStatePlugin* const plugin = pluginFor(s);
  if (!s.isSubParseState() || plugin == nullptr || plugin->raiseErrors()) return false;
  const char* const at = s.m_Position.m_Current.m_pTokenBegin;
  if (s.m_pFailedMatchAt != nullptr && s.m_pFailedMatchAt == at) return true;
  s.m_pFailedMatchAt = at;
  plugin->addMessage(
      CVL_ParseError(text.c_str(), currentBegin(s), currentEnd(s), production, element, 0));
  return true;
}

void CVL_Parser::expectedError(CVL_ParseState& s, int tokenId, const char* production,
                               const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return;
  const std::string text = foundPart(s) + expectedName(s, tokenId) + " expected";
  if (recordFailedMatchInFile(s, text, production, element)) return;
  raiseOrRecord<CVL_ErrorExpected>(s, text, production, element, parse_status::Expected);
}

void CVL_Parser::skipExpectedError(CVL_ParseState& s, int tokenId, const char* production,
                                   const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return;
  const std::string text = foundPart(s) + "SKIP" + std::to_string(tokenId) + " expected";
  if (recordFailedMatchInFile(s, text, production, element)) return;
  raiseOrRecord<CVL_ErrorExpected>(s, text, production, element, parse_status::Expected);
}

void CVL_Parser::unexpectedError(CVL_ParseState& s, const char* production, const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return;
  raiseOrRecord<CVL_ErrorUnexpected>(s, foundPart(s) + "unexpected token", production, element,
                                     parse_status::Unexpected);
}

void CVL_Parser::noProgressError(CVL_ParseState& s, const char* production, const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return;
  raiseOrRecord<CVL_ErrorStandstill>(s, "no progress", production, element,
                                     parse_status::NoProgress);
}

void CVL_Parser::incompleteError(CVL_ParseState& s, const char* production, const char* element) {
  CVL_ParseStatePlugin* const plugin = pluginFor(s);
  std::ostream* const out = plugin != nullptr ? plugin->out() : nullptr;
  if (out != nullptr && out->good()) *out << incompleteBanner();
  raiseOrRecord<CVL_ErrorIncomplete>(s, "incomplete", production, element,
                                     parse_status::Incomplete);
}

void CVL_Parser::message(CVL_ParseState& s, const char* text) {
  addMessage(s, text, currentBegin(s), currentEnd(s), productionNameOf(s), elementNameOf(s),
             message_kind::kPlain);
}

void CVL_Parser::warning(CVL_ParseState& s, const char* text) {
  addMessage(s, text, currentBegin(s), currentEnd(s), productionNameOf(s), elementNameOf(s),
             message_kind::kWarning);
}

void CVL_Parser::error(CVL_ParseState& s, const char* text) {
  addMessage(s, text, currentBegin(s), currentEnd(s), productionNameOf(s), elementNameOf(s),
             message_kind::kError);
}

void CVL_Parser::errorStop(CVL_ParseState& s, const char* text) {
  if (parse_status::isErrorState(s.m_Status)) return;
  CVL_ParseStatePlugin* const plugin = pluginFor(s);
  if (plugin == nullptr || plugin->raiseErrors()) {
    throw CVL_ParseError(text, currentBegin(s), currentEnd(s), productionNameOf(s),
                         elementNameOf(s), 0);
  }
  s.m_Status = parse_status::ErrorStop;
  addMessage(s, text, currentBegin(s), currentEnd(s), productionNameOf(s), elementNameOf(s),
             message_kind::kParseError);
}

void CVL_Parser::addMessage(CVL_ParseState& s, const char* text, int begin, int end,
                            const char* production, const char* element, int kind) {
  CVL_ParseStatePlugin* const plugin = pluginFor(s);
  const bool raise = plugin == nullptr || plugin->raiseErrors();
  if (raise && kind == 5) {
    throw CVL_ParseError(text, currentBegin(s), currentEnd(s), production, element, 0);
  }
  switch (kind) {
    case 0:
    case 2:
    case 7:
      if (plugin != nullptr) {
        plugin->addMessage(CVL_Message(text, begin, end, production, element, 0, 0));
      }
      break;
    case 1:
    case 5:
    case 6:
      s.m_Status = parse_status::Unexpected;
      if (plugin != nullptr) {
        plugin->addMessage(CVL_ParseError(text, begin, end, production, element, 0));
      }
      break;
    case 3:
      if (plugin != nullptr) plugin->addMessage(CVL_Warning(text, begin, end, production, element, 0));
      break;
    case 4:
      if (plugin != nullptr) plugin->addMessage(CVL_Error(text, begin, end, production, element, 0));
      break;
    default:
      break;
  }
}

}  // namespace orvo
