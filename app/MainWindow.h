// The main window: an input area above an output area, a tool bar with the
// open, save and preprocess actions and the list of built-in examples, and a
// File menu.
#pragma once

#include <QMainWindow>
#include <QString>
#include <string>

class MessagesPanel;
class QAction;
class QComboBox;
class QDockWidget;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;

class Tfrm_orvo : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tfrm_orvo(QWidget* parent = nullptr);

  // Directory of the file most recently opened, without a trailing
  // separator; empty until a file was opened.
  const std::string& inputDir() const { return m_InputDir; }

 public slots:
  void FormCreate();
  void FormResize();
  void ac_openExecute();
  void ac_SaveExecute();
  void ac_ExecuteExecute();
  void cb_ExamplesClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

  // What a person answers or reads; tests replace these.
  virtual void showMessage(const QString& caption, const QString& text);
  virtual QString chooseOpenFile();  // empty when cancelled
  virtual QString chooseSaveFile();  // empty when cancelled

 private:
  void createActions();
  void createMenu();
  void createToolBar();
  void createTextAreas();
  void createMessagesPanel();
  void selectInput(int start, int end);
  // Selects the bytes [begin, end) of the input area's text as a run reads it.
  void selectInputBytes(int begin, int end);

  // Owned by the window through Qt's parent-child tree.
  QAction* ac_open = nullptr;
  QAction* ac_Save = nullptr;
  QAction* ac_Execute = nullptr;
  QMenu* mi_File = nullptr;
  QAction* mni_Open = nullptr;
  QAction* mni_Save = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QComboBox* cb_Examples = nullptr;
  QSplitter* Splitter = nullptr;
  QPlainTextEdit* memo_Input = nullptr;
  QPlainTextEdit* memo_Output = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // The messages of the last run, docked under the output; shown when there are any.
  MessagesPanel* m_MessagesPanel = nullptr;
  QDockWidget* m_MessagesDock = nullptr;

  std::string m_InputDir;
};
