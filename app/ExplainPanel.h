// The Explain panel: for the input line under the cursor, the tree of the
// expansion steps of its macro calls and the decision of the conditional
// the line belongs to. Clicking a step selects its text in the input; the
// step keys walk forward and back through the line's steps, showing the
// text before and after each step with the part that changed marked.
// While standard C's result is shown, its steps for the same line follow
// under a "Standard C" heading, and a conditional shows both decisions.
// A line whose steps were not kept (past the run's step limit, or before
// the line a recording started at) offers to run again, keeping the steps
// from that line on.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/ConditionalBranches.h"
#include "orvo/StepRecorder.h"

class QAction;
class QLabel;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvo {

class CodeEditor;
struct RunInput;

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
  // What a run over the input as it is now reads: the text and the options.
  // Without it the panel cannot run again and offers no recording.
  void setRunInputSource(std::function<RunInput()> source);
  // Runs again (both engines while standard C is shown), keeping the steps
  // from the first shown line on; the window waits, with Cancel.
  void recordFromShownLine();

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
  QString noteText() const;       // the note above the steps; empty when hidden
  // The line "Record Steps from Line N" would start at; 0 when not offered.
  int offeredRecordingLine() const;
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
  // The last line of the main input that an item of `steps` belongs to.
  static int lastRecordedLine(const StepRecording* steps, const std::vector<StepLines>& lines);
  void showStep(int index);
  // Shows the shown lines anew, after what explains them changed.
  void showAgain();
  void stepClicked(QTreeWidgetItem* item);
  void buildTree();
  // Adds the tree items of line steps [from, to) below `root` (the tree when null).
  void addStepItems(std::size_t from, std::size_t to, QTreeWidgetItem* root);
  QString decisionText(int line) const;
  // One engine's decision of the conditional directive on `directiveLine`.
  const ConditionalEvent* decisionOn(const StepRecording& steps, int directiveLine) const;
  QString standardDecisionText(int directiveLine) const;
  // "V counts as 1, so the value is 0: not taken" (`standard`: "V is 5, ...").
  QString decisionWords(const ConditionalEvent& event, bool standard) const;
  // Says so when this preprocessor's condition ended before its line did.
  QString restOfLineText(const ConditionalEvent& event) const;
  // Why `steps` hold no decision for the conditional on `directiveLine`:
  // skipped, the run stopped, or not recorded.
  QString missingDecision(const StepRecording& steps, int lastRecordedLine,
                          int directiveLine) const;
  // Whether `steps` did not keep what 1-based `line` did, for its limit or
  // its start line.
  static bool notRecorded(const StepRecording& steps, int lastRecordedLine, int line);
  // The text of the step view for a line without steps.
  QString withoutStepsText(int line) const;
  void updateNote();
  void offerRecording(int line);

  std::function<RunInput()> m_RunInput;

  CodeEditor* m_Input;
  QLabel* m_Conditional = nullptr;
  QLabel* m_Note = nullptr;
  QPushButton* m_Record = nullptr;
  int m_RecordLine = 0;
  QTreeWidget* m_Tree = nullptr;
  QTextEdit* m_StepView = nullptr;
  QAction* m_StepForward = nullptr;
  QAction* m_StepBack = nullptr;

  std::shared_ptr<const StepRecording> m_Steps;
  std::vector<StepLines> m_StepLines;  // per step of m_Steps, its input lines
  int m_LastRecordedLine = 0;  // of the main input, by any item m_Steps kept
  std::shared_ptr<const StepRecording> m_Standard;
  std::vector<StepLines> m_StandardStepLines;
  int m_StandardLastRecordedLine = 0;
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
