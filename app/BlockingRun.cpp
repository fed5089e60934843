#include "app/BlockingRun.h"

#include <QApplication>
#include <QProgressDialog>
#include <atomic>
#include <chrono>
#include <future>

namespace orvo {
namespace {

// A run shorter than this ends before anything shows: most inputs take a
// few milliseconds.
constexpr int kProgressDelayMs = 400;
// How often the window's events are handled while it waits.
constexpr std::chrono::milliseconds kPollInterval(15);

// A wait cursor for as long as the window waits.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

bool waitForWork(const std::function<void(const std::atomic<bool>* cancel)>& work,
                 const QString& caption, QWidget* parent) {
  std::atomic<bool> cancel{false};
  std::future<void> run = std::async(std::launch::async, [&work, &cancel] { work(&cancel); });
  if (run.wait_for(kPollInterval) != std::future_status::ready) {
    const WaitCursor cursor;
    QProgressDialog progress(caption, QObject::tr("Cancel"), 0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    while (run.wait_for(kPollInterval) != std::future_status::ready) {
      if (progress.wasCanceled()) cancel = true;
      // User input reaches only the dialog once it shows (it is modal);
      // before that it waits.
      QApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
    }
  }
  run.get();
  return !cancel;
}

std::optional<RecordedRun> runWhileWaiting(RunInput input, QWidget* parent) {
  RecordedRun result;
  const bool done = waitForWork(
      [&input, &result](const std::atomic<bool>* cancel) {
        input.options.cancelRequested = cancel;
        result = runRecorded(input.input, input.options);
      },
      QObject::tr("Preprocessing the input before saving…"), parent);
  if (!done) return std::nullopt;
  return result;
}

}  // namespace orvo
