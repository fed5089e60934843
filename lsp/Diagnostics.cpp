#include "lsp/Diagnostics.h"

#include "lsp/ProtocolTypes.h"

namespace orvo::lsp {

namespace {

// The protocol's DiagnosticSeverity values.
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSeverityInformation = 3;

int severityOf(Severity severity) {
  switch (severity) {
    case Severity::Error: return kSeverityError;
    case Severity::Warning: return kSeverityWarning;
    case Severity::Note: return kSeverityInformation;
  }
  return kSeverityInformation;
}

nlohmann::json diagnosticJson(const Diagnostic& diagnostic, const std::string& source,
                              const std::string& uri) {
  nlohmann::json json = {{"severity", severityOf(diagnostic.severity)}, {"source", source}};
  std::string message = diagnostic.text;
  SourcePlace shownAt;
  if (diagnostic.place && diagnostic.place->inMainInput) {
    shownAt = *diagnostic.place;
  } else if (diagnostic.place && !diagnostic.place->includedFrom.empty()) {
    // A message in a header is shown at the main input's #include that led there.
    const IncludeStep& include = diagnostic.place->includedFrom.front();
    shownAt.line = include.line;
    shownAt.column = include.column;
    message = "in " + diagnostic.place->file + ":" + std::to_string(diagnostic.place->line) +
              ": " + message;
  } else if (diagnostic.place && diagnostic.place->known()) {
    message = diagnostic.place->file + ": " + message;
  }
  json["range"] = rangeOf(shownAt);
  json["message"] = message;
  nlohmann::json related = nlohmann::json::array();
  for (const DiagnosticNote& note : diagnostic.notes) {
    const SourcePlace& place = note.place ? *note.place : (diagnostic.place ? *diagnostic.place : shownAt);
    related.push_back({{"location", locationOf(place, uri)}, {"message", note.text}});
  }
  if (!related.empty()) json["relatedInformation"] = related;
  return json;
}

void addRunMessages(nlohmann::json& list, const RunResult& result, const std::string& source,
                    const std::string& uri) {
  // The engines give some notes ("previous definition is here") as
  // messages of their own right after the one they belong to: they become
  // that message's notes. Notes that belong to none are detail a user did
  // not ask for, and are left out.
  std::vector<Diagnostic> merged;
  for (const Diagnostic& diagnostic : result.diagnostics) {
    if (diagnostic.severity != Severity::Note)
      merged.push_back(diagnostic);
    else if (!merged.empty())
      merged.back().notes.push_back(DiagnosticNote{diagnostic.text, diagnostic.place});
  }
  for (const Diagnostic& diagnostic : merged) list.push_back(diagnosticJson(diagnostic, source, uri));
  if (result.error) list.push_back(diagnosticJson(result.error->diagnostic(), source, uri));
}

}  // namespace

nlohmann::json diagnosticsParams(const FinishedRun& run) {
  nlohmann::json list = nlohmann::json::array();
  addRunMessages(list, run.standard, "standard C", run.uri);
  if (run.main) addRunMessages(list, *run.main, "orvo", run.uri);
  for (const compare::Difference& difference : run.differences) {
    SourcePlace place;
    place.line = difference.inputLine;
    place.column = 1;
    nlohmann::json json = {{"severity", kSeverityInformation},
                           {"source", "orvo"},
                           {"code", difference.rule},
                           {"range", rangeOf(place)},
                           {"message", "the engines differ: " + difference.reason}};
    list.push_back(std::move(json));
  }
  if (list.size() > kMaxPublishedDiagnostics) {
    const std::size_t dropped = list.size() - kMaxPublishedDiagnostics + 1;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kMaxPublishedDiagnostics - 1), list.end());
    list.push_back({{"severity", kSeverityInformation},
                    {"source", "orvo"},
                    {"range", rangeOf(SourcePlace{})},
                    {"message", std::to_string(dropped) + " more messages not shown"}});
  }
  return {{"uri", run.uri}, {"version", run.version}, {"diagnostics", list}};
}

}  // namespace orvo::lsp
