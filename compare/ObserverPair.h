// Two observers of one run: every event goes to the first, then to the
// second (which may be null). Lets a comparison log the events it needs for
// its reasons while a caller records the same run for the explorer.
#pragma once

#include "orvo/Observer.h"

namespace orvo::compare {

class ObserverPair : public RunObserver {
 public:
  ObserverPair(RunObserver& first, RunObserver* second) : m_First(first), m_Second(second) {}

  void macroDefined(const MacroDefinedEvent& e) override { both(&RunObserver::macroDefined, e); }
  void macroUndefined(const MacroUndefinedEvent& e) override { both(&RunObserver::macroUndefined, e); }
  void callCollected(const CallCollectedEvent& e) override { both(&RunObserver::callCollected, e); }
  void expansionBuilt(const ExpansionBuiltEvent& e) override { both(&RunObserver::expansionBuilt, e); }
  void rescanPass(const RescanPassEvent& e) override { both(&RunObserver::rescanPass, e); }
  void replaced(const ReplacementEvent& e) override { both(&RunObserver::replaced, e); }
  void callFinished(const CallFinishedEvent& e) override { both(&RunObserver::callFinished, e); }
  void conditional(const ConditionalEvent& e) override { both(&RunObserver::conditional, e); }
  void includeDirective(const IncludeEvent& e) override { both(&RunObserver::includeDirective, e); }
  void includeLeft(const IncludeLeftEvent& e) override { both(&RunObserver::includeLeft, e); }
  void message(const MessageEvent& e) override { both(&RunObserver::message, e); }

 private:
  template <typename Event>
  void both(void (RunObserver::*handler)(const Event&), const Event& event) {
    (m_First.*handler)(event);
    if (m_Second != nullptr) (m_Second->*handler)(event);
  }

  RunObserver& m_First;
  RunObserver* m_Second;
};

}  // namespace orvo::compare
