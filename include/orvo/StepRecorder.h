// Keeps the steps of a run for the window's explorer panels: every macro
// expansion step with the text before and after it, every conditional's
// decision and every definition, up to a limit, so that a huge input cannot
// make the window hold millions of steps.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvo/Run.h"
#include "orvo/Observer.h"

namespace orvo {

// One step of an expansion, as the explorer shows it.
struct RecordedStep {
  enum class Kind {
    Call,         // a function-like call and its arguments
    Built,        // the replacement with the arguments put in
    Pass,         // one rescan pass
    Replacement,  // an object-like or predefined name replaced
    Result,       // the text the expansion gives
  };
  Kind kind = Kind::Call;
  ExpansionStep step;  // place (the outermost call's, for nested steps) and nesting
  std::string name;    // the macro
  std::string detail;  // one line: arguments, pass number, what expanded or stayed busy
  std::string before;  // the text the step starts from
  std::string after;   // the text it gives
  bool opensExpansion = false;  // a call, or an object-like name, whose steps follow
  // Macros a rescan pass met while they were being expanded and so left
  // as they stand.
  std::vector<std::string> busy = {};
};

// "call", "built", "pass", "replaced", "result".
const char* RecordedStepKindName(RecordedStep::Kind kind);

struct StepRecording {
  std::vector<RecordedStep> steps;
  std::vector<ConditionalEvent> conditionals;
  std::vector<MacroDefinedEvent> definitions;
  // Each #undef with the number of definitions recorded before it, which
  // places it among them.
  std::vector<std::pair<std::size_t, MacroUndefinedEvent>> undefinitions;
  // Set when a limit was reached (the item limit, or kMaxRecordedBytes of
  // text): steps, conditionals and definitions after that point were not
  // kept.
  bool truncated = false;
  std::size_t limit = 0;  // the item limit
};

// Items (steps, conditionals and definitions together) a recorder keeps by
// default: a few thousand lines of macro-heavy code.
inline constexpr std::size_t kDefaultRecordedItems = 20000;
// Bytes of text the kept items may hold together, so that a few thousand
// steps over huge replacement texts cannot exhaust memory either.
inline constexpr std::size_t kMaxRecordedBytes = std::size_t{64} << 20;

class StepRecorder : public RunObserver {
 public:
  explicit StepRecorder(std::size_t maxItems = kDefaultRecordedItems);

  void macroDefined(const MacroDefinedEvent& event) override;
  void macroUndefined(const MacroUndefinedEvent& event) override;
  void callCollected(const CallCollectedEvent& event) override;
  void expansionBuilt(const ExpansionBuiltEvent& event) override;
  void rescanPass(const RescanPassEvent& event) override;
  void replaced(const ReplacementEvent& event) override;
  void callFinished(const CallFinishedEvent& event) override;
  void conditional(const ConditionalEvent& event) override;

  // Hands over what was recorded; the recorder starts empty again.
  std::shared_ptr<const StepRecording> take();

 private:
  // Whether one more item of `bytes` bytes of text fits; marks the
  // recording truncated when not.
  bool roomForOne(std::size_t bytes);
  void addStep(RecordedStep step);
  struct OpenExpansion {
    int id = 0;
    std::string name;
    std::string start;  // the text it started from: its call or its name
  };
  const OpenExpansion* openExpansion(int id) const;

  std::size_t m_MaxItems;
  std::size_t m_Items = 0;
  std::size_t m_Bytes = 0;
  std::shared_ptr<StepRecording> m_Recording;
  std::vector<OpenExpansion> m_Open;
};

// A run's result with the steps recorded on the way.
struct RecordedRun {
  RunResult result;
  std::shared_ptr<const StepRecording> steps;
};

// Runs the preprocessor with a StepRecorder as its observer (replacing any
// observer in `options`); the result then carries its explanation too.
RecordedRun runRecorded(std::string_view input, RunOptions options,
                        std::size_t maxItems = kDefaultRecordedItems);

}  // namespace orvo
