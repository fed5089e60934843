// Small helpers for end-to-end tests of the preprocessing run.
#pragma once

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "orvo/Run.h"

namespace orvo::test {

// Time budgets of tests, scaled for builds with sanitizers and for runs in
// the reference mode, which are several times slower.
#ifdef ORVO_SANITIZED
inline constexpr int kSlowdown = 5;
#else
inline constexpr int kSlowdown = 1;
#endif
inline std::chrono::milliseconds budget(int milliseconds) {
  const int matcherSlowdown = modeFromEnvironment() == Mode::Reference ? 5 : 1;
  return std::chrono::milliseconds(milliseconds * kSlowdown * matcherSlowdown);
}

// Output of a run over `input`; throws when an error ended the run.
inline std::string pp(std::string_view input, const RunOptions& options = {}) {
  RunResult result = runPreprocessor(input, options);
  if (!result.ok()) throw std::runtime_error("run failed: " + result.error->text);
  return result.output;
}

// Text of the error that ended a run over `input`, or "<no error>".
inline std::string ppError(std::string_view input, const RunOptions& options = {}) {
  const RunResult result = runPreprocessor(input, options);
  return result.ok() ? std::string("<no error>") : result.error->text;
}

// Everything a run reports, in one comparable text: its output, its error
// and every message, each with its place.
inline std::string RunSummary(const RunResult& result) {
  const auto describe = [](const Diagnostic& d) {
    std::string text = d.text;
    if (d.place) {
      text += " @" + d.place->file + ":" + std::to_string(d.place->line) + ":" +
              std::to_string(d.place->column) + " " + std::to_string(d.place->begin) + "-" +
              std::to_string(d.place->end);
    }
    return text + "\n";
  };
  std::string text = "output: " + result.output + "\n";
  if (result.error) text += "error: " + describe(result.error->diagnostic());
  for (const Diagnostic& d : result.diagnostics) text += "diagnostic: " + describe(d);
  return text;
}

// Joins lines with CR LF, the line ends the window hands to the engine.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

}  // namespace orvo::test
