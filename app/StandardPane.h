// The "Standard C" pane: standard C's result of the input beside the
// output, the lines where the two results differ marked on both sides and
// scrolling together, and the Differences list with the reason of each.
// The comparison runs on a worker thread of its own after each run of the
// live preview; a newer input cancels it, and the window never waits.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>

#include "app/LivePreview.h"
#include "orvo/Comparison.h"

class QDockWidget;
class QMainWindow;
class QMenu;

namespace orvo {

class AppSettings;
class CodeEditor;
class DifferencesPanel;

class StandardPane : public QObject {
  Q_OBJECT

 public:
  // Docks the pane at the right of `window`, open as the user left it in
  // `settings`, with its switch in `viewMenu`. `snapshot` gives the input
  // and options of a run, on the window's thread. `settings` must outlive
  // this object.
  StandardPane(QMainWindow* window, CodeEditor* input, CodeEditor* output, QMenu* viewMenu,
               AppSettings& settings, std::function<RunInput()> snapshot);
  // Cancels the comparison under way and waits for it to end.
  ~StandardPane() override;

  // The output shows a new run: compare anew while the pane is open.
  void outputChanged();

  QDockWidget* dock() const { return m_Dock; }
  CodeEditor* standardOutput() const { return m_Standard; }
  DifferencesPanel* differencesPanel() const { return m_Differences; }

 signals:
  // A comparison arrived and is shown.
  void compared();
  // A difference was activated whose place is the bytes [begin, end) of the input.
  void inputPlaceActivated(int begin, int end);

 private:
  void start();
  void show(const compare::Comparison& comparison);
  void markDifferences();
  void activate(const compare::Difference& difference);

  CodeEditor* m_Input;
  CodeEditor* m_Output;
  AppSettings& m_Settings;
  std::function<RunInput()> m_Snapshot;
  QDockWidget* m_Dock = nullptr;
  CodeEditor* m_Standard = nullptr;
  DifferencesPanel* m_Differences = nullptr;
  bool m_Syncing = false;  // one editor follows the other's scrolling

  // One worker; a comparison of an older generation is stale.
  QThreadPool m_Pool;
  unsigned long long m_Generation = 0;
  std::shared_ptr<std::atomic<bool>> m_Cancel;
};

}  // namespace orvo
