// Runs documents on a worker thread: debounced after each change, a newer
// change cancelling the run under way, and the last finished run of each
// document kept for the features to answer from.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "lsp/DocumentRun.h"
#include "lsp/DocumentStore.h"

namespace orvo::lsp {

// Quiet time after the last change before a document is run: typing keeps
// pushing the run back, so a burst of changes costs one run after it.
inline constexpr std::chrono::milliseconds kDefaultDebounce{250};

class RunScheduler {
 public:
  // Called on the worker thread after each run that was not cancelled.
  using FinishedCallback = std::function<void(const std::shared_ptr<const FinishedRun>&)>;

  RunScheduler(const DocumentStore& documents, FinishedCallback onFinished,
               std::chrono::milliseconds debounce = kDefaultDebounce);
  ~RunScheduler();
  RunScheduler(const RunScheduler&) = delete;
  RunScheduler& operator=(const RunScheduler&) = delete;

  // The document changed (or was opened): cancels its run under way and
  // runs it once no change has come for the debounce time.
  void schedule(const std::string& uri);
  // The document was closed: its pending run and its results are dropped.
  void forget(const std::string& uri);
  // New settings apply to the next runs; every open document is run again.
  void setSettings(RunSettings settings);
  std::shared_ptr<const FinishedRun> latest(const std::string& uri) const;

 private:
  void work();
  std::shared_ptr<const FinishedRun> runGuarded(const std::string& uri, const Document& document,
                                                const RunSettings& settings);

  const DocumentStore& m_Documents;
  FinishedCallback m_OnFinished;
  const std::chrono::milliseconds m_Debounce;

  mutable std::mutex m_Mutex;
  std::condition_variable m_Wake;
  bool m_Stopping = false;
  RunSettings m_Settings;
  // Documents waiting to run, each with the moment it may start.
  std::map<std::string, std::chrono::steady_clock::time_point> m_Pending;
  std::map<std::string, std::shared_ptr<const FinishedRun>> m_Latest;
  std::string m_Running;  // the document being run; empty when idle
  std::atomic<bool> m_Cancel{false};
  std::thread m_Worker;  // last: starts once everything above exists
};

}  // namespace orvo::lsp
