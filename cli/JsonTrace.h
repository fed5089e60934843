// orvo-pp --trace=json: one JSON object per line for each step of a run,
// for tools and tests. The fields are listed in the README.
#pragma once

#include <ostream>

#include "orvo/Diagnostic.h"
#include "orvo/Observer.h"

namespace orvo::cli {

class JsonTrace : public RunObserver {
 public:
  explicit JsonTrace(std::ostream& out) : m_Out(out) {}

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

  // After the run: a "notes" object for each message that has notes, with
  // the message's severity, text and place and the notes in order.
  void notes(const Diagnostic& diagnostic);

 private:
  std::ostream& m_Out;
};

}  // namespace orvo::cli
