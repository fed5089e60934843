#include "app/LivePreview.h"

#include <utility>

namespace orvo {
namespace {

constexpr int kDefaultDelayMs = 200;

}  // namespace

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
  m_Pool.start([this, generation, job, cancelFlag] {
    auto result = std::make_shared<RecordedRun>(runRecorded(job->input, job->options));
    // Delivered on the window's thread; dropped if this object is gone by
    // then (the destructor waits for this function to return first).
    QMetaObject::invokeMethod(
        this, [this, generation, result] { runEnded(generation, result); },
        Qt::QueuedConnection);
  });
}

void LivePreview::runEnded(unsigned long long generation,
                           const std::shared_ptr<RecordedRun>& run) {
  m_Running = false;
  m_CancelRunning.reset();
  const bool current = generation == m_Generation;
  if (m_StartWhenDone) {
    m_StartWhenDone = false;
    startRun();
  }
  if (current) emit finished(run->result, run->steps);
}

}  // namespace orvo
