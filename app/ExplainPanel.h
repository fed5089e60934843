// The Explain panel: for the input line under the cursor, the tree of the
// expansion steps of its macro calls and the decision of the conditional
// the line belongs to. Clicking a step selects its text in the input; the
// step keys walk forward and back through the line's steps, showing the
// text before and after each step with the part that changed marked.
// While standard C's result is shown, its steps for the same line follow
// under a "Standard C" heading, and a conditional shows both decisions.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "app/ConditionalBranches.h"
#include "orvo/StepRecorder.h"

class QAction;
class QLabel;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvo {

class CodeEditor;

class ExplainPanel : public QWidget {
  Q_OBJECT

 public:
  // `input` is the area the run read: its offsets are the steps' places.
  ExplainPanel(CodeEditor* input, QWidget* parent = nullptr);

  // The steps of a new run over the input as it is now; null forgets them.
  void setRun(std::shared_ptr<const StepRecording> steps);
  // Standard C's steps of the same input; null when it is not shown.
  void setStandardRun(std::shared_ptr<const StepRecording> steps);
  // Shows the steps of the 1-based input lines first..last.
  void showLines(int first, int last);

  // Walk the shown line's steps: F10 forward, Shift+F10 back.
  QAction* stepForwardAction() const { return m_StepForward; }
  QAction* stepBackAction() const { return m_StepBack; }
  void stepForward();
  void stepBack();

  // For tests and the status of the keys.
  int stepCount() const { return static_cast<int>(m_LineSteps.size()); }
  int currentStep() const { return m_Current; }  // -1 before the first
  const RecordedStep* step(int index) const { return m_LineSteps.at(index); }
  // Whether line step `index` is one of standard C's.
  bool isStandardStep(int index) const { return static_cast<std::size_t>(index) >= m_StandardFrom; }
  QString conditionalText() const;
  QString stepViewText() const;   // the step view as plain text
  QString changedText() const;    // the marked part of the step's result
  QTreeWidget* tree() const { return m_Tree; }

 private:
  // Engine bytes as the input editor shows them (UTF-8 or Latin-1).
  QString fromBytes(const std::string& text) const;
  struct StepLines {
    int first = 0;
    int last = 0;
  };
  static std::vector<StepLines> linesOfSteps(const StepRecording* steps, const CodeEditor& input);
  void showStep(int index);
  void stepClicked(QTreeWidgetItem* item);
  void buildTree();
  // Adds the tree items of line steps [from, to) below `root` (the tree when null).
  void addStepItems(std::size_t from, std::size_t to, QTreeWidgetItem* root);
  QString decisionText(int line) const;
  // One engine's decision of the conditional directive on `directiveLine`.
  const ConditionalEvent* decisionOn(const StepRecording& steps, int directiveLine) const;
  QString standardDecisionText(int directiveLine) const;
  // Whether the steps of 1-based `line` were lost to the run's step limit.
  bool pastStepLimit(int line) const;

  CodeEditor* m_Input;
  QLabel* m_Conditional = nullptr;
  QLabel* m_Note = nullptr;
  QTreeWidget* m_Tree = nullptr;
  QTextEdit* m_StepView = nullptr;
  QAction* m_StepForward = nullptr;
  QAction* m_StepBack = nullptr;

  std::shared_ptr<const StepRecording> m_Steps;
  std::vector<StepLines> m_StepLines;  // per step of m_Steps, its input lines
  std::shared_ptr<const StepRecording> m_Standard;
  std::vector<StepLines> m_StandardStepLines;
  // Where standard C's steps begin among the line's steps.
  std::size_t m_StandardFrom = 0;
  std::vector<ConditionalBranch> m_Branches;
  int m_First = 0;
  int m_Last = 0;
  std::vector<const RecordedStep*> m_LineSteps;
  std::vector<QTreeWidgetItem*> m_StepItems;  // per line step, its tree item
  int m_Current = -1;
  QString m_Changed;
};

}  // namespace orvo
