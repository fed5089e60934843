// A run the window waits for, such as the one Save makes when the output
// is not yet that of the input: it runs on a worker thread while the
// window's events go on, and a progress dialog with a Cancel button shows
// once it takes longer than a moment.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <optional>

#include "app/LivePreview.h"
#include "orvo/StepRecorder.h"

class QWidget;

namespace orvo {

// Runs `work` on a worker thread and waits, showing `caption` in the
// progress dialog; `work` hands the cancel flag to its runs. False when the
// user cancelled.
bool waitForWork(const std::function<void(const std::atomic<bool>* cancel)>& work,
                 const QString& caption, QWidget* parent);

// The run's result; nothing when the user cancelled it.
std::optional<RecordedRun> runWhileWaiting(RunInput input, QWidget* parent);

}  // namespace orvo
