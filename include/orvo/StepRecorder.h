// Keeps the steps of a run for the window's explorer panels: every macro
// expansion step with the text before and after it, every conditional's
// decision and every definition, up to a limit, so that a huge input cannot
// make the window hold millions of steps.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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
  // Sentences on what the step did that its texts alone do not show: a
  // blank it dropped and the tokens that ran together for it, or where a
  // predefined macro's value comes from.
  std::vector<std::string> notes = {};
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
  // Steps were kept from this line of the main input on (see
  // RecordingStart); 1 when the recording started with the run.
  int firstLine = 1;
  // The error that ended the run, when one did: the conditional it stopped
  // at, and everything after it, has no step.
  std::optional<MessageEvent> endingError;
  // The other errors the run reported in the main input, such as one that
  // standard C reports at a conditional and then goes on past.
  std::vector<MessageEvent> errors;
};

// Where a recording starts. A run whose steps past kDefaultRecordedItems
// were not kept can be run again with its recording starting at the line
// the user wants to see: the items before `line` are passed over and do not
// count against the limit.
struct RecordingStart {
  int line = 1;  // 1-based line of the main input
  // Directive lines before `line` whose decisions are kept all the same:
  // the conditionals `line` lies in.
  std::vector<int> conditionalLines = {};
};

// Items (steps, conditionals and definitions together) a recorder keeps by
// default: a few thousand lines of macro-heavy code.
inline constexpr std::size_t kDefaultRecordedItems = 20000;
// Bytes of text the kept items may hold together, so that a few thousand
// steps over huge replacement texts cannot exhaust memory either.
inline constexpr std::size_t kMaxRecordedBytes = std::size_t{64} << 20;

class StepRecorder : public RunObserver {
 public:
  explicit StepRecorder(std::size_t maxItems = kDefaultRecordedItems, RecordingStart start = {});

  void macroDefined(const MacroDefinedEvent& event) override;
  void macroUndefined(const MacroUndefinedEvent& event) override;
  void callCollected(const CallCollectedEvent& event) override;
  void expansionBuilt(const ExpansionBuiltEvent& event) override;
  void rescanPass(const RescanPassEvent& event) override;
  void replaced(const ReplacementEvent& event) override;
  void callFinished(const CallFinishedEvent& event) override;
  void conditional(const ConditionalEvent& event) override;
  void includeDirective(const IncludeEvent& event) override;
  void message(const MessageEvent& event) override;

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
    std::vector<std::string> arguments;  // a call's, as collected
    std::vector<std::string> parts;      // a call's replacement, built
    std::string value;                   // an object-like macro's value
  };
  OpenExpansion* openExpansion(int id);
  // Whether an event at `place` comes before the recording's start line;
  // the first one that does not starts the recording for good.
  bool beforeStart(const SourcePlace& place);
  // The parameters of the function-like macro `name` in force, or null.
  const std::vector<std::string>* parametersOf(const std::string& name) const;

  std::size_t m_MaxItems;
  RecordingStart m_Start;
  bool m_Started = false;
  // Each function-like macro's parameters, also those defined before the
  // start line, which name the arguments of its calls.
  std::map<std::string, std::vector<std::string>, std::less<>> m_Parameters;
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
                        std::size_t maxItems = kDefaultRecordedItems, RecordingStart start = {});

}  // namespace orvo
