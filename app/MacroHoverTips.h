// Tool tips over macro names in the input: resting the mouse on a name
// shows the macro's definition and where it was made.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "orvo/Explanation.h"
#include "orvo/StepRecorder.h"

namespace orvo {

class CodeEditor;

class MacroHoverTips : public QObject {
  Q_OBJECT

 public:
  MacroHoverTips(CodeEditor* input, QObject* parent = nullptr);

  // The definitions of a new run and its macro table at the end.
  void setRun(std::shared_ptr<const StepRecording> steps, std::vector<MacroEntry> macros);

  // The tip for the word at byte `position` of the input; empty when it
  // names no macro.
  QString tipAt(int position) const;

 private:
  void dwellStarted(int position, int x, int y);

  CodeEditor* m_Input;
  std::shared_ptr<const StepRecording> m_Steps;
  std::vector<MacroEntry> m_Macros;
};

}  // namespace orvo
