#include "app/RecordingFromLine.h"

#include <QObject>
#include <atomic>

#include "app/BlockingRun.h"
#include "orvo/StandardRun.h"

namespace orvo {

std::optional<RecordedSteps> recordStepsFrom(RunInput input, const RecordingStart& start,
                                             bool withStandard, QWidget* parent) {
  RecordedSteps steps;
  const bool done = waitForWork(
      [&](const std::atomic<bool>* cancel) {
        input.options.cancelRequested = cancel;
        steps.main = runRecorded(input.input, input.options, kDefaultRecordedItems, start).steps;
        if (!withStandard || cancel->load()) return;
        StepRecorder standard(kDefaultRecordedItems, start);
        RunOptions options = input.options;
        options.observer = &standard;
        runStandardC(input.input, options);
        steps.standard = standard.take();
      },
      QObject::tr("Recording the steps from line %1…").arg(start.line), parent);
  if (!done) return std::nullopt;
  return steps;
}

}  // namespace orvo
