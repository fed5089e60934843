// One run of a document's text through the engines, with everything the
// features answer from: the steps of every expansion, every conditional's
// decision, every include and every message.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "orvo/Comparison.h"
#include "orvo/Observer.h"
#include "orvo/Run.h"
#include "orvo/StepRecorder.h"

namespace orvo::lsp {

// Steps kept per run of a document: every expansion of a 10,000-line file
// of macro calls (about 20 steps a line), ten times the window's default,
// where one file is all the server keeps steps for; their text stays within
// kMaxRecordedBytes all the same.
inline constexpr std::size_t kRecordedItemsPerRun = 200000;

// What the user set (initializationOptions or workspace/didChangeConfiguration).
struct RunSettings {
  // Run this preprocessor's rules beside standard C and show both.
  bool bothEngines = false;
  std::vector<std::string> includeDirectories;
  std::vector<CommandLineMacro> macros;
};

struct FinishedRun {
  std::string uri;
  long version = 0;
  std::string text;  // the text that was run, to which all offsets refer
  RunResult standard;
  std::shared_ptr<const StepRecording> standardSteps;
  std::vector<IncludeEvent> includes;  // the main input's own #include lines
  std::vector<std::string> includeDirectories;  // searched, in order
  // Set when both engines ran.
  std::optional<RunResult> main;
  std::shared_ptr<const StepRecording> mainSteps;
  std::vector<compare::Difference> differences;
};

// Runs `text` (the document `uri`, at `version`) with `settings`; ends
// early with the run's cancellation error once `cancel` is set.
std::shared_ptr<const FinishedRun> runDocument(const std::string& uri, long version,
                                               const std::string& text,
                                               const RunSettings& settings,
                                               const std::atomic<bool>& cancel);

// Whether a run ended because it was cancelled.
bool wasCancelled(const FinishedRun& run);

}  // namespace orvo::lsp
