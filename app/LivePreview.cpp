#include "app/LivePreview.h"

#include <utility>

namespace orvo {
namespace {

constexpr int kDefaultDelayMs = 200;

}  // namespace

// What the standard part of a job gives: the comparison and the standard
// run's steps; empty for a job without standard C.
struct LivePreview::Outcome {
  std::shared_ptr<const compare::Comparison> comparison;
  std::shared_ptr<const StepRecording> standardSteps;
};

LivePreview::LivePreview(std::function<RunInput()> snapshot, QObject* parent)
    : QObject(parent), m_Snapshot(std::move(snapshot)) {
  m_Timer.setSingleShot(true);
  m_Timer.setInterval(kDefaultDelayMs);
  connect(&m_Timer, &QTimer::timeout, this, &LivePreview::startRun);
  m_Pool.setMaxThreadCount(1);
}

LivePreview::~LivePreview() {
  if (m_CancelRunning) *m_CancelRunning = true;
  m_Pool.waitForDone();
}

void LivePreview::inputChanged() {
  cancel();
  m_Timer.start();
}

void LivePreview::cancel() {
  ++m_Generation;
  m_Timer.stop();
  m_StartWhenDone = false;
  // The run under way would only give a stale result; ending it frees the
  // worker for the next one sooner.
  if (m_CancelRunning) *m_CancelRunning = true;
}

void LivePreview::runNow() {
  cancel();
  startRun();
}

void LivePreview::startRun() {
  if (m_Running) {
    // Started when the run under way has ended, over the input as it is then.
    m_StartWhenDone = true;
    return;
  }
  const unsigned long long generation = ++m_Generation;
  auto job = std::make_shared<RunInput>(m_Snapshot());
  auto cancelFlag = std::make_shared<std::atomic<bool>>(false);
  job->options.cancelRequested = cancelFlag.get();
  m_CancelRunning = cancelFlag;
  m_Running = true;
  const bool withStandard = m_WithStandard;
  m_Pool.start([this, generation, job, cancelFlag, withStandard] {
    // Both results go to the window's thread; they are dropped if this
    // object is gone by then (the destructor waits for this function to
    // return first).
    //
    // The main result goes out first, made just as without standard C: the
    // standard run may take many times as long and must not hold it back,
    // and the comparison's own bookkeeping of the main run (its events) must
    // not slow it down either. The comparison then runs the main engine
    // again, with that bookkeeping, before the standard run.
    auto main = std::make_shared<RecordedRun>(runRecorded(job->input, job->options));
    QMetaObject::invokeMethod(
        this, [this, generation, main] { mainEnded(generation, main); }, Qt::QueuedConnection);
    auto outcome = std::make_shared<Outcome>();
    if (withStandard && !cancelFlag->load()) {
      StepRecorder standardSteps;
      outcome->comparison = std::make_shared<compare::Comparison>(
          compare::compareRuns(job->input, job->options, nullptr, &standardSteps));
      outcome->standardSteps = standardSteps.take();
    }
    QMetaObject::invokeMethod(
        this, [this, generation, outcome] { runEnded(generation, outcome); },
        Qt::QueuedConnection);
  });
}

void LivePreview::mainEnded(unsigned long long generation,
                            const std::shared_ptr<RecordedRun>& run) {
  if (generation == m_Generation) emit finished(run->result, run->steps);
}

void LivePreview::runEnded(unsigned long long generation,
                           const std::shared_ptr<Outcome>& outcome) {
  m_Running = false;
  m_CancelRunning.reset();
  const bool current = generation == m_Generation;
  if (m_StartWhenDone) {
    m_StartWhenDone = false;
    startRun();
  }
  if (current && outcome->comparison) emit compared(outcome->comparison, outcome->standardSteps);
}

}  // namespace orvo
