// Standard C's messages marked in a text area, as orvo's error is in the
// input: a squiggle of their own colour under each place, the messages as
// its tool tip. In the input a message marks its place, or for a message in
// an included file the #include line that leads to it; in standard C's
// result it marks the lines its input line wrote. The marks move with the
// text as it is edited.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <utility>
#include <vector>

#include "orvo/Diagnostic.h"

namespace orvo {

class CodeEditor;

class StandardDiagnosticMarks : public QObject {
  Q_OBJECT

 public:
  // `editor` is not owned and must outlive this object.
  explicit StandardDiagnosticMarks(CodeEditor* editor, QObject* parent = nullptr);

  // Marks the places of the warnings and errors of `diagnostics` in the
  // input (notes are told in their message's tip), replacing the marks so far.
  void show(const std::vector<Diagnostic>& diagnostics);
  // Marks the text of each 0-based line with its tip, replacing the marks
  // so far; tips of one line are joined.
  void showOnLines(const std::vector<std::pair<int, QString>>& lineTips);
  void clear();

  // The tip over input position `position`; empty where nothing is marked.
  QString tipAt(int position) const;
  // Whether the character at `position` is marked.
  bool isMarked(int position) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Fills each byte range with the indicator, its tip named by its value.
  void mark(std::map<std::pair<int, int>, QString> marks);

  CodeEditor* m_Editor;
  std::vector<QString> m_Tips;  // by indicator value - 1
};

// The words of a standard C message: "standard C: error: TEXT", with the
// place first when it is in an included file and the include chain and
// notes after it.
QString standardMessageText(const Diagnostic& diagnostic);

}  // namespace orvo
