#include "cli/JsonTrace.h"

#include <nlohmann/json.hpp>

namespace orvo::cli {
namespace {

// Keys stay in the order written, "event" first.
using json = nlohmann::ordered_json;

json Begin(const char* kind, const SourcePlace& place) {
  json object = {{"event", kind}};
  if (place.known()) {
    object["file"] = place.file;
    object["line"] = place.line;
    object["column"] = place.column;
    object["begin"] = place.begin;
    object["end"] = place.end;
  }
  return object;
}

json Begin(const char* kind, const ExpansionStep& step) {
  json object = Begin(kind, step.place);
  object["expansion"] = step.expansion;
  object["parent"] = step.parent;
  object["depth"] = step.depth;
  return object;
}

// One object per line. Texts are bytes; a byte sequence that is not UTF-8
// is written as U+FFFD, since JSON strings hold Unicode text only.
void Write(std::ostream& out, const json& object) {
  out << object.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace

void JsonTrace::macroDefined(const MacroDefinedEvent& event) {
  json object = Begin("define", event.place);
  object["name"] = event.name;
  object["kind"] = MacroKindName(event.kind);
  if (event.kind == MacroKind::FunctionLike) object["parameters"] = event.parameters;
  object["replacement"] = event.replacement;
  object["redefined"] = event.redefined;
  Write(m_Out, object);
}

void JsonTrace::macroUndefined(const MacroUndefinedEvent& event) {
  json object = Begin("undef", event.place);
  object["name"] = event.name;
  object["removedPredefined"] = event.removedPredefined;
  object["removedObjectLike"] = event.removedObjectLike;
  object["functionLikeStays"] = event.functionLikeStays;
  Write(m_Out, object);
}

void JsonTrace::callCollected(const CallCollectedEvent& event) {
  json object = Begin("call", event);
  object["name"] = event.name;
  object["text"] = event.callText;
  object["arguments"] = event.arguments;
  if (!event.argumentCountMessage.empty()) object["countMessage"] = event.argumentCountMessage;
  Write(m_Out, object);
}

void JsonTrace::expansionBuilt(const ExpansionBuiltEvent& event) {
  json object = Begin("built", event);
  object["name"] = event.name;
  object["parts"] = event.parts;
  object["text"] = event.text;
  Write(m_Out, object);
}

void JsonTrace::rescanPass(const RescanPassEvent& event) {
  json object = Begin("pass", event);
  object["pass"] = event.pass;
  object["whole"] = event.whole;
  object["before"] = event.before;
  object["after"] = event.after;
  object["expanded"] = event.expanded;
  object["busy"] = event.busy;
  Write(m_Out, object);
}

void JsonTrace::replaced(const ReplacementEvent& event) {
  json object = Begin("replace", event);
  object["name"] = event.name;
  object["kind"] = MacroKindName(event.kind);
  object["value"] = event.value;
  Write(m_Out, object);
}

void JsonTrace::callFinished(const CallFinishedEvent& event) {
  json object = Begin("finish", event);
  object["name"] = event.name;
  object["result"] = event.result;
  Write(m_Out, object);
}

void JsonTrace::conditional(const ConditionalEvent& event) {
  json object = Begin("conditional", event.place);
  object["directive"] = event.directive;
  object["expression"] = event.expression;
  object["names"] = json::object();
  for (const auto& [name, value] : event.names) object["names"][name] = value;
  object["value"] = event.value;
  object["taken"] = event.taken;
  object["earlierBranchTaken"] = event.earlierBranchTaken;
  if (event.skippedFirstLine > 0)
    object["skipped"] = {event.skippedFirstLine, event.skippedLastLine};
  Write(m_Out, object);
}

void JsonTrace::includeDirective(const IncludeEvent& event) {
  json object = Begin("include", event.place);
  object["name"] = event.name;
  object["angled"] = event.angled;
  object["found"] = event.found;
  object["loaded"] = event.loaded;
  if (event.found) object["path"] = event.path;
  object["depth"] = event.depth;
  Write(m_Out, object);
}

void JsonTrace::includeLeft(const IncludeLeftEvent& event) {
  json object = {{"event", "include-left"}, {"name", event.name}, {"path", event.path},
                 {"depth", event.depth}};
  Write(m_Out, object);
}

void JsonTrace::message(const MessageEvent& event) {
  json object = Begin("message", event.place);
  object["severity"] = severityName(event.severity);
  object["text"] = event.text;
  object["endedRun"] = event.endedRun;
  Write(m_Out, object);
}

void JsonTrace::notes(const Diagnostic& diagnostic) {
  if (diagnostic.notes.empty()) return;
  const SourcePlace none;
  json object = Begin("notes", diagnostic.place ? *diagnostic.place : none);
  object["severity"] = severityName(diagnostic.severity);
  object["text"] = diagnostic.text;
  json notes = json::array();
  for (const DiagnosticNote& note : diagnostic.notes) {
    json entry = {{"text", note.text}};
    if (note.place && note.place->known()) {
      entry["file"] = note.place->file;
      entry["line"] = note.place->line;
      entry["column"] = note.place->column;
      entry["begin"] = note.place->begin;
      entry["end"] = note.place->end;
    }
    notes.push_back(std::move(entry));
  }
  object["notes"] = std::move(notes);
  Write(m_Out, object);
}

}  // namespace orvo::cli
