// Everything one parse knows about where it stands: the input range, the
// window of current, lookahead and next token, the pending-token, rule-end
// and inclusion stacks, the current scanner, status, line counting and the
// plugin.
#pragma once

#include <functional>
#include <stack>
#include <string>
#include <string_view>
#include <vector>

#include "scan/Match.h"
#include "runtime/ParseStatePlugin.h"
#include "scan/PlainTokenReader.h"
#include "scan/Scanner.h"

namespace orvo {

// One entry of the rule-end stack: the scanner for what follows an entered
// production (or an interrupted position, flag 2 for inclusions).
template <class C>
struct prod_log {
  const CVL_Scanner* m_pScanner = nullptr;
  unsigned char m_Flag = 0;
  const C* m_pCurrentEnd = nullptr;      // end of the current token at the push
  const C* m_pLookaheadBegin = nullptr;  // begin of the lookahead token at the push
  const C* m_pLookaheadBegin2 = nullptr;
  // The scanners a rule-end walk from this entry down tries: whether the
  // plain token reader may stand in for all of them, and the kinds they
  // look for together. Set when the entry is pushed, so that a scan need
  // not walk the stack.
  bool m_bWalkPlainReadable = true;
  CVL_TokenSet m_WalkSearched;
};

struct CVL_Position {
  std::string m_Text;  // private copy of the input (sub-parse states only)
  const char* m_pBegin = nullptr;
  const char* m_pLineCursor = nullptr;
  const char* m_pEnd = nullptr;
  CVL_Match m_Current;
  CVL_Match m_Lookahead;
  CVL_Match m_Next;
  int m_Line = 0;
  int m_Column = 0;
};

// Status values of a parse state.
namespace parse_status {
constexpr unsigned char Idle = 0, OnePending = 1, TwoPending = 2, NoProgress = 6, Expected = 8,
                        Unexpected = 9, SkipStop = 10, ErrorStop = 11, Incomplete = 12;
// Whether `status` stops further scanning and parser operations.
inline bool isErrorState(unsigned char status) {
  return status == NoProgress || status == Expected || status == Unexpected ||
         status == SkipStop || status == ErrorStop;
}
}  // namespace parse_status

class CVL_ParseState {
 public:
  using SymbolLookup = const symbol* (*)(int);
  using NameLookup = const char* (*)(int);

  CVL_ParseState(const char* begin, const char* end);
  virtual ~CVL_ParseState();
  CVL_ParseState(const CVL_ParseState&) = delete;
  CVL_ParseState& operator=(const CVL_ParseState&) = delete;

  virtual bool isSubParseState() const { return false; }
  virtual bool isSilent() const { return false; }
  // Whether a failed match is a syntax error to raise or record.
  virtual bool reportsFailedMatch() const { return !isSubParseState() && !isSilent(); }
  virtual int dynamicScope() const { return 0; }
  virtual bool addDynamicText(const std::string& placeholder, const std::string& text);
  virtual bool addDynamicKeyedText(const std::string& placeholder, const std::string& text,
                                   const std::string& key);
  virtual void removeDynamicKey(const std::string& key);

  // Id of the pending lookahead token, scanning if none is pending; 0 for none.
  int lookahead(int elementIndex);
  bool consume(bool isEps);
  bool consumeSkip(int tokenId);
  bool atEnd() const;

  // Texts of the current token: 0 token, -1 prefix, -2 rest of input, n>=1 submatch n.
  std::string matchText(int n) const;
  std::string matchCopy() const;      // prefix followed by the token
  // The same texts as views into the parsed text, valid while it lives.
  std::string_view matchView(int n) const;
  std::string_view matchCopyView() const;
  std::string productionCopy() const; // the production left last, with its prefix

  // Scanning (used by lookahead): the scan starts where the current token
  // ends and sees the text up to `inputEnd`.
  void scan(const char* inputEnd) { scan(m_Position.m_Current.m_pTokenEnd, inputEnd); }
  void scan(const char* scanStart, const char* inputEnd);
  // The token a lookahead with the current scanner and rule-end flag would
  // find after `start`, left in m_Match, without moving the window: false
  // where that scan finds no token, a skip, or the start of an inclusion,
  // which is then undone.
  bool scanAhead(const char* start);
  // Makes the token the last scanAhead found the pending lookahead, as the
  // lookahead that scan stands for would have: the scan started where the
  // current token ends, with the scanner and flag it was made with, and
  // nothing is pending.
  void pendScanned();
  // Keeps the better of m_Match and m_AltMatch in m_Match; true when that
  // is m_AltMatch.
  bool chooseCandidate();

  // Consumes the pending lookahead and every token after it up to
  // [tokenBegin, tokenEnd) of kind `id`, read without the scanners, with its
  // blanks from `scanStart`: that token becomes the current one, as if each
  // had been consumed in turn. Nothing is pending afterwards.
  void consumeThrough(const char* scanStart, const char* tokenBegin, const char* tokenEnd,
                      int id);

  // Makes [tokenBegin, tokenEnd) of kind `id`, read without the scanners,
  // with its blanks from the current token's end, the pending lookahead, as
  // if a scan had found it. Nothing may be pending.
  void pendToken(const char* tokenBegin, const char* tokenEnd, int id);

  // Records (collect mode, or any kind but 5) or throws (raise mode, kind 5)
  // a message for a semantic action.
  void report(const char* text, int begin, int end, const char* production,
              const char* element, int kind);

