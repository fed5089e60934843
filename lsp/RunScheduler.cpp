#include "lsp/RunScheduler.h"

#include <algorithm>

namespace orvo::lsp {

RunScheduler::RunScheduler(const DocumentStore& documents, FinishedCallback onFinished,
                           std::chrono::milliseconds debounce)
    : m_Documents(documents),
      m_OnFinished(std::move(onFinished)),
      m_Debounce(debounce),
      m_Worker([this] { work(); }) {}

RunScheduler::~RunScheduler() {
  {
    const std::lock_guard lock(m_Mutex);
    m_Stopping = true;
    m_Cancel = true;
  }
  m_Wake.notify_all();
  m_Worker.join();
}

void RunScheduler::schedule(const std::string& uri) {
  {
    const std::lock_guard lock(m_Mutex);
    m_Pending[uri] = std::chrono::steady_clock::now() + m_Debounce;
    if (m_Running == uri) m_Cancel = true;
  }
  m_Wake.notify_all();
}

void RunScheduler::forget(const std::string& uri) {
  const std::lock_guard lock(m_Mutex);
  m_Pending.erase(uri);
  m_Latest.erase(uri);
  if (m_Running == uri) m_Cancel = true;
}

void RunScheduler::setSettings(RunSettings settings) {
  {
    const std::lock_guard lock(m_Mutex);
    m_Settings = std::move(settings);
    const auto now = std::chrono::steady_clock::now();
    for (const auto& [uri, run] : m_Latest) m_Pending[uri] = now;
    if (!m_Running.empty()) {
      m_Pending[m_Running] = now;
      m_Cancel = true;
    }
  }
  m_Wake.notify_all();
}

std::shared_ptr<const FinishedRun> RunScheduler::latest(const std::string& uri) const {
  const std::lock_guard lock(m_Mutex);
  const auto found = m_Latest.find(uri);
  return found == m_Latest.end() ? nullptr : found->second;
}

std::shared_ptr<const FinishedRun> RunScheduler::runGuarded(const std::string& uri,
                                                            const Document& document,
                                                            const RunSettings& settings) {
  // The engines return every error the input can cause; what is left (the
  // system refusing memory for the recording, say) must not end the server
  // either, and is shown as the run's error.
  try {
    return runDocument(uri, document.version, document.text, settings, m_Cancel);
  } catch (const std::exception& error) {
    auto failed = std::make_shared<FinishedRun>();
    failed->uri = uri;
    failed->version = document.version;
    failed->text = document.text;
    failed->standard.error = RunError{ErrorClass::Standard, std::string("the run failed: ") + error.what()};
    failed->standardSteps = std::make_shared<StepRecording>();
    return failed;
  }
}

void RunScheduler::work() {
  std::unique_lock lock(m_Mutex);
  for (;;) {
    if (m_Stopping) return;
    if (m_Pending.empty()) {
      m_Wake.wait(lock);
      continue;
    }
    const auto next = std::min_element(m_Pending.begin(), m_Pending.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (next->second > std::chrono::steady_clock::now()) {
      m_Wake.wait_until(lock, next->second);
      continue;
    }
    const std::string uri = next->first;
    m_Pending.erase(next);
    const std::optional<Document> document = m_Documents.get(uri);
    if (!document) continue;
    const RunSettings settings = m_Settings;
    m_Running = uri;
    m_Cancel = false;
    lock.unlock();
    std::shared_ptr<const FinishedRun> run = runGuarded(uri, *document, settings);
    lock.lock();
    m_Running.clear();
    // A run overtaken by a change, a close or new settings is dropped: the
    // next run of the document is already pending.
    const bool stale = m_Cancel || wasCancelled(*run) || m_Pending.count(uri) > 0;
    if (stale || !m_Documents.get(uri)) continue;
    m_Latest[uri] = run;
    lock.unlock();
    m_OnFinished(run);
    lock.lock();
  }
}

}  // namespace orvo::lsp
