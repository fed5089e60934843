// Standard C's messages marked in the input, as orvo's error is: a squiggle
// of their own colour under each place, the messages as its tool tip. A
// message in an included file marks the #include line of the input that
// leads to it. The marks move with the text as it is edited.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "orvo/Diagnostic.h"

namespace orvo {

class CodeEditor;

class StandardDiagnosticMarks : public QObject {
  Q_OBJECT

 public:
  // `input` is not owned and must outlive this object.
  explicit StandardDiagnosticMarks(CodeEditor* input, QObject* parent = nullptr);

  // Marks the warnings and errors of `diagnostics` (notes are told in their
  // message's tip), replacing the marks so far.
  void show(const std::vector<Diagnostic>& diagnostics);
  void clear();

  // The tip over input position `position`; empty where nothing is marked.
  QString tipAt(int position) const;
  // Whether the character at `position` is marked.
  bool isMarked(int position) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CodeEditor* m_Input;
  std::vector<QString> m_Tips;  // by indicator value - 1
};

// The words of a standard C message: "standard C: error: TEXT", with the
// place first when it is in an included file and the include chain and
// notes after it.
QString standardMessageText(const Diagnostic& diagnostic);

}  // namespace orvo