  // Offsets from the start of the input.
  int offsetOf(const char* p) const { return static_cast<int>(p - m_Position.m_pBegin); }

  // Pushes a rule-end entry for `scanner` with the current token end and
  // lookahead begin as its positions.
  void pushRuleEnd(const CVL_Scanner* scanner, unsigned char flag) {
    pushRuleEnd(scanner, scanner != nullptr ? scanner->plainReading() : CVL_PlainReading(), flag);
  }
  // The same, with the scanner's plain reading at hand.
  void pushRuleEnd(const CVL_Scanner* scanner, const CVL_PlainReading& reading,
                   unsigned char flag);
  // Id of the pending lookahead token, -1 when none is pending.
  int topToken() const { return m_TokenStack.empty() ? -1 : m_TokenStack.top(); }

  CVL_Match m_Match;
  CVL_Match m_AltMatch;
  CVL_Position m_Position;
  CVL_ParseStatePlugin* m_pPlugin = nullptr;
  // Vectors: a nested parse builds a state per pass, and a deque would
  // allocate its blocks before the first entry.
  std::vector<prod_log<char>> m_RuleEndScannerStack;
  std::stack<int, std::vector<int>> m_TokenStack;
  std::stack<int, std::vector<int>> m_InclusionStack;
  const CVL_Scanner* m_pScanner = nullptr;
  bool m_bTestRuleEnds = false;
  bool m_bBreak = false;
  bool m_bInclusionPending = false;
  // Set while the tokens of a directive line are read: a directive ends at
  // its line break, so a name there followed by a line break and "(" is no
  // call (in a text line a call may go on over lines).
  bool m_bDirectiveLine = false;
  // Whether the run's shortcuts are on (the run's mode is Fast): a scan may
  // take the token the plain token reader reads where every scanner it
  // would try lets the reader stand in for it, and pass over fallbacks that
  // cannot change its candidate; productions may take the macros' and
  // conditions' shortcuts. Off, the grammar's productions and the scanners
  // do every piece of work: the reference the shortcuts are tested against.
  bool m_bFastPaths = false;
  // In an included file: the current token of the failed match recorded
  // last, so that the matches that fail after it at the same token, as the
  // parse goes on, are not recorded again; null while none was recorded.
  const char* m_pFailedMatchAt = nullptr;
  unsigned char m_Status = 0;
  int m_ProductionIndex = 0;
  int m_ElementIndex = 0;
  const char* m_ProdPrefixBegin = nullptr;
  const char* m_ProdBegin = nullptr;
  const char* m_ProdEnd = nullptr;
  SymbolLookup m_fnSymbol = nullptr;
  NameLookup m_fnProductionName = nullptr;
  NameLookup m_fnElementName = nullptr;

 protected:
  // For sub-parse states: re-point the range at m_Position.m_Text.
  void resetRange(const char* begin, const char* end);

 private:
  // Whether the scan may pass over `scanner`, given that `holder` found the
  // candidate from the start of the scan: the scanner would begin its token
  // where the candidate begins and could not replace it.
  bool passesOver(const CVL_Scanner& scanner, const CVL_Scanner& holder) const;
  // Whether, with no candidate yet, `scanner` would find nothing where
  // `searched`, the last scanner that ran, left the token begin.
  bool findsNothingWhereLeft(const CVL_Scanner& scanner, const CVL_Scanner* searched) const;
  // Where a MACRO_CALL_BEGIN candidate reaches over a line break: the line
  // break, or null when `match` is no such candidate.
  static const char* callLineBreak(const CVL_Match& match);
  // The record of token kind `id`, by the state's lookup where it has one.
  const symbol* symbolOf(int id) const {
    return m_fnSymbol != nullptr ? m_fnSymbol(id) : GetSymbol(id);
  }
  // Sets m_Match to the token the plain token reader reads for the scanners
  // this scan would try; false, with m_Match untouched, where one of them
  // does not let the reader stand in or the reader cannot tell.
  bool readPlainToken(const char* inputEnd);
  // Reads a number of decimal digits alone, read by ReadPlainToken, as the
  // scanners of the walk would, where the reader can tell the kind.
  bool readNumber(const PlainToken& number);
  // Reads the end of input at `end` as the scanners of the walk would.
  bool readEndOfInput(const char* end);
  // Moves the scan result in m_Match into the token window.
  void commit();
  // Makes the lookahead the current token; false when that made no progress.
  bool shiftWindow();
  // Advances the line and column counters up to the current token's end.
  void countLines();
  // Records an inclusion found by the scan; m_Match holds its first token.
  void startInclusion(int inclusion);
};

// A nested parse over a private copy of some text. Switches the plugin to
// collect mode for its lifetime and restores the previous mode afterwards.
class CVL_SubParseState : public CVL_ParseState {
 public:
  CVL_SubParseState(const std::string& text, const CVL_ParseState& parent);
  ~CVL_SubParseState() override;

  bool isSubParseState() const override { return true; }
  // An included file's text is the user's own, so a failed match there is
  // a syntax error to record (and the parse goes on, as it would without
  // it); in rescanned macro text it is a normal outcome.
  bool reportsFailedMatch() const override { return m_bUserText; }

  bool m_bSavedRaiseErrors = true;
  bool m_bUserText = false;
};

}  // namespace orvo
