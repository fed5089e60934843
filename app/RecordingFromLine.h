// Running again to keep the steps from a line on: a run past the step
// limit kept nothing of its later lines, and the Explain panel offers to
// record them. Both engines run (standard C while it is shown) on a worker
// thread while the window waits, with a Cancel button.
#pragma once

#include <memory>
#include <optional>

#include "app/LivePreview.h"
#include "orvo/StepRecorder.h"

class QWidget;

namespace orvo {

struct RecordedSteps {
  std::shared_ptr<const StepRecording> main;
  std::shared_ptr<const StepRecording> standard;  // null unless asked for
};

// The steps of `input`'s run from `start` on; nothing when the user
// cancelled.
std::optional<RecordedSteps> recordStepsFrom(RunInput input, const RecordingStart& start,
                                             bool withStandard, QWidget* parent);

}  // namespace orvo
