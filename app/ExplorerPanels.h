// The expansion explorer in the window: the Explain and Macros panels, the
// tips over macro names, the greyed skipped lines and the links between
// output and input lines, all fed by each run's recorded steps and
// explanation.
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "orvo/Explanation.h"
#include "orvo/StepRecorder.h"

class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;

namespace orvo {

class AppSettings;
class CodeEditor;
class ExplainPanel;
class MacroHoverTips;
class MacrosPanel;

class ExplorerPanels : public QObject {
  Q_OBJECT

 public:
  // Docks the panels beside `besideDock`, open as the user left them in
  // `settings` (closed at first: they take room from the text areas); adds
  // their switches to `viewMenu` and `toolBar` and the step keys to
  // `viewMenu`. `settings` must outlive this object.
  ExplorerPanels(QMainWindow* window, CodeEditor* input, CodeEditor* output,
                 QDockWidget* besideDock, QMenu* viewMenu, QToolBar* toolBar,
                 AppSettings& settings);

  // A run over the input as it is now; the output shows its result. After
  // a run that ended in an error the Macros panel shows the table as far
  // as the run got, under a caption that says where it stopped.
  void showRun(const RunResult& result, std::shared_ptr<const StepRecording> steps);
  // A live run that ended in an error: the rest of the explorer keeps the
  // last good run while the user types, but the Macros panel shows the
  // failed run's table under its caption, never an older table as current.
  void showStoppedMacros(const RunResult& result);
  // The Macros panel's caption; empty while its table is the last run's
  // and that run went through.
  QString macrosCaption() const;
  // Standard C's steps of the same input, for the Explain panel; null when
  // standard C is not shown.
  void showStandardRun(std::shared_ptr<const StepRecording> steps);

  // The cursor of `editor` (the input or the output) was moved by a command
  // (Go to Line) that may leave the focus elsewhere for a moment: the panels
  // follow it now rather than at the next key.
  void followCursorOf(CodeEditor* editor);

  ExplainPanel* explainPanel() const { return m_Explain; }
  MacrosPanel* macrosPanel() const { return m_Macros; }
  MacroHoverTips* hoverTips() const { return m_HoverTips; }

 protected:
  // Notes a panel closed by its close button as closed.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The cursor moved in the input (or output) to 0-based `line`.
  void inputCursorMoved(int line);
  void outputCursorMoved(int line);
  void followFocusedEditor();
  void showMacros(const RunResult& result);

  CodeEditor* m_Input;
  CodeEditor* m_Output;
  ExplainPanel* m_Explain = nullptr;
  MacrosPanel* m_Macros = nullptr;
  QLabel* m_MacrosCaption = nullptr;
  MacroHoverTips* m_HoverTips = nullptr;
  QDockWidget* m_ExplainDock = nullptr;
  QDockWidget* m_MacrosDock = nullptr;
  AppSettings& m_Settings;
  std::optional<RunExplanation> m_Explanation;
};

}  // namespace orvo
