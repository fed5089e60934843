// The "Standard C" pane: standard C's result of the input beside the
// output, lined up with it by the input line each output line came from
// (gaps where one result has no line), the lines that differ marked on both
// sides, scrolling in step; standard C's own messages named above its
// result and marked in the input and on the result lines their input lines
// wrote; and the Differences list with the reason
// of each. The comparison itself is made by the live preview's run while
// the pane is open (LivePreview::setWithStandard); the pane only shows it,
// and says so when it is of an earlier input than the output.
#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "orvo/Comparison.h"

class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;

namespace orvo {

class AlignedOutputs;
class AppSettings;
class CodeEditor;
class DifferencesPanel;
class StandardDiagnosticMarks;

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
  // Says (or stops saying) that what the pane shows is of an earlier input
  // than the output, or than the input while no run is coming.
  void setOutOfDate(bool outOfDate);
  bool isOutOfDate() const;

  // Standard C's messages of a comparison: those recorded on the way and
  // the error that ended the run, if any.
  static std::vector<Diagnostic> standardDiagnostics(const compare::Comparison& comparison);

  QDockWidget* dock() const { return m_Dock; }
  CodeEditor* standardOutput() const { return m_Standard; }
  DifferencesPanel* differencesPanel() const { return m_Differences; }
  AlignedOutputs* alignedOutputs() const { return m_Aligned; }
  // Standard C's messages marked in the input, and on the lines of its
  // result that their input lines wrote.
  StandardDiagnosticMarks* diagnosticMarks() const { return m_Marks; }
  StandardDiagnosticMarks* resultMarks() const { return m_ResultMarks; }
  // The line above standard C's result that names its messages.
  QLabel* messagesNote() const { return m_MessagesNote; }

 signals:
  // The user opened or closed the pane: runs should compare, or need not.
  void openChanged(bool open);
  // A comparison arrived and is shown.
  void compared();
  // A difference or a message was activated whose place is the bytes
  // [begin, end) of the input.
  void inputPlaceActivated(int begin, int end);
  // A difference or a message was activated whose place is in an included file.
  void includedPlaceActivated(const orvo::SourcePlace& place);

 protected:
  // The dock's close button closes the pane as its switch does; a click on
  // the messages' line goes to the first message.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setOpen(bool open);
  void showStandardMessages(const std::vector<Diagnostic>& diagnostics);
  void alignWith(const compare::Comparison& comparison);
  void activate(const compare::Difference& difference);
  void activatePlace(const SourcePlace& place);
  // The 0-based lines of one result that input line `line` of `file` wrote.
  std::vector<int> linesFrom(const RunExplanation& explanation, const SourcePlace& place) const;

  CodeEditor* m_Input;
  CodeEditor* m_Output;
  AppSettings& m_Settings;
  bool m_Open = false;
  QDockWidget* m_Dock = nullptr;
  QLabel* m_OutOfDateNote = nullptr;
  QLabel* m_MessagesNote = nullptr;
  CodeEditor* m_Standard = nullptr;
  DifferencesPanel* m_Differences = nullptr;
  AlignedOutputs* m_Aligned = nullptr;
  StandardDiagnosticMarks* m_Marks = nullptr;
  StandardDiagnosticMarks* m_ResultMarks = nullptr;
  // The line maps of the comparison shown, for finding a difference's lines.
  std::optional<RunExplanation> m_MainLines;
  std::optional<RunExplanation> m_StandardLines;
  // The place of the first standard C message, where a click on its line goes.
  std::optional<SourcePlace> m_FirstMessagePlace;
};

}  // namespace orvo
