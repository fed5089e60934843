// The main window: a code editor for the input above one for the output, a
// tool bar with the open, save and preprocess actions, the live-preview
// switch and the list of built-in examples, the File, Edit, View, Run and Help
// menus, and a status bar that names the place of the last live error.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "app/AppSettings.h"
#include "app/InputDocument.h"
#include "app/RecoveryRecord.h"
#include "app/UndoableLoads.h"
#include "orvo/Run.h"
#include "orvo/StepRecorder.h"

class QAction;
class QComboBox;
class QLabel;
class MessagesPanel;
class QDockWidget;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolBar;
class QUrl;

namespace orvo {
class CodeEditor;
class EditActions;
class EditorLayout;
class ExampleFolders;
class ExamplesBox;
enum class TextEncoding;
class ExplorerPanels;
class FindBar;
class StandardPane;
class IncludedFileViewer;
class LiveErrorDisplay;
class LivePreview;
class OutputPane;
class LongLineEditor;
class RecentFilesMenu;
class RecoveryFile;
}  // namespace orvo

class Tfrm_orvo : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tfrm_orvo(QWidget* parent = nullptr);
  ~Tfrm_orvo() override;

  // Directory of the file most recently opened, without a trailing
  // separator; empty until a file was opened.
  const std::string& inputDir() const { return m_InputDir; }

  orvo::LivePreview& livePreview() { return *m_LivePreview; }

 public slots:
  void FormCreate();
  // File ▸ New: an empty input, after the question when the input is changed.
  void ac_NewExecute();
  void ac_openExecute();
  void ac_SaveExecute();
  void ac_SaveAsExecute();
  // Save the input itself: to its file, or (Save Input As) to one asked for.
  void ac_SaveInputExecute();
  void ac_SaveInputAsExecute();
  void ac_ExecuteExecute();
  void cb_ExamplesClick();
  // Loads the example of that name in the examples box as picking it does.
  void openExample(const QString& name);
  void ac_IncludeDirectoriesExecute();

  // Loads `path` into the input area as Open does; false (with a message)
  // when it cannot be read.
  bool openFile(const QString& path);
  // Offers back the unsaved input a window that ended without a clean close
  // left in its recovery file.
  void offerRecovery();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  // What a person answers or reads; tests replace these.
  virtual void showMessage(const QString& caption, const QString& text);
  virtual QString chooseOpenFile();  // empty when cancelled
  virtual QString chooseSaveFile();  // empty when cancelled
  virtual QString chooseSaveInputFile();  // empty when cancelled
  // Asked before modified input is replaced or the window closes.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice askToSaveInput(const QString& name);
  // Shows the include-directories dialog; the new list, or nothing when
  // cancelled.
  virtual std::optional<QStringList> editIncludeDirectories(const QStringList& directories);
  // Asks for a 1-based line between 1 and `last`, offering `current`;
  // nothing when cancelled.
  virtual std::optional<int> askLineNumber(int current, int last);
  // Asked at start for each recovery file a crashed window left.
  enum class RestoreChoice { Restore, Discard, Later };
  virtual RestoreChoice askToRestore(const orvo::RecoveryRecord& record);

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createTextAreas();
  void createEditMenu();
  // Runs the help text at start when live preview is on, so the output
  // area shows what preprocessing does from the first moment.
  void previewHelpText();
  void createStatusBar();
  void restoreSettings();
  void placeOnFirstStart();

  void saveTo(const QString& path);
  bool saveInput();    // to its file, or as Save Input As when it has none
  bool saveInputAs();  // false when cancelled or failed
  bool saveInputTo(const QString& path);
  // Whether the input may be replaced: true when it is unmodified, or the
  // user saved it or chose to discard it.
  bool maySetAsideInput();
  // Puts a loaded text into the input area as a new document.
  void loadInput(std::string_view bytes, orvo::TextEncoding encoding,
                 const orvo::InputDocument& document, bool undoable);
  void updateTitle();
  // Whether the input shows the welcome text as it came.
  bool showsWelcome() const;
  // The title and the examples box name m_Document.
  void showDocumentName();
  // Hands a loaded input with a very long line to the long-line editor, and
  // one without back to the code editor.
  void chooseInputEditor();
  // An edit, undo or redo in the input (Scintilla's modification flags).
  void inputModified(int modification);
  // Makes the output that of the input as it is now, running the
  // preprocessor if needed; false (with a message) when that ends in an
  // error or is cancelled.
  bool makeOutputCurrent();
  // Shows the result of a run the user waited for (F5, Save).
  void showWaitedRun(const orvo::RecordedRun& run);
  // Marks an error's place, names it in the status bar and marks the
  // output stale; the words for it are returned.
  QString showRunError(const orvo::RunError& error);
  void updateOutOfDate();
  // An error leaves the output as the last one that worked; one of another
  // document is no output of this input, and goes.
  void dropOutputOfOtherDocument();
  void openDroppedFiles(const QList<QUrl>& urls);
  void updateRecentMenu();
  // The input while it has changes not saved, for the recovery file.
  std::optional<orvo::RecoveryRecord> unsavedInput() const;
  void restoreInput(const orvo::RecoveryRecord& record);

  orvo::RunOptions runOptions() const;
  void inputEdited();
  void setLiveMode(bool on);
  void showLiveResult(const orvo::RunResult& result,
                      const std::shared_ptr<const orvo::StepRecording>& steps);
  void setOutputText(const std::string& text);
  void setZoom(int zoom);
  void syncZoomFrom(orvo::CodeEditor* editor);

  orvo::AppSettings m_Settings;
  void createMessagesPanel();
  // Lists the run's recorded messages under the output; the panel shows
  // only while there are any.
  void showMessages(const orvo::RunResult& result);
  // Selects the bytes [begin, end) of the input area's text as a run reads it.
  void selectInputBytes(int begin, int end);

  // Owned by the window through Qt's parent-child tree.
  QAction* ac_New = nullptr;
  QAction* ac_open = nullptr;
  QAction* ac_Save = nullptr;
  QAction* ac_SaveAs = nullptr;
  QAction* ac_SaveInput = nullptr;
  QAction* ac_SaveInputAs = nullptr;
  QAction* ac_Execute = nullptr;
  QAction* ac_LiveMode = nullptr;
  QAction* ac_Quit = nullptr;
  QAction* ac_IncludeDirectories = nullptr;
  QAction* ac_ZoomIn = nullptr;
  QAction* ac_ZoomOut = nullptr;
  QAction* ac_ZoomReset = nullptr;
  QAction* ac_About = nullptr;
  QMenu* mi_File = nullptr;
  QAction* mni_Open = nullptr;
  QAction* mni_Save = nullptr;
  orvo::RecentFilesMenu* mi_Recent = nullptr;
  QToolBar* ToolBar1 = nullptr;
  orvo::ExamplesBox* cb_Examples = nullptr;
  QSplitter* Splitter = nullptr;
  orvo::CodeEditor* memo_Input = nullptr;
  orvo::CodeEditor* memo_Output = nullptr;
  // The output area with the note above it that marks it stale.
  orvo::OutputPane* m_OutputPane = nullptr;
  // Edits the input while it has a line too long for the code editor.
  orvo::LongLineEditor* m_LongLines = nullptr;
  QLabel* lbl_RunStatus = nullptr;
  orvo::LiveErrorDisplay* m_LiveErrors = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // The messages of the last run, docked under the output; shown when there are any.
  MessagesPanel* m_MessagesPanel = nullptr;
  QDockWidget* m_MessagesDock = nullptr;
  QMenu* mi_View = nullptr;
  QMenu* mi_Edit = nullptr;
  orvo::EditorLayout* m_Layout = nullptr;
  orvo::FindBar* m_FindBar = nullptr;
  orvo::EditActions* m_EditActions = nullptr;
  // The Explain and Macros panels, macro tips, skipped and linked lines.
  orvo::ExplorerPanels* m_Explorer = nullptr;
  orvo::StandardPane* m_StandardPane = nullptr;
  // The header a message or a difference in an included file points into.
  orvo::IncludedFileViewer* m_IncludedFiles = nullptr;

  std::unique_ptr<orvo::LivePreview> m_LivePreview;
  // The include directories examples bring with them.
  std::unique_ptr<orvo::ExampleFolders> m_ExampleFolders;
  // Keeps unsaved input on the disk until it is saved or the window closes.
  orvo::RecoveryFile* m_Recovery = nullptr;

  std::string m_InputDir;
  QString m_SavePath;  // where Save writes without asking; empty at first
  orvo::InputDocument m_Document = orvo::InputDocument::welcome();
  // The documents Undo and Redo show again across loaded examples.
  orvo::UndoableLoads m_Loads;
  // Counts changes of what a run reads (the text, the folders searched);
  // the output belongs to the input while its count is the current one.
  // The output starts empty, belonging to no input: the counts differ.
  unsigned long long m_InputVersion = 1;
  unsigned long long m_OutputVersion = 0;
  // The count of the input the Standard C pane's comparison was made from.
  unsigned long long m_ComparedVersion = 0;
  // Counts the documents the input area showed (each load of an example, a
  // file or kept text, and each undo or redo of one): the output after an
  // error is the last one that worked only while it is of the same document.
  unsigned long long m_DocumentCount = 0;
  unsigned long long m_OutputDocument = 0;
  int m_Zoom = 0;
};
