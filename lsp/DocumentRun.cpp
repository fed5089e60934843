#include "lsp/DocumentRun.h"

#include <filesystem>

#include "orvo/StandardRun.h"
#include "lsp/CompileCommands.h"
#include "lsp/TextPosition.h"

namespace orvo::lsp {

namespace {

// A step recorder that also keeps the include directives of the main input,
// for the hover on #include.
class RecordingObserver : public StepRecorder {
 public:
  RecordingObserver() : StepRecorder(kRecordedItemsPerRun) {}
  void includeDirective(const IncludeEvent& event) override {
    StepRecorder::includeDirective(event);
    if (event.place.inMainInput) m_Includes.push_back(event);
  }
  std::vector<IncludeEvent> takeIncludes() { return std::move(m_Includes); }

 private:
  std::vector<IncludeEvent> m_Includes;
};

bool cancelledResult(const RunResult& result) {
  return result.error && result.error->text == kCancelledText;
}

}  // namespace

std::shared_ptr<const FinishedRun> runDocument(const std::string& uri, long version,
                                               const std::string& text,
                                               const RunSettings& settings,
                                               const std::atomic<bool>& cancel) {
  auto run = std::make_shared<FinishedRun>();
  run->uri = uri;
  run->version = version;
  run->text = text;

  const std::filesystem::path path = pathOfUri(uri);
  RunOptions options;
  options.inputName = path.string();
  options.sourceDir = path.parent_path().string();
  // The project's flags for the file come first, then the user's settings.
  if (std::optional<CompileFlags> flags = compileFlagsFor(path)) {
    options.includeDirectories = std::move(flags->includeDirectories);
    options.commandLineMacros = std::move(flags->macros);
  }
  options.includeDirectories.insert(options.includeDirectories.end(),
                                    settings.includeDirectories.begin(),
                                    settings.includeDirectories.end());
  options.commandLineMacros.insert(options.commandLineMacros.end(), settings.macros.begin(),
                                   settings.macros.end());
  run->includeDirectories = options.includeDirectories;
  options.cancelRequested = &cancel;

  RecordingObserver standardObserver;
  if (settings.bothEngines) {
    StepRecorder mainObserver(kRecordedItemsPerRun);
    compare::Comparison comparison =
        compare::compareRuns(text, options, &mainObserver, &standardObserver);
    run->standard = std::move(comparison.standard);
    run->main = std::move(comparison.main);
    run->differences = std::move(comparison.differences);
    run->mainSteps = mainObserver.take();
  } else {
    options.observer = &standardObserver;
    run->standard = runStandardC(text, options);
  }
  run->standardSteps = standardObserver.take();
  run->includes = standardObserver.takeIncludes();
  return run;
}

bool wasCancelled(const FinishedRun& run) {
  return cancelledResult(run.standard) || (run.main && cancelledResult(*run.main));
}

}  // namespace orvo::lsp
