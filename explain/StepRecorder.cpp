#include "orvo/StepRecorder.h"

#include <algorithm>
#include <utility>

#include "explain/DroppedBlanks.h"

namespace orvo {
namespace {

// How an argument with no tokens reads in a list of arguments.
const std::string kEmptyArgument = "(empty)";

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

}  // namespace

const char* RecordedStepKindName(RecordedStep::Kind kind) {
  switch (kind) {
    case RecordedStep::Kind::Call: return "call";
    case RecordedStep::Kind::Built: return "built";
    case RecordedStep::Kind::Pass: return "pass";
    case RecordedStep::Kind::Replacement: return "replaced";
    case RecordedStep::Kind::Result: return "result";
  }
  return "";
}

StepRecorder::StepRecorder(std::size_t maxItems, RecordingStart start)
    : m_MaxItems(maxItems),
      m_Start(std::move(start)),
      m_Started(m_Start.line <= 1),
      m_Recording(std::make_shared<StepRecording>()) {
  m_Recording->limit = maxItems;
  m_Recording->firstLine = std::max(1, m_Start.line);
}

bool StepRecorder::beforeStart(const SourcePlace& place) {
  // Events come in the order of the input: once one is at or past the
  // start line, all that follow are too.
  if (!m_Started && place.inMainInput && place.known() && place.line >= m_Start.line)
    m_Started = true;
  return !m_Started;
}

const std::vector<std::string>* StepRecorder::parametersOf(const std::string& name) const {
  const auto found = m_Parameters.find(name);
  return found != m_Parameters.end() ? &found->second : nullptr;
}

bool StepRecorder::roomForOne(std::size_t bytes) {
  if (!m_Recording->truncated && m_Items < m_MaxItems && bytes <= kMaxRecordedBytes - m_Bytes) {
    ++m_Items;
    m_Bytes += bytes;
    return true;
  }
  m_Recording->truncated = true;
  return false;
}

void StepRecorder::addStep(RecordedStep step) {
  if (roomForOne(step.before.size() + step.after.size() + step.detail.size()))
    m_Recording->steps.push_back(std::move(step));
}

StepRecorder::OpenExpansion* StepRecorder::openExpansion(int id) {
  for (auto open = m_Open.rbegin(); open != m_Open.rend(); ++open) {
    if (open->id == id) return &*open;
  }
  return nullptr;
}

void StepRecorder::macroDefined(const MacroDefinedEvent& event) {
  if (event.kind == MacroKind::FunctionLike) m_Parameters[event.name] = event.parameters;
  if (beforeStart(event.place)) return;
  if (roomForOne(event.replacement.size())) m_Recording->definitions.push_back(event);
}

void StepRecorder::macroUndefined(const MacroUndefinedEvent& event) {
  if (beforeStart(event.place)) return;
  if (roomForOne(event.name.size()))
    m_Recording->undefinitions.emplace_back(m_Recording->definitions.size(), event);
}

void StepRecorder::callCollected(const CallCollectedEvent& event) {
  if (beforeStart(event.place)) return;
  // A call written in another macro's text has no text of its own in the
  // input; the engine may then give the text its outermost call stands in.
  std::string callText = event.callText;
  if (callText.rfind(event.name, 0) != 0) callText = event.name + "(" + joined(event.arguments, ", ") + ")";
  m_Open.push_back({event.expansion, event.name, callText, event.arguments, {}});
  // The parameters of the definition in force name the arguments.
  const std::vector<std::string>* parameters = parametersOf(event.name);
  std::vector<std::string> arguments;
  for (std::size_t i = 0; i < event.arguments.size(); ++i) {
    const bool named = parameters != nullptr && i < parameters->size();
    const std::string& text = event.arguments[i].empty() ? kEmptyArgument : event.arguments[i];
    arguments.push_back(named ? (*parameters)[i] + " = " + text : text);
  }
  // A macro without parameters called as F() gets one empty argument:
  // no list to show.
  const bool noList = arguments.empty() ||
                      (parameters != nullptr && parameters->empty() && arguments.size() == 1 &&
                       event.arguments.front().empty());
  std::string detail = noList ? std::string() : "arguments: " + joined(arguments, ", ");
  RecordedStep step{RecordedStep::Kind::Call, event, event.name, std::move(detail), callText,
                    callText, true};
  if (!event.argumentCountMessage.empty()) {
    // The message as the engine writes it after the result, as a comment.
    std::string message = event.argumentCountMessage;
    message.erase(0, message.find_first_not_of(" /"));
    step.detail += (step.detail.empty() ? "" : "; ") + std::string("wrong number of arguments");
    step.notes.push_back("the number of arguments does not match the definition (" + message +
                         "); the call is expanded all the same, and the message follows the "
                         "result as a comment");
  }
  addStep(std::move(step));
}

void StepRecorder::expansionBuilt(const ExpansionBuiltEvent& event) {
  if (beforeStart(event.place)) return;
  OpenExpansion* open = openExpansion(event.expansion);
  if (open != nullptr) open->parts = event.parts;
  RecordedStep step{RecordedStep::Kind::Built, event, event.name,
                    "arguments put in, # and ## applied", open != nullptr ? open->start : event.name,
                    event.text};
  step.notes = joinedPartsNotes(event.parts);
  if (!step.notes.empty()) step.detail += "; tokens run together";
  addStep(std::move(step));
}

void StepRecorder::rescanPass(const RescanPassEvent& event) {
  if (beforeStart(event.place)) return;
  std::vector<std::string> notes = passBlankNotes(event.before, event.after);
  std::string detail = event.whole ? "rescan of the whole result" : "rescan pass " + std::to_string(event.pass);
  if (!event.expanded.empty()) detail += "; expanded: " + joined(event.expanded, ", ");
  if (!event.busy.empty()) detail += "; left as they stand (being expanded): " + joined(event.busy, ", ");
  const OpenExpansion* open = openExpansion(event.expansion);
  if (!notes.empty()) detail += notes.size() == 1 ? "; a blank is dropped" : "; blanks are dropped";
  addStep({RecordedStep::Kind::Pass, event, open != nullptr ? open->name : std::string(),
           std::move(detail), event.before, event.after, false, event.busy, std::move(notes)});
}

void StepRecorder::replaced(const ReplacementEvent& event) {
  if (beforeStart(event.place)) return;
  const bool predefined = event.kind == MacroKind::Predefined;
  if (!predefined) m_Open.push_back({event.expansion, event.name, event.name, {}, {}, event.value});
  RecordedStep step{RecordedStep::Kind::Replacement, event, event.name,
                    std::string(MacroKindName(event.kind)) + " macro " + event.name, event.name,
                    event.value, !predefined};
  if (predefined && event.value.empty()) {
    step.detail += ", worked out by the compiler";
    step.notes.push_back(event.name + " is a built-in macro whose value the compiler works out "
                         "as it expands it; the value is not shown here");
  } else {
    step.detail += " → " + event.value;
    if (predefined)
      step.notes.push_back(event.name + " is a predefined macro: its value here is " + event.value +
                           ", put in as it stands, without a rescan");
  }
  addStep(std::move(step));
}

void StepRecorder::callFinished(const CallFinishedEvent& event) {
  if (beforeStart(event.place)) return;
  const OpenExpansion* open = openExpansion(event.expansion);
  // A nested expansion's result goes into the text of the one around it.
  RecordedStep step{RecordedStep::Kind::Result, event, event.name,
                    event.parent == 0 ? "the text that goes into the line" : "the text it gives",
                    open != nullptr ? open->start : event.name, event.result};
  if (event.parent != 0 && event.result.empty() && open != nullptr && !open->value.empty()) {
    // An object-like macro's value that left no token of its own in the
    // output: the expansion around it made other tokens of them.
    step.notes.push_back("none of its tokens reach the output as they are: the expansion around "
                         "it pasted or stringified them, or dropped them");
  }
  if (open != nullptr && !open->parts.empty()) {
    step.notes = droppedBlankNotes(open->start, open->arguments, open->parts, event.result);
    if (step.notes.size() == 1)
      step.detail += "; a blank is dropped";
    else if (!step.notes.empty())
      step.detail += "; blanks are dropped";
  }
  addStep(std::move(step));
  if (!m_Open.empty() && m_Open.back().id == event.expansion) m_Open.pop_back();
}

void StepRecorder::conditional(const ConditionalEvent& event) {
  const bool wanted = !beforeStart(event.place) ||
                      (event.place.inMainInput &&
                       std::find(m_Start.conditionalLines.begin(), m_Start.conditionalLines.end(),
                                 event.place.line) != m_Start.conditionalLines.end());
  if (wanted && roomForOne(event.expression.size())) m_Recording->conditionals.push_back(event);
}

void StepRecorder::includeDirective(const IncludeEvent& event) { beforeStart(event.place); }

void StepRecorder::message(const MessageEvent& event) {
  if (event.endedRun) {
    m_Recording->endingError = event;
  } else if (event.severity == Severity::Error && event.place.inMainInput &&
             !beforeStart(event.place) && roomForOne(event.text.size())) {
    m_Recording->errors.push_back(event);
  }
}

std::shared_ptr<const StepRecording> StepRecorder::take() {
  std::shared_ptr<const StepRecording> taken = std::move(m_Recording);
  m_Recording = std::make_shared<StepRecording>();
  m_Recording->limit = m_MaxItems;
  m_Recording->firstLine = std::max(1, m_Start.line);
  m_Started = m_Start.line <= 1;
  m_Items = 0;
  m_Bytes = 0;
  m_Open.clear();
  m_Parameters.clear();
  return taken;
}

RecordedRun runRecorded(std::string_view input, RunOptions options, std::size_t maxItems,
                        RecordingStart start) {
  StepRecorder recorder(maxItems, std::move(start));
  options.observer = &recorder;
  RecordedRun run;
  run.result = runPreprocessor(input, options);
  run.steps = recorder.take();
  return run;
}

}  // namespace orvo
