// The lower half of the window: the output editor with a note above it that
// says when the output no longer matches the input.
#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace orvo {

class CodeEditor;

class OutputPane : public QWidget {
  Q_OBJECT

 public:
  explicit OutputPane(QWidget* parent = nullptr);

  CodeEditor* editor() const { return m_Editor; }

  // Shows or hides the note that the output is stale: the input has an
  // error, and the output is the last one that worked (or none).
  void setStale(bool stale);
  // Shows or hides the note that the output was made from other input: the
  // input changed (with no live preview coming) or another file was opened.
  // The note about an error takes precedence.
  void setOutOfDate(bool outOfDate);
  bool isStale() const;

 private:
  void updateNote();

  QVBoxLayout* m_Layout = nullptr;
  bool m_Stale = false;
  bool m_OutOfDate = false;
  QLabel* m_StaleNote = nullptr;
  CodeEditor* m_Editor = nullptr;
};

}  // namespace orvo
