// How the error of a live run shows: underlined at its place in the input,
// with the message as the tool tip, "line N: TEXT" in the status bar, and
// the output marked as stale. No message box: the user is typing.
//
// Clicking the status text selects the marked place.
//
// An error on the line the cursor is in is most likely only unfinished
// (a directive being typed has no line break yet), so it waits until the
// cursor leaves that line or the typing pauses for kTypingHoldMs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <optional>

#include "orvo/Run.h"

class QLabel;
class QWidget;

namespace orvo {

class CodeEditor;
class OutputPane;

// Clears the passing message of the status bar `statusWidget` sits in, which
// hides that bar's widgets while it shows.
void clearStatusMessage(const QWidget& statusWidget);

class LiveErrorDisplay : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTypingHoldMs = 1500;

  // None of the widgets is owned; they must outlive this object.
  LiveErrorDisplay(CodeEditor* input, OutputPane* output, QLabel* status,
                   QObject* parent = nullptr);

  // Call on every edit of the input: starts the typing pause over.
  void inputEdited();
  // The result of a live run: an error shows (or waits), success clears.
  void showResult(const RunResult& result);
  // Clears the mark, the status text and the stale note, and forgets a
  // waiting error.
  void clear();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showWaitingError();

  CodeEditor* m_Input;
  OutputPane* m_Output;
  QLabel* m_Status;
  std::optional<RunError> m_Waiting;
  QTimer m_HoldTimer;
  QElapsedTimer m_SinceEdit;
};

}  // namespace orvo
