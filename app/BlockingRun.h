// A run the window waits for, such as the one Save makes when the output
// is not yet that of the input: it runs on a worker thread while the
// window's events go on, and a progress dialog with a Cancel button shows
// once it takes longer than a moment.
#pragma once

#include <optional>

#include "app/LivePreview.h"
#include "orvo/StepRecorder.h"

class QWidget;

namespace orvo {

// The run's result; nothing when the user cancelled it.
std::optional<RecordedRun> runWhileWaiting(RunInput input, QWidget* parent);

}  // namespace orvo
