// orvo-pp --trace: the steps of a run as an indented, readable trace, one
// line per step. A macro expansion is written when its outermost call is
// finished: first a line with the call, the text before its last pass and
// the result, then its steps one level deeper.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "orvo/Observer.h"

namespace orvo::cli {

class TextTrace : public RunObserver {
 public:
  explicit TextTrace(std::ostream& out) : m_Out(out) {}

  void macroDefined(const MacroDefinedEvent& event) override;
  void macroUndefined(const MacroUndefinedEvent& event) override;
  void callCollected(const CallCollectedEvent& event) override;
  void expansionBuilt(const ExpansionBuiltEvent& event) override;
  void rescanPass(const RescanPassEvent& event) override;
  void replaced(const ReplacementEvent& event) override;
  void callFinished(const CallFinishedEvent& event) override;
  void conditional(const ConditionalEvent& event) override;
  void includeDirective(const IncludeEvent& event) override;
  void includeLeft(const IncludeLeftEvent& event) override;
  void message(const MessageEvent& event) override;

 private:
  struct Open {
    std::size_t headerLine;  // index in m_Lines of the line written when it finishes
    std::string place;
    std::string start;       // the call as written, or the macro's name
    std::string lastPassBefore;
  };

  // Writes `text` at the current include depth plus `extraIndent` levels; inside
  // an expansion the line waits until the outermost one is finished.
  void line(int extraIndent, const std::string& text);
  int expansionIndent() const { return static_cast<int>(m_Open.size()); }
  void flushLines();
  // Starts an expansion whose header names `start` at `place`.
  void open(std::string place, std::string start);

  std::ostream& m_Out;
  int m_IncludeDepth = 0;
  std::vector<Open> m_Open;
  std::vector<std::string> m_Lines;
};

}  // namespace orvo::cli
