// Preprocessing as the user types: once the input has been quiet for a short
// delay, a run starts on a worker thread, so that typing never waits for it.
// One run at a time: an edit cancels the run under way, and a result arrives
// only when no edit and no newer run came after the run started. While
// standard C's result is wanted, the same run on the same worker also runs
// the standard-C engine and compares both results: one job, cancelled as
// one, whose main result arrives as soon as it is made, before the standard
// run ends.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "orvo/Comparison.h"
#include "orvo/Run.h"
#include "orvo/StepRecorder.h"

namespace orvo {

// What a run reads: the input's bytes and the run's options, copied when the
// run starts.
struct RunInput {
  std::string input;
  RunOptions options;
};

class LivePreview : public QObject {
  Q_OBJECT

 public:
  // `snapshot` is called on the window's thread each time a run starts.
  LivePreview(std::function<RunInput()> snapshot, QObject* parent = nullptr);
  // Cancels the run under way and waits for it to end.
  ~LivePreview() override;

  // Quiet time after the last edit before a run starts; about 200 ms.
  void setDelay(int milliseconds) { m_Timer.setInterval(milliseconds); }
  int delay() const { return m_Timer.interval(); }

  // The input changed: forget the runs so far and run after the delay.
  void inputChanged();
  // Forget the runs so far and the one waiting; nothing arrives until the
  // next inputChanged().
  void cancel();
  // Start a run now, without the delay (a run under way is cancelled).
  void runNow();
  // A run is waiting for the delay or under way.
  bool busy() const { return m_Timer.isActive() || m_Running; }

  // Whether runs also run the standard-C engine and compare; from the next
  // run on.
  void setWithStandard(bool on) { m_WithStandard = on; }
  bool withStandard() const { return m_WithStandard; }

 signals:
  // The result of the newest run, over the input as it still is, with the
  // steps recorded for the explorer.
  void finished(const orvo::RunResult& result,
                const std::shared_ptr<const orvo::StepRecording>& steps);
  // After finished() of a run with standard C, once the standard run ends:
  // the comparison of both results and the standard run's recorded steps.
  // Dropped, like finished(), when the input changed since the run began.
  void compared(const std::shared_ptr<const orvo::compare::Comparison>& comparison,
                const std::shared_ptr<const orvo::StepRecording>& standardSteps);

 private:
  void startRun();
  struct Outcome;
  void mainEnded(unsigned long long generation, const std::shared_ptr<RecordedRun>& run);
  void runEnded(unsigned long long generation, const std::shared_ptr<Outcome>& outcome);

  std::function<RunInput()> m_Snapshot;
  QTimer m_Timer;
  // One worker thread; runs never pile up behind each other.
  QThreadPool m_Pool;
  // Counts edits and starts; a result of an older count is stale.
  unsigned long long m_Generation = 0;
  bool m_Running = false;
  bool m_StartWhenDone = false;  // the delay passed while a run was under way
  bool m_WithStandard = false;
  std::shared_ptr<std::atomic<bool>> m_CancelRunning;
};

}  // namespace orvo
