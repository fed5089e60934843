#include "orvo/StepRecorder.h"

#include <utility>

namespace orvo {
namespace {

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

StepRecorder::StepRecorder(std::size_t maxItems)
    : m_MaxItems(maxItems), m_Recording(std::make_shared<StepRecording>()) {
  m_Recording->limit = maxItems;
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

const StepRecorder::OpenExpansion* StepRecorder::openExpansion(int id) const {
  for (auto open = m_Open.rbegin(); open != m_Open.rend(); ++open) {
    if (open->id == id) return &*open;
  }
  return nullptr;
}

void StepRecorder::macroDefined(const MacroDefinedEvent& event) {
  if (roomForOne(event.replacement.size())) m_Recording->definitions.push_back(event);
}

void StepRecorder::macroUndefined(const MacroUndefinedEvent& event) {
  if (roomForOne(event.name.size()))
    m_Recording->undefinitions.emplace_back(m_Recording->definitions.size(), event);
}

void StepRecorder::callCollected(const CallCollectedEvent& event) {
  m_Open.push_back({event.expansion, event.name, event.callText});
  // The parameters of the definition in force name the arguments.
  const std::vector<std::string>* parameters = nullptr;
  for (auto d = m_Recording->definitions.rbegin(); d != m_Recording->definitions.rend(); ++d) {
    if (d->name == event.name && d->kind == MacroKind::FunctionLike) {
      parameters = &d->parameters;
      break;
    }
  }
  std::vector<std::string> arguments;
  for (std::size_t i = 0; i < event.arguments.size(); ++i) {
    const bool named = parameters != nullptr && i < parameters->size();
    arguments.push_back(named ? (*parameters)[i] + " = " + event.arguments[i] : event.arguments[i]);
  }
  // A macro without parameters called as F() gets one empty argument:
  // no list to show.
  const bool noList = arguments.empty() ||
                      (parameters != nullptr && parameters->empty() && arguments.size() == 1 &&
                       arguments.front().empty());
  std::string detail = noList ? std::string() : "arguments: " + joined(arguments, ", ");
  if (!event.argumentCountMessage.empty())
    detail += (detail.empty() ? "(" : " (") + event.argumentCountMessage + ")";
  addStep({RecordedStep::Kind::Call, event, event.name, std::move(detail), event.callText,
           event.callText, true});
}

void StepRecorder::expansionBuilt(const ExpansionBuiltEvent& event) {
  const OpenExpansion* open = openExpansion(event.expansion);
  addStep({RecordedStep::Kind::Built, event, event.name, "arguments put in, # and ## applied",
           open != nullptr ? open->start : event.name, event.text});
}

void StepRecorder::rescanPass(const RescanPassEvent& event) {
  std::string detail = event.whole ? "rescan of the whole result" : "rescan pass " + std::to_string(event.pass);
  if (!event.expanded.empty()) detail += "; expanded: " + joined(event.expanded, ", ");
  if (!event.busy.empty()) detail += "; left as they stand (being expanded): " + joined(event.busy, ", ");
  const OpenExpansion* open = openExpansion(event.expansion);
  addStep({RecordedStep::Kind::Pass, event, open != nullptr ? open->name : std::string(),
           std::move(detail), event.before, event.after, false, event.busy});
}

void StepRecorder::replaced(const ReplacementEvent& event) {
  const bool opens = event.kind != MacroKind::Predefined;
  if (opens) m_Open.push_back({event.expansion, event.name, event.name});
  addStep({RecordedStep::Kind::Replacement, event, event.name,
           std::string(MacroKindName(event.kind)) + " macro replaced", event.name, event.value,
           opens});
}

void StepRecorder::callFinished(const CallFinishedEvent& event) {
  const OpenExpansion* open = openExpansion(event.expansion);
  addStep({RecordedStep::Kind::Result, event, event.name, "the text that goes into the line",
           open != nullptr ? open->start : event.name, event.result});
  if (!m_Open.empty() && m_Open.back().id == event.expansion) m_Open.pop_back();
}

void StepRecorder::conditional(const ConditionalEvent& event) {
  if (roomForOne(event.expression.size())) m_Recording->conditionals.push_back(event);
}

std::shared_ptr<const StepRecording> StepRecorder::take() {
  std::shared_ptr<const StepRecording> taken = std::move(m_Recording);
  m_Recording = std::make_shared<StepRecording>();
  m_Recording->limit = m_MaxItems;
  m_Items = 0;
  m_Bytes = 0;
  m_Open.clear();
  return taken;
}

RecordedRun runRecorded(std::string_view input, RunOptions options, std::size_t maxItems) {
  StepRecorder recorder(maxItems);
  options.observer = &recorder;
  RecordedRun run;
  run.result = runPreprocessor(input, options);
  run.steps = recorder.take();
  return run;
}

}  // namespace orvo
