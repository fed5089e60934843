// Base class of the generated recursive-descent parser: enter and leave
// productions, look ahead, match tokens, and produce the syntax errors.
#pragma once

#include <memory>
#include <string>

#include "runtime/ParseState.h"
#include "runtime/ParseStatePlugin.h"
#include "scan/ScannerTable.h"

namespace orvo {

class CVL_Parser;

// How many productions may be entered at once, nested parses included; they
// all share the C++ stack.
constexpr int kMaxNestingDepth = 4000;

// Leaves the entered production when an exception passes through it.
class CVL_Guard {
 public:
  CVL_Guard(CVL_Parser* parser, CVL_ParseState* state) : m_pParser(parser), m_pState(state) {}
  CVL_Guard(CVL_Guard&& other) noexcept;
  CVL_Guard(const CVL_Guard&) = delete;
  CVL_Guard& operator=(const CVL_Guard&) = delete;
  ~CVL_Guard() noexcept(false);
  // Leaves the production on the normal path.
  void leave();

  CVL_Parser* m_pParser;
  CVL_ParseState* m_pState;  // null once left
};

class CVL_Parser {
 public:
  CVL_Parser();
  virtual ~CVL_Parser();
  CVL_Parser(const CVL_Parser&) = delete;
  CVL_Parser& operator=(const CVL_Parser&) = delete;

  // Looking ahead: the next token, a test that reports whether it could, and
  // the start of a parse.
  virtual int lookahead(CVL_ParseState& s, int elementIndex, int scannerIndex, bool ruleEndFlag,
                        const char* production, const char* element);
  virtual bool lookaheadTest(CVL_ParseState& s, int elementIndex, int scannerIndex,
                             bool ruleEndFlag, const char* production, const char* element);
  virtual void start(CVL_ParseState& s, int scannerIndex, int elementIndex,
                     const char* production = nullptr, const char* element = nullptr);
  // Matching tokens.
  virtual bool match(CVL_ParseState& s, int tokenId, int nextScannerIndex, bool ruleEndFlag,
                     const char* production, const char* element);
  virtual bool matchSkip(CVL_ParseState& s, int tokenId, const char* production,
                         const char* element);
  virtual bool consumeToken(CVL_ParseState& s, int tokenId, const char* production,
                            const char* element);
  // The inclusion hook; returns a new lookahead id or 0. Matching
  // and entering call them only while the state has an inclusion pending,
  // since there is nothing to parse otherwise.
  virtual int inclusionHook(CVL_ParseState& s, int elementIndex, const char* production,
                            const char* element);
  // Entering and leaving productions. `ruleEndFlag` is 0, 1, or
  // 2 for an inclusion production.
  virtual CVL_Guard enter(CVL_ParseState& s, int scannerIndex, int ruleEndFlag,
                          int productionIndex, const char* traceName);
  virtual void leave(CVL_ParseState& s);
  // Syntax errors.
  virtual void expectedError(CVL_ParseState& s, int tokenId, const char* production,
                             const char* element);
  virtual void skipExpectedError(CVL_ParseState& s, int tokenId, const char* production,
                                 const char* element);
  virtual void unexpectedError(CVL_ParseState& s, const char* production, const char* element);
  virtual void noProgressError(CVL_ParseState& s, const char* production, const char* element);
  virtual void incompleteError(CVL_ParseState& s, const char* production, const char* element);
  // Messages.
  virtual void message(CVL_ParseState& s, const char* text);
  virtual void warning(CVL_ParseState& s, const char* text);
  virtual void error(CVL_ParseState& s, const char* text);
  virtual void errorStop(CVL_ParseState& s, const char* text);
  virtual void addMessage(CVL_ParseState& s, const char* text, int begin, int end,
                          const char* production, const char* element, int kind);
  // Plugin forwards; they use the parser's own plugin and do
  // nothing (or return the default) without one.
  virtual void setSourcePath(const std::string& text, bool flag);
  virtual void setPluginText2(const std::string& text);
  virtual void setSourceDir(const std::string& text);
  virtual void setPluginText4(const std::string& text);
  virtual void reservedSlot();
  virtual std::string sourcePath() const;
  virtual std::string pluginText2() const;
  virtual bool sourceFlag() const;
  virtual std::string sourceDir() const;
  virtual std::string pluginText4() const;
  virtual void redirectOutput(const std::string& path, bool append);
  virtual void redirectOutputBinary(const std::string& path, bool append);
  virtual void closeOutput();
  virtual void pushDynamicKey(const std::string& key, int level);
  virtual void popDynamicKey(int level);
  virtual std::string activeDynamicKey();
  virtual void clearDynamicKeys(int level);
  virtual void pushIndent(int n);
  virtual void pushRelativeIndent(int n);
  virtual bool popIndent();
  virtual void clearIndent();
  virtual std::string indentation() const;

  // The plugin operations use: the parser's own, else the state's.
  CVL_ParseStatePlugin* pluginFor(const CVL_ParseState& s) const;
  // Scanner-table entry `index`; null for a negative index or without a table.
  const CVL_Scanner* scanner(int index) const {
    return index >= 0 && m_pScannerTable ? m_pScannerTable->scanner(index) : nullptr;
  }
  const CVL_PlainReading& plainReading(int index) const {
    static const CVL_PlainReading none;
    return m_pScannerTable ? m_pScannerTable->plainReading(index) : none;
  }

  CVL_ParseStatePlugin* m_pPlugin = nullptr;
  // Read-only; usually the one table every parser of the process shares.
  std::shared_ptr<const CVL_ScannerTable> m_pScannerTable;
  const symbol* (*m_fnSymbol)(int) = &GetSymbol;
  // Productions entered and not yet left, over every parse this parser runs.
  int m_NestingDepth = 0;

 private:
  // Throws when entering one more production would exceed kMaxNestingDepth.
  void checkNestingDepth() const;
  // Pushes the production's rule-end entry and hands out its guard.
  CVL_Guard enterProduction(CVL_ParseState& s, int scannerIndex, int ruleEndFlag,
                            int productionIndex);
  // Throws `Error` in raise mode; in collect mode records a parse error and
  // moves the state into `status`.
  template <class Error>
  void raiseOrRecord(CVL_ParseState& s, const std::string& text, const char* production,
                     const char* element, unsigned char status);
  // Whether a failed match reports "expected" (not in rescans or silent parses).
  static bool reportsFailedMatch(const CVL_ParseState& s);
  // In a nested parse of an included file, records a failed match without
  // stopping the parse, once per token; false elsewhere, where it is
  // raised or recorded as any syntax error.
  bool recordFailedMatchInFile(CVL_ParseState& s, const std::string& text,
                               const char* production, const char* element);
};

}  // namespace orvo
