// The protocol the generated productions follow: look ahead, match tokens,
// enter and leave productions.
#include "runtime/Parser.h"

#include <functional>
#include <string>

namespace orvo {

CVL_Parser::CVL_Parser() = default;

CVL_Parser::~CVL_Parser() = default;

CVL_ParseStatePlugin* CVL_Parser::pluginFor(const CVL_ParseState& s) const {
  return m_pPlugin != nullptr ? m_pPlugin : s.m_pPlugin;
}

int CVL_Parser::lookahead(CVL_ParseState& s, int elementIndex, int scannerIndex, bool ruleEndFlag,
                          const char*, const char*) {
  if (parse_status::isErrorState(s.m_Status)) return -1;
  // -1 keeps the current scanner: the usual case inside productions.
  if (scannerIndex >= 0) {
    s.m_pScanner = scanner(scannerIndex);
    s.m_bTestRuleEnds = ruleEndFlag;
  }
  return s.lookahead(elementIndex);
}


bool CVL_Parser::lookaheadTest(CVL_ParseState& s, int elementIndex, int scannerIndex,
                               bool ruleEndFlag, const char* production, const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return false;
  lookahead(s, elementIndex, scannerIndex, ruleEndFlag, production, element);
  return true;
}

void CVL_Parser::start(CVL_ParseState& s, int scannerIndex, int elementIndex,
                       const char* production, const char* element) {
  lookahead(s, elementIndex, scannerIndex, false, production, element);
}



bool CVL_Parser::match(CVL_ParseState& s, int tokenId, int nextScannerIndex, bool ruleEndFlag,
                       const char* production, const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return false;
  // A pending comment is parsed first. The token after it must still be the
  // expected one: matching whatever follows the comment would accept a
  // token the grammar does not allow here.
  if (s.m_bInclusionPending) inclusionHook(s, tokenId, production, element);
  if (!consumeToken(s, tokenId, production, element)) return false;
  lookahead(s, 0, nextScannerIndex, ruleEndFlag, production, element);
  return true;
}





bool CVL_Parser::matchSkip(CVL_ParseState& s, int tokenId, const char* production,
                           const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return false;
  // The stop token that ended the skip stays pending: no lookahead follows.
  if (s.consumeSkip(tokenId)) return true;
  if (reportsFailedMatch(s)) skipExpectedError(s, tokenId, production, element);
  return false;
}

bool CVL_Parser::consumeToken(CVL_ParseState& s, int tokenId, const char* production,
                              const char* element) {
  if (parse_status::isErrorState(s.m_Status)) return false;
  if (s.topToken() == tokenId && s.consume(tokenId == tok::Eps)) return true;
  if (reportsFailedMatch(s)) expectedError(s, tokenId, production, element);
  return false;
}

bool CVL_Parser::reportsFailedMatch(const CVL_ParseState& s) {
  return s.reportsFailedMatch();
}

int CVL_Parser::inclusionHook(CVL_ParseState&, int, const char*, const char*) { return 0; }

void CVL_Parser::checkNestingDepth() const {
  if (m_NestingDepth >= kMaxNestingDepth) {
    throw CVL_Message(("nesting too deep: more than " + std::to_string(kMaxNestingDepth) +
                       " nested productions")
                          .c_str());
  }
}

CVL_Guard CVL_Parser::enter(CVL_ParseState& s, int scannerIndex, int ruleEndFlag,
                            int productionIndex, const char* traceName) {
  checkNestingDepth();
  if (s.m_bInclusionPending) inclusionHook(s, 0, traceName, nullptr);
  return enterProduction(s, scannerIndex, ruleEndFlag, productionIndex);
}



CVL_Guard CVL_Parser::enterProduction(CVL_ParseState& s, int scannerIndex, int ruleEndFlag,
                                      int productionIndex) {
  // The entry's scanner reads what follows the production in its caller: a
  // rule-end fallback while it runs, the current scanner once it is left.
  s.pushRuleEnd(scanner(scannerIndex), plainReading(scannerIndex),
                static_cast<unsigned char>(ruleEndFlag));
  ++m_NestingDepth;
  s.m_ProductionIndex = productionIndex;
  return CVL_Guard(this, &s);
}

void CVL_Parser::leave(CVL_ParseState& s) {
  if (m_NestingDepth > 0) --m_NestingDepth;
  auto& stack = s.m_RuleEndScannerStack;
  if (stack.empty()) throw CVL_Message("m_RuleEndScannerStack.empty()");
  // An inclusion production also ends its inclusion; the entry below its own
  // is the one the scan pushed for the interrupted position.
  if (stack.back().m_Flag == 2) {
    stack.pop_back();
    if (s.m_InclusionStack.empty()) throw CVL_Message("m_InclusionStack.empty()");
    s.m_InclusionStack.pop();
  }
  if (stack.empty()) throw CVL_Message("m_RuleEndScannerStack.empty()");
  const prod_log<char>& entry = stack.back();
  s.m_ProdPrefixBegin = entry.m_pCurrentEnd;
  s.m_ProdBegin = entry.m_pLookaheadBegin;
  const char* const currentEnd = s.m_Position.m_Current.m_pTokenEnd;
  s.m_ProdEnd = std::greater<>()(currentEnd, s.m_ProdBegin) ? currentEnd : s.m_ProdBegin;
  s.m_pScanner = entry.m_pScanner;
  stack.pop_back();
}

}  // namespace orvo
