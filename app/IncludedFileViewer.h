// The "Included File" panel: a header a message or a difference points
// into, shown read-only at its line with the chain of #include lines that
// led there, and the #include line of the input that leads to it marked.
#pragma once

#include <QObject>

#include "orvo/SourcePlace.h"

class QDockWidget;
class QLabel;
class QMainWindow;

namespace orvo {

class CodeEditor;

class IncludedFileViewer : public QObject {
  Q_OBJECT

 public:
  // The marker of the input's #include line that leads to the shown place.
  static constexpr int kIncludeLineMarker = 22;

  // Docks the panel (hidden) in `window`; `input` is the input area.
  IncludedFileViewer(QMainWindow* window, CodeEditor* input);

  // Opens the file of `place` (read from disk as the include search found
  // it), selects its line and marks the input's #include line.
  void showPlace(const SourcePlace& place);

  QDockWidget* dock() const { return m_Dock; }
  CodeEditor* viewer() const { return m_Viewer; }

 private:
  CodeEditor* m_Input;
  QDockWidget* m_Dock = nullptr;
  QLabel* m_Caption = nullptr;
  CodeEditor* m_Viewer = nullptr;
};

}  // namespace orvo
