#include "cli/CompareCommand.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace orvo::cli {
namespace {

constexpr std::string_view kMainLabel = " [orvo]";
constexpr std::string_view kStandardLabel = " [standard C]";

std::string placeText(const compare::Difference& difference) {
  if (!difference.place || !difference.place->known()) return "<output>";
  return difference.place->file + ":" + std::to_string(difference.place->line) + ":" +
         std::to_string(std::max(1, difference.place->column));
}

// Texts come from the input: control bytes are shown as '?', and a text of
// several lines continues under the first, at `indent`.
std::string shown(std::string_view text, std::string_view indent) {
  std::string result;
  for (const char c : text) {
    if (c == '\n') {
      result += '\n';
      result += indent;
    } else if (c != '\r') {
      const auto byte = static_cast<unsigned char>(c);
      result += (byte < 0x20 && c != '\t') || byte == 0x7f ? '?' : c;
    }
  }
  return result;
}

std::string result(const std::string& text, std::string_view indent) {
  return text.empty() ? "(nothing)" : shown(text, indent);
}

nlohmann::json messageJson(const Diagnostic& message) {
  nlohmann::json json = {{"severity", severityName(message.severity)}, {"text", message.text}};
  if (message.place) {
    json["file"] = message.place->file;
    json["line"] = message.place->line;
    json["column"] = message.place->column;
  }
  return json;
}

nlohmann::json differenceJson(const compare::Difference& difference) {
  nlohmann::json line = {{"event", "difference"},
                         {"rule", difference.rule},
                         {"reason", difference.reason},
                         {"orvo", difference.mainText},
                         {"standard", difference.standardText},
                         {"orvoLine", difference.mainLine},
                         {"standardLine", difference.standardLine},
                         {"inputLine", difference.inputLine}};
  if (difference.place) {
    line["file"] = difference.place->file;
    line["line"] = difference.place->line;
    line["column"] = difference.place->column;
    nlohmann::json chain = nlohmann::json::array();
    for (const IncludeStep& step : difference.place->includedFrom)
      chain.push_back({{"file", step.file}, {"line", step.line}, {"column", step.column}});
    line["includedFrom"] = std::move(chain);
  }
  if (difference.mainMessage) line["orvoMessage"] = messageJson(*difference.mainMessage);
  if (difference.standardMessage) line["standardMessage"] = messageJson(*difference.standardMessage);
  return line;
}

void printDifference(const compare::Difference& difference, std::ostream& out) {
  constexpr std::string_view kResultIndent = "              ";  // under "  standard C: "
  if (difference.place)
    for (const IncludeStep& step : difference.place->includedFrom)
      out << "In file included from " << step.file << ":" << step.line << ":\n";
  out << placeText(difference) << ": difference: " << shown(difference.reason, "    ") << "\n";
  if (difference.place && !difference.place->lineText.empty())
    out << "    " << shown(difference.place->lineText, "    ") << "\n";
  out << "  orvo:       " << result(difference.mainText, kResultIndent) << "\n"
      << "  standard C: " << result(difference.standardText, kResultIndent) << "\n";
}

// One run's messages, each marked with the engine that gave it.
void printMessages(const RunResult& run, std::string_view label, const CompareReport& report,
                   std::ostream& messages) {
  DiagnosticPrinter printer(messages, report.style);
  auto labelled = [&](Diagnostic diagnostic) {
    diagnostic.text += label;
    return diagnostic;
  };
  for (const Diagnostic& diagnostic : run.diagnostics) {
    if (diagnostic.severity == Severity::Note && !report.allMessages) continue;
    printer.print(labelled(diagnostic));
  }
  if (run.ok()) return;
  if (run.error->fromCommandLine) {
    messages << kCommandLinePlace << ": error: " << run.error->text << label << "\n";
  } else if (!run.error->place || !run.error->place->known()) {
    messages << "orvo-pp: error: " << run.error->text << label << "\n";
  } else {
    printer.print(labelled(run.error->diagnostic()));
  }
}

}  // namespace

int printComparison(const compare::Comparison& comparison, const CompareReport& report,
                    std::ostream& out, std::ostream& messages) {
  printMessages(comparison.main, kMainLabel, report, messages);
  printMessages(comparison.standard, kStandardLabel, report, messages);
  if (comparison.trouble) {
    messages << "orvo-pp: standard C stopped, so the results are not compared\n";
    return kCompareTrouble;
  }
  for (const compare::Difference& difference : comparison.differences) {
    if (report.json)
      out << differenceJson(difference).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    else
      printDifference(difference, out);
  }
  if (comparison.standardFailed()) {
    messages << "orvo-pp: standard C reports an error in this input (see above)\n";
    return kCompareTrouble;
  }
  return comparison.differences.empty() ? kCompareAgree : kCompareDiffer;
}

}  // namespace orvo::cli
