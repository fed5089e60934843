// The "Standard C" pane: standard C's result of the input beside the
// output, the lines where the two results differ marked on both sides and
// scrolling together, and the Differences list with the reason of each.
// The comparison itself is made by the live preview's run while the pane is
// open (LivePreview::setWithStandard); the pane only shows it.
#pragma once

#include <QObject>

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
  // `settings`, with its switch in `viewMenu`. `settings` must outlive this
  // object.
  StandardPane(QMainWindow* window, CodeEditor* input, CodeEditor* output, QMenu* viewMenu,
               AppSettings& settings);

  // Whether the user has the pane open (it may still be hidden while the
  // window is).
  bool isOpen() const { return m_Open; }
  // Shows a comparison of the input as the output shows it.
  void showComparison(const compare::Comparison& comparison);

  QDockWidget* dock() const { return m_Dock; }
  CodeEditor* standardOutput() const { return m_Standard; }
  DifferencesPanel* differencesPanel() const { return m_Differences; }

 signals:
  // The user opened or closed the pane: runs should compare, or need not.
  void openChanged(bool open);
  // A comparison arrived and is shown.
  void compared();
  // A difference was activated whose place is the bytes [begin, end) of the input.
  void inputPlaceActivated(int begin, int end);

 protected:
  // The dock's close button closes the pane as its switch does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setOpen(bool open);
  void markDifferences();
  void activate(const compare::Difference& difference);

  CodeEditor* m_Input;
  CodeEditor* m_Output;
  AppSettings& m_Settings;
  bool m_Open = false;
  QDockWidget* m_Dock = nullptr;
  CodeEditor* m_Standard = nullptr;
  DifferencesPanel* m_Differences = nullptr;
  bool m_Syncing = false;  // one editor follows the other's scrolling
};

}  // namespace orvo
