#include "app/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <iterator>

#include "app/AboutBox.h"
#include "app/CodeEditor.h"
#include "app/BlockingRun.h"
#include "app/CaptionedArea.h"
#include "app/EditActions.h"
#include "app/EditorLayout.h"
#include "app/ExampleCatalogue.h"
#include "app/ExampleFolders.h"
#include "app/ExamplesBox.h"
#include "app/ExplainPanel.h"
#include "app/ExplorerPanels.h"
#include "app/FindBar.h"
#include "app/FirstStartSize.h"
#include "app/HelpMenu.h"
#include "app/IncludeDirectoriesDialog.h"
#include "app/LiveErrorDisplay.h"
#include "app/LongLineEditor.h"
#include "app/LivePreview.h"
#include "app/StandardPane.h"
#include "app/IncludedFileViewer.h"
#include "app/ViewSwitches.h"
#include "app/OutputPane.h"
#include "app/PanelZoom.h"
#include "app/RecentFilesMenu.h"
#include "app/RecoveryFile.h"
#include "app/RunErrorText.h"
#include "app/SafeSave.h"
#include "app/MessagesPanel.h"

namespace {

const QString kCaption = QStringLiteral("orvo");

// The input area's text at start, shown as prose: one line per paragraph,
// wrapped at the area's width. Its words preprocess without a message and
// come out as they stand (no word directly before a parenthesis, where the
// preprocessor would drop the blank; no apostrophe, which would open a
// character constant).
const char* const kHelpLines[] = {
    "orvo shows what the C preprocessor makes of a piece of code.",
    "",
    "Replace this text with C or C++ code, or pick one of the macro examples in the tool bar. "
    "With Preprocess as you type on, the output area shows the result a moment after each "
    "edit; F5 preprocesses at once.",
    "",
    "Ctrl+E explains the expansion steps of the line under the cursor, Ctrl+Shift+M lists the "
    "macros, and Ctrl+Shift+C shows the result of standard C beside the output, with the "
    "reason for each difference.",
    "",
    "The File menu opens and saves the input and the output; the Help menu lists every key and "
    "how the rules of orvo differ from standard C.",
    "",
    "It runs a recursive-descent parser generated from a grammar of the preprocessor. The "
    "examples are taken from a well-known online manual of the C preprocessor, which is an "
    "excellent introduction to C preprocessing too.",
};

// The tool tip of an action: its hint and, in parentheses, its keys.
QString toolTipWithKeys(const QString& hint, const QList<QKeySequence>& keys) {
  if (keys.isEmpty()) return hint;
  QStringList names;
  for (const QKeySequence& key : keys) names.append(key.toString(QKeySequence::NativeText));
  return QStringLiteral("%1 (%2)").arg(hint, names.join(QStringLiteral(", ")));
}

}  // namespace

Tfrm_orvo::Tfrm_orvo(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frm_orvo"));
  setWindowTitle(kCaption);
  setAcceptDrops(true);
  m_ExampleFolders = std::make_unique<orvo::ExampleFolders>();
  m_LivePreview = std::make_unique<orvo::LivePreview>(
      [this] { return orvo::RunInput{memo_Input->bytes().toStdString(), runOptions()}; });
  connect(m_LivePreview.get(), &orvo::LivePreview::finished, this, &Tfrm_orvo::showLiveResult);

  createActions();
  createMenus();
  createToolBar();
  createTextAreas();
  m_Recovery = new orvo::RecoveryFile([this] { return unsavedInput(); }, this);
  connect(memo_Input, &QsciScintilla::textChanged, m_Recovery, &orvo::RecoveryFile::inputChanged);
  connect(memo_Input, &QsciScintilla::modificationChanged, m_Recovery, [this](bool modified) {
    // Saved, or back as it was: nothing is left to recover.
    if (!modified) m_Recovery->discard();
  });
  connect(m_Recovery, &orvo::RecoveryFile::writeFailed, this, [this](const QString& reason) {
    statusBar()->showMessage(
        tr("Unsaved input cannot be kept for recovery in %1: %2")
            .arg(QDir::toNativeSeparators(orvo::RecoveryFile::directory()), reason));
  });
  createMessagesPanel();
  m_Explorer =
      new orvo::ExplorerPanels(this, memo_Input, memo_Output, m_MessagesDock, mi_View, ToolBar1,
                               m_Settings);
  m_Explorer->explainPanel()->setRunInputSource(
      [this] { return orvo::RunInput{memo_Input->bytes().toStdString(), runOptions()}; });
  m_StandardPane = new orvo::StandardPane(this, memo_Input, memo_Output, mi_View, m_Settings);
  connect(m_EditActions, &orvo::EditActions::wentToLine, m_Explorer,
          &orvo::ExplorerPanels::followCursorOf);
  connect(m_StandardPane, &orvo::StandardPane::inputPlaceActivated, this,
          &Tfrm_orvo::selectInputBytes);
  m_IncludedFiles = new orvo::IncludedFileViewer(this, memo_Input);
  connect(m_StandardPane, &orvo::StandardPane::includedPlaceActivated, m_IncludedFiles,
          &orvo::IncludedFileViewer::showPlace);
  connect(m_MessagesPanel, &MessagesPanel::includedPlaceActivated, m_IncludedFiles,
          &orvo::IncludedFileViewer::showPlace);
  for (orvo::CodeEditor* editor : {m_StandardPane->standardOutput(), m_IncludedFiles->viewer()})
    connect(editor, &QsciScintillaBase::SCN_ZOOM, this, [this, editor] { syncZoomFrom(editor); });
  // Standard C's run and the comparison go with the live preview's runs
  // while the pane is open; opening it runs at once.
  m_LivePreview->setWithStandard(m_StandardPane->isOpen());
  connect(m_StandardPane, &orvo::StandardPane::openChanged, this, [this](bool open) {
    m_LivePreview->setWithStandard(open);
    if (open) {
      m_LivePreview->runNow();
    } else {
      m_Explorer->showStandardRun(nullptr);
      m_MessagesPanel->showStandardDiagnostics({});
    }
    updateOutOfDate();
  });
  connect(m_LivePreview.get(), &orvo::LivePreview::compared, this,
          [this](const std::shared_ptr<const orvo::compare::Comparison>& comparison,
                 const std::shared_ptr<const orvo::StepRecording>& standardSteps) {
            m_StandardPane->showComparison(*comparison);
            m_Explorer->showStandardRun(standardSteps);
            m_MessagesPanel->showStandardDiagnostics(
                orvo::StandardPane::standardDiagnostics(*comparison));
            m_MessagesDock->setVisible(m_MessagesPanel->topLevelItemCount() > 0);
            // A comparison arrives only while the input is the one it ran over.
            m_ComparedVersion = m_InputVersion;
            updateOutOfDate();
          });
  m_Layout->manageDocks(findChildren<QDockWidget*>());
  orvo::setUpViewSwitches(*this);
  createStatusBar();
  restoreSettings();
  FormCreate();
  previewHelpText();
}

Tfrm_orvo::~Tfrm_orvo() = default;

void Tfrm_orvo::createActions() {
  struct ActionRecord {
    QAction* Tfrm_orvo::*action;
    const char* name;
    const char* caption;
    const char* hint;
    const char* themeIcon;  // empty for an action without an icon
    QStyle::StandardPixmap fallbackIcon;
    QList<QKeySequence> keys;
    void (Tfrm_orvo::*handler)();
  };
  const ActionRecord actions[] = {
      {&Tfrm_orvo::ac_New, "ac_New", "&New", "New empty input", "document-new",
       QStyle::SP_FileIcon, {QKeySequence::New}, &Tfrm_orvo::ac_NewExecute},
      {&Tfrm_orvo::ac_open, "ac_open", "&Open", "Open input file", "document-open",
       QStyle::SP_DialogOpenButton, {QKeySequence::Open}, &Tfrm_orvo::ac_openExecute},
      {&Tfrm_orvo::ac_Save, "ac_Save", "&Save Output", "Save output as", "document-save",
       QStyle::SP_DialogSaveButton, {QKeySequence::Save}, &Tfrm_orvo::ac_SaveExecute},
      {&Tfrm_orvo::ac_SaveAs, "ac_SaveAs", "Save Output &As…", "Save output to another file",
       "document-save-as", QStyle::SP_DialogSaveButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
       &Tfrm_orvo::ac_SaveAsExecute},
      {&Tfrm_orvo::ac_SaveInput, "ac_SaveInput", "Save &Input", "Save the input text to its file",
       "document-save", QStyle::SP_DialogSaveButton, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S)},
       &Tfrm_orvo::ac_SaveInputExecute},
      {&Tfrm_orvo::ac_SaveInputAs, "ac_SaveInputAs", "Save Input As…",
       "Save the input text to another file", "document-save-as", QStyle::SP_DialogSaveButton,
       {QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_S)}, &Tfrm_orvo::ac_SaveInputAsExecute},
      {&Tfrm_orvo::ac_Execute, "ac_Execute", "ac_Execute", "Preprocess", "media-playback-start",
       QStyle::SP_MediaPlay, {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return)},
       &Tfrm_orvo::ac_ExecuteExecute},
      {&Tfrm_orvo::ac_Quit, "ac_Quit", "&Quit", "Quit orvo", "application-exit",
       QStyle::SP_DialogCloseButton, {QKeySequence(Qt::CTRL | Qt::Key_Q)}, nullptr},
      {&Tfrm_orvo::ac_IncludeDirectories, "ac_IncludeDirectories", "&Include Directories…",
       "Directories searched by #include", "", QStyle::SP_DirIcon, {},
       &Tfrm_orvo::ac_IncludeDirectoriesExecute},
      {&Tfrm_orvo::ac_ZoomIn, "ac_ZoomIn", "Zoom &In", "Larger text", "zoom-in",
       QStyle::SP_ArrowUp, {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, nullptr},
      {&Tfrm_orvo::ac_ZoomOut, "ac_ZoomOut", "Zoom &Out", "Smaller text", "zoom-out",
       QStyle::SP_ArrowDown, {QKeySequence::ZoomOut}, nullptr},
      {&Tfrm_orvo::ac_ZoomReset, "ac_ZoomReset", "&Normal Size", "Text at its normal size",
       "zoom-original", QStyle::SP_ArrowRight, {QKeySequence(Qt::CTRL | Qt::Key_0)}, nullptr},
      {&Tfrm_orvo::ac_About, "ac_About", "&About orvo", "Version and licences", "help-about",
       QStyle::SP_MessageBoxInformation, {}, nullptr},
  };
  for (const ActionRecord& record : actions) {
    const QIcon icon = *record.themeIcon == '\0'
                           ? QIcon()
                           : QIcon::fromTheme(QString::fromLatin1(record.themeIcon),
                                              style()->standardIcon(record.fallbackIcon));
    auto* action = new QAction(icon, QString::fromUtf8(record.caption), this);
    action->setObjectName(QString::fromLatin1(record.name));
    action->setShortcuts(record.keys);
    action->setToolTip(toolTipWithKeys(QString::fromUtf8(record.hint), record.keys));
    if (record.handler != nullptr) connect(action, &QAction::triggered, this, record.handler);
    // Keys work wherever the focus is in the window, menus open or not.
    addAction(action);
    this->*record.action = action;
  }
  connect(ac_Quit, &QAction::triggered, this, &QWidget::close);
  connect(ac_ZoomIn, &QAction::triggered, this, [this] { setZoom(m_Zoom + 1); });
  connect(ac_ZoomOut, &QAction::triggered, this, [this] { setZoom(m_Zoom - 1); });
  connect(ac_ZoomReset, &QAction::triggered, this, [this] { setZoom(0); });
  connect(ac_About, &QAction::triggered, this, [this] { orvo::showAboutBox(this); });

  ac_LiveMode = new QAction(QIcon::fromTheme(QStringLiteral("view-refresh"),
                                             style()->standardIcon(QStyle::SP_BrowserReload)),
                            tr("Preprocess as you type"), this);
  ac_LiveMode->setObjectName(QStringLiteral("ac_LiveMode"));
  ac_LiveMode->setCheckable(true);
  ac_LiveMode->setToolTip(tr("Preprocess as you type: show the output a moment after each edit"));
  connect(ac_LiveMode, &QAction::toggled, this, &Tfrm_orvo::setLiveMode);
}

void Tfrm_orvo::createMenus() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  mi_File = menuBar()->addMenu(QStringLiteral("&File"));
  mi_File->setObjectName(QStringLiteral("mi_File"));
  // The menu entries are items of their own that run the actions, so that
  // each has its name. They show the actions' keys, which stay the
  // actions' own: an entry's keys only act while its menu has the focus.
  const auto addEntry = [this](QMenu* menu, QAction* action, const char* name) {
    QAction* entry = menu->addAction(action->icon(), action->text());
    entry->setObjectName(QString::fromLatin1(name));
    entry->setShortcuts(action->shortcuts());
    entry->setShortcutContext(Qt::WidgetShortcut);
    connect(entry, &QAction::triggered, action, &QAction::trigger);
    return entry;
  };
  addEntry(mi_File, ac_New, "mni_New");
  mni_Open = addEntry(mi_File, ac_open, "mni_Open");
  mi_Recent = new orvo::RecentFilesMenu(mi_File);
  mi_File->addMenu(mi_Recent);
  connect(mi_Recent, &orvo::RecentFilesMenu::fileChosen, this, &Tfrm_orvo::openFile);
  connect(mi_Recent, &orvo::RecentFilesMenu::clearRequested, this, [this] {
    m_Settings.clearRecentFiles();
    updateRecentMenu();
  });
  mi_File->addSeparator();
  addEntry(mi_File, ac_SaveInput, "mni_SaveInput");
  addEntry(mi_File, ac_SaveInputAs, "mni_SaveInputAs");
  mi_File->addSeparator();
  mni_Save = addEntry(mi_File, ac_Save, "mni_Save");
  addEntry(mi_File, ac_SaveAs, "mni_SaveAs");
  mi_File->addSeparator();
  addEntry(mi_File, ac_Quit, "mni_Quit");

  // Filled once the text areas exist: its items act on them.
  mi_Edit = menuBar()->addMenu(tr("&Edit"));
  mi_Edit->setObjectName(QStringLiteral("mi_Edit"));

  mi_View = menuBar()->addMenu(tr("&View"));
  mi_View->setObjectName(QStringLiteral("mi_View"));
  mi_View->addAction(ac_ZoomIn);
  mi_View->addAction(ac_ZoomOut);
  mi_View->addAction(ac_ZoomReset);
  mi_View->addSeparator();

  QMenu* run = menuBar()->addMenu(tr("&Run"));
  run->setObjectName(QStringLiteral("mi_Run"));
  QAction* preprocess = run->addAction(ac_Execute->icon(), tr("&Preprocess"));
  preprocess->setObjectName(QStringLiteral("mni_Preprocess"));
  preprocess->setShortcuts(ac_Execute->shortcuts());
  preprocess->setShortcutContext(Qt::WidgetShortcut);
  connect(preprocess, &QAction::triggered, ac_Execute, &QAction::trigger);
  run->addAction(ac_LiveMode);
  run->addSeparator();
  run->addAction(ac_IncludeDirectories);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("mi_Help"));
  auto* helpLists = new orvo::HelpMenu(this, help);
  connect(helpLists, &orvo::HelpMenu::exampleChosen, this, &Tfrm_orvo::openExample);
  help->addSeparator();
  help->addAction(ac_About);
}

void Tfrm_orvo::createToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->toggleViewAction()->setVisible(false);

  const auto addButton = [this](QAction* action, const char* name) {
    ToolBar1->addSeparator();
    ToolBar1->addAction(action);
    ToolBar1->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
  };
  addButton(ac_open, "tb_Open");
  addButton(ac_Save, "tb_Save");
  addButton(ac_Execute, "tb_Execute");
  ToolBar1->addSeparator();

  cb_Examples = new orvo::ExamplesBox(ToolBar1);
  cb_Examples->setObjectName(QStringLiteral("cb_Examples"));
  cb_Examples->setToolTip(QStringLiteral("macro examples"));
  cb_Examples->setPlaceholderText(QStringLiteral("macro examples"));
  ToolBar1->addWidget(cb_Examples);
  // Fired when the user picks an item, also the one already shown.
  connect(cb_Examples, &QComboBox::activated, this, &Tfrm_orvo::cb_ExamplesClick);
  connect(cb_Examples, &QComboBox::highlighted, this,
          [this](int index) { StatusBar1->showMessage(cb_Examples->description(index)); });
  // Fired before a pick is handled, whose own message then follows.
  connect(cb_Examples, &orvo::ExamplesBox::popupHidden, this, [this] { StatusBar1->clearMessage(); });

  // The live-preview switch, with its caption, at the right of the list.
  ToolBar1->addSeparator();
  ToolBar1->addAction(ac_LiveMode);
  if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(ac_LiveMode))) {
    button->setObjectName(QStringLiteral("tb_LiveMode"));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
}

void Tfrm_orvo::createTextAreas() {
  memo_Input = new orvo::CodeEditor(this);
  memo_Input->setObjectName(QStringLiteral("memo_Input"));
  m_LongLines = new orvo::LongLineEditor(memo_Input);
  memo_Input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  std::string help;
  for (std::size_t i = 0; i < std::size(kHelpLines); ++i) {
    if (i > 0) help.append("\r\n");
    help.append(kHelpLines[i]);
  }
  memo_Input->setBytes(help, orvo::TextEncoding::Utf8);
  memo_Input->setModified(false);
  memo_Input->setProse(true);
  auto* inputArea = new orvo::CaptionedArea(tr("Input"), memo_Input, this);
  inputArea->caption()->setObjectName(QStringLiteral("lbl_InputCaption"));

  m_OutputPane = new orvo::OutputPane(this);
  memo_Output = m_OutputPane->editor();
  auto* outputArea = new orvo::CaptionedArea(tr("Output"), m_OutputPane, this);
  outputArea->caption()->setObjectName(QStringLiteral("lbl_OutputCaption"));

  m_Layout = new orvo::EditorLayout(this, inputArea, memo_Input, outputArea, memo_Output,
                                    m_Settings);
  Splitter = m_Layout->splitter();
  m_FindBar = new orvo::FindBar({memo_Input, memo_Output}, this);
  auto* central = new QWidget(this);
  auto* rows = new QVBoxLayout(central);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  rows->addWidget(Splitter, 1);
  rows->addWidget(m_FindBar);
  setCentralWidget(central);
  createEditMenu();

  connect(memo_Input, &QsciScintilla::textChanged, this, &Tfrm_orvo::inputEdited);
  connect(memo_Input, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int, int modification) { inputModified(modification); });
  connect(memo_Input, &QsciScintilla::modificationChanged, this, [this](bool modified) {
    cb_Examples->setEdited(modified && m_Document.kind() == orvo::InputDocument::Kind::Example);
    updateTitle();
  });
  for (orvo::CodeEditor* editor : {memo_Input, memo_Output}) {
    connect(editor, &orvo::CodeEditor::filesDropped, this, &Tfrm_orvo::openDroppedFiles);
    connect(editor, &QsciScintillaBase::SCN_ZOOM, this, [this, editor] { syncZoomFrom(editor); });
  }
}

void Tfrm_orvo::createEditMenu() {
  m_EditActions = new orvo::EditActions(this, {memo_Input, memo_Output},
                                        [this](int current, int last) {
                                          return askLineNumber(current, last);
                                        });
  m_EditActions->addTo(mi_Edit);
  mi_Edit->addSeparator();
  for (QAction* action : {m_FindBar->findAction(), m_FindBar->findNextAction(),
                          m_FindBar->findPreviousAction(), m_FindBar->replaceAction()}) {
    mi_Edit->addAction(action);
    addAction(action);
  }
  mi_View->addAction(m_Layout->sideBySideAction());
}

std::optional<int> Tfrm_orvo::askLineNumber(int current, int last) {
  bool ok = false;
  const int line = QInputDialog::getInt(this, tr("Go to Line"), tr("Line (1 to %1):").arg(last),
                                        current, 1, last, 1, &ok);
  if (!ok) return std::nullopt;
  return line;
}

void Tfrm_orvo::previewHelpText() {
  if (!ac_LiveMode->isChecked()) return;
  const QByteArray input = memo_Input->bytes();
  const orvo::RecordedRun run =
      orvo::runRecorded(std::string_view(input.constData(), input.size()), runOptions());
  showLiveResult(run.result, run.steps);
}

void Tfrm_orvo::createStatusBar() {
  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  lbl_RunStatus = new QLabel(StatusBar1);
  lbl_RunStatus->setObjectName(QStringLiteral("lbl_RunStatus"));
  lbl_RunStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  StatusBar1->addWidget(lbl_RunStatus, 1);
  m_LiveErrors = new orvo::LiveErrorDisplay(memo_Input, m_OutputPane, lbl_RunStatus, this);
}

void Tfrm_orvo::restoreSettings() {
  if (!restoreGeometry(m_Settings.windowGeometry())) placeOnFirstStart();
  setZoom(m_Settings.zoom());
  updateRecentMenu();
  // Switched on quietly: the help text is no input to run.
  const QSignalBlocker quiet(ac_LiveMode);
  ac_LiveMode->setChecked(m_Settings.liveMode());
}

void Tfrm_orvo::placeOnFirstStart() {
  const QScreen* screen = this->screen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  const QSize size = orvo::firstStartSize(available.size());
  resize(size);
  move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

void Tfrm_orvo::createMessagesPanel() {
  m_MessagesDock = new QDockWidget(tr("Messages"), this);
  m_MessagesDock->setObjectName(QStringLiteral("MessagesDock"));
  m_MessagesDock->setFeatures(QDockWidget::DockWidgetClosable);
  m_MessagesPanel = new MessagesPanel(m_MessagesDock);
  m_MessagesDock->setWidget(m_MessagesPanel);
  addDockWidget(Qt::BottomDockWidgetArea, m_MessagesDock);
  m_MessagesDock->hide();
  QAction* messagesSwitch = m_MessagesDock->toggleViewAction();
  messagesSwitch->setObjectName(QStringLiteral("ac_ShowMessages"));
  messagesSwitch->setToolTip(tr("Messages: the warnings and errors of the last run"));
  mi_View->addAction(messagesSwitch);
  connect(m_MessagesPanel, &MessagesPanel::mainInputPlaceActivated, this,
          &Tfrm_orvo::selectInputBytes);
  connect(m_MessagesPanel, &MessagesPanel::otherPlaceActivated, this, [this](const QString& where) {
    statusBar()->showMessage(tr("In an included file: %1").arg(where));
  });
}

void Tfrm_orvo::FormCreate() {
  cb_Examples->fillFromCatalogue();
}

void Tfrm_orvo::closeEvent(QCloseEvent* event) {
  if (!maySetAsideInput()) {
    event->ignore();
    return;
  }
  // A clean exit: what was not saved was given up or saved just now.
  m_Recovery->discard();
  m_Settings.setWindowGeometry(saveGeometry());
  m_Layout->save();
  m_Settings.setZoom(m_Zoom);
  QMainWindow::closeEvent(event);
}

std::optional<orvo::RecoveryRecord> Tfrm_orvo::unsavedInput() const {
  if (!memo_Input->isModified()) return std::nullopt;
  return orvo::RecoveryRecord{m_Document, memo_Input->encoding(), memo_Input->bytes(), {}};
}

void Tfrm_orvo::offerRecovery() {
  for (orvo::RecoveryFile::LeftOver& left : orvo::RecoveryFile::leftOver()) {
    switch (askToRestore(left.record)) {
      case RestoreChoice::Restore:
        if (!maySetAsideInput()) return;
        restoreInput(left.record);
        // Kept by this window now; only then does the old file go.
        m_Recovery->flush();
        orvo::RecoveryFile::remove(left);
        // One input area: any other file waits for the next start.
        return;
      case RestoreChoice::Discard:
        orvo::RecoveryFile::remove(left);
        break;
      case RestoreChoice::Later:
        return;
    }
  }
}

void Tfrm_orvo::restoreInput(const orvo::RecoveryRecord& record) {
  // What is saved of the document is loaded first and the kept text follows
  // as an edit: unsaved, as it was (the title marks it, closing asks), and
  // Undo shows what is saved.
  QByteArray saved;
  if (record.document.isFile()) {
    m_InputDir = QFile::encodeName(QFileInfo(record.document.path()).path()).toStdString();
    QFile file(record.document.path());
    if (file.open(QIODevice::ReadOnly)) saved = file.readAll();
  } else if (record.document.kind() == orvo::InputDocument::Kind::Example) {
    saved = QByteArray::fromStdString(
        cb_Examples->input(cb_Examples->findText(record.document.exampleName())));
  }
  loadInput(std::string_view(saved.constData(), static_cast<std::size_t>(saved.size())),
            record.encoding, record.document, false);
  memo_Input->replaceAllBytes(
      std::string_view(record.text.constData(), static_cast<std::size_t>(record.text.size())),
      record.encoding);
  chooseInputEditor();
  StatusBar1->showMessage(tr("Restored the unsaved input of %1 (kept %2)")
                              .arg(record.owner(),
                                   QLocale().toString(record.kept.toLocalTime(), QLocale::ShortFormat)));
}

Tfrm_orvo::RestoreChoice Tfrm_orvo::askToRestore(const orvo::RecoveryRecord& record) {
  QMessageBox box(QMessageBox::Warning, kCaption,
                  tr("orvo ended without closing properly. Changes to %1 that were not saved "
                     "were kept.")
                      .arg(record.owner()),
                  QMessageBox::NoButton, this);
  box.setInformativeText(
      tr("Restore them into the input area? They were kept %1. Discard deletes them; Later "
         "keeps them for the next start.")
          .arg(QLocale().toString(record.kept.toLocalTime(), QLocale::ShortFormat)));
  QPushButton* restore = box.addButton(tr("&Restore"), QMessageBox::AcceptRole);
  restore->setObjectName(QStringLiteral("bt_Restore"));
  QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
  box.addButton(tr("&Later"), QMessageBox::RejectRole);
  box.setDefaultButton(restore);
  box.exec();
  if (box.clickedButton() == restore) return RestoreChoice::Restore;
  if (box.clickedButton() == discard) return RestoreChoice::Discard;
  return RestoreChoice::Later;
}

void Tfrm_orvo::cb_ExamplesClick() {
  const int index = cb_Examples->currentIndex();
  if (index < 0) return;
  if (!maySetAsideInput()) {
    // The box goes back to what the input area shows.
    const QSignalBlocker quiet(cb_Examples);
    cb_Examples->setCurrentIndex(cb_Examples->findText(m_Document.exampleName()));
    return;
  }
  // One edit that Undo takes back, so typed text is never out of reach.
  loadInput(cb_Examples->input(index), orvo::TextEncoding::Utf8,
            orvo::InputDocument::example(cb_Examples->itemText(index)), true);
  StatusBar1->showMessage(
      tr("%1: %2").arg(cb_Examples->itemText(index), cb_Examples->description(index)));
}

void Tfrm_orvo::loadInput(std::string_view bytes, orvo::TextEncoding encoding,
                          const orvo::InputDocument& document, bool undoable) {
  const orvo::InputDocument before = m_Document;
  m_Document = document;
  ++m_DocumentCount;
  if (undoable && encoding == memo_Input->encoding()) {
    QByteArray beforeText = memo_Input->bytes();
    const bool beforeModified = memo_Input->isModified();
    memo_Input->replaceAllBytes(bytes, encoding);
    m_Loads.loaded(before, std::move(beforeText), beforeModified, document, memo_Input->bytes());
  } else {
    memo_Input->setBytes(bytes, encoding);
    m_Loads.forget();
  }
  memo_Input->setModified(false);
  showDocumentName();
  chooseInputEditor();
}

void Tfrm_orvo::chooseInputEditor() {
  const bool longLine = orvo::LongLineEditor::hasLongLine(memo_Input->bytes());
  if (longLine == m_LongLines->isActive()) return;
  if (longLine) {
    m_LongLines->activate();
    StatusBar1->showMessage(
        tr("This input has a line of more than %1 KB: it is edited as plain text, without "
           "colouring, tips or Find, so that typing stays quick.")
            .arg(orvo::LongLineEditor::kLongLineBytes / 1024));
  } else {
    m_LongLines->deactivate();
  }
}

void Tfrm_orvo::showDocumentName() {
  const bool example = m_Document.kind() == orvo::InputDocument::Kind::Example;
  {
    const QSignalBlocker quiet(cb_Examples);
    cb_Examples->setCurrentIndex(example ? cb_Examples->findText(m_Document.exampleName()) : -1);
  }
  cb_Examples->setEdited(example && memo_Input->isModified());
  updateTitle();
}

void Tfrm_orvo::inputModified(int modification) {
  using Base = QsciScintillaBase;
  if ((modification & (Base::SC_MOD_INSERTTEXT | Base::SC_MOD_DELETETEXT)) == 0) return;
  if ((modification & Base::SC_PERFORMED_USER) != 0) {
    m_Loads.edited();
    return;
  }
  if ((modification & Base::SC_LASTSTEPINUNDOREDO) == 0) return;
  const QByteArray text = memo_Input->bytes();
  const std::optional<orvo::UndoableLoads::Shown> shown =
      (modification & Base::SC_PERFORMED_UNDO) != 0 ? m_Loads.undone(text) : m_Loads.redone(text);
  if (!shown) return;
  m_Document = shown->document;
  ++m_DocumentCount;
  // Text just as it was when it was left is unmodified again: no prompt
  // guards it and the title shows no mark.
  if (!shown->modified) memo_Input->setModified(false);
  showDocumentName();
}

void Tfrm_orvo::updateTitle() {
  setWindowTitle(m_Document.title(memo_Input->isModified(), kCaption));
  // Once edited, the welcome text is code like any other.
  memo_Input->setProse(showsWelcome());
}

bool Tfrm_orvo::showsWelcome() const {
  return m_Document.kind() == orvo::InputDocument::Kind::Welcome && !memo_Input->isModified();
}

void Tfrm_orvo::ac_NewExecute() {
  if (!maySetAsideInput()) return;
  // One edit that Undo takes back, as an example's load is.
  loadInput({}, orvo::TextEncoding::Utf8, orvo::InputDocument::untitled(), true);
  memo_Input->setFocus();
}

void Tfrm_orvo::openExample(const QString& name) {
  const int index = cb_Examples->findText(name);
  if (index < 0) return;
  cb_Examples->setCurrentIndex(index);
  cb_ExamplesClick();
}

void Tfrm_orvo::ac_openExecute() {
  const QString path = chooseOpenFile();
  if (!path.isEmpty()) openFile(path);
}

bool Tfrm_orvo::openFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    showMessage(kCaption, tr("Cannot open \"%1\": %2").arg(path, file.errorString()));
    if (!QFileInfo::exists(path)) {
      m_Settings.removeRecentFile(QFileInfo(path).absoluteFilePath());
      updateRecentMenu();
    }
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    showMessage(kCaption, tr("Cannot read \"%1\": %2").arg(path, file.errorString()));
    return false;
  }
  if (!maySetAsideInput()) return false;
  // The directory is the run's as soon as the text is, so that the live
  // run over the new text searches it.
  // QFileInfo::path() drops the file name and the separator before it,
  // and keeps "/" for a file in the root directory.
  m_InputDir = QFile::encodeName(QFileInfo(path).path()).toStdString();
  const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  const QString absolute = QFileInfo(path).absoluteFilePath();
  loadInput(text, orvo::encodingOf(bytes),
            orvo::InputDocument::file(absolute, orvo::lineEndStyleOf(text)), false);
  m_Settings.addRecentFile(absolute);
  m_Settings.setLastDirectory(QFileInfo(absolute).path());
  updateRecentMenu();
  return true;
}

void Tfrm_orvo::ac_SaveExecute() {
  if (m_SavePath.isEmpty()) {
    ac_SaveAsExecute();
    return;
  }
  if (makeOutputCurrent()) saveTo(m_SavePath);
}

void Tfrm_orvo::ac_SaveAsExecute() {
  if (!makeOutputCurrent()) return;
  const QString path = chooseSaveFile();
  if (!path.isEmpty()) saveTo(path);
}

void Tfrm_orvo::saveTo(const QString& path) {
  const orvo::SaveOutcome outcome = orvo::saveFileSafely(path, memo_Output->fileLines());
  if (!outcome.saved) {
    showMessage(kCaption, tr("Cannot save \"%1\": %2\n\nNothing was written; a file that was "
                             "there is unchanged.")
                              .arg(path, outcome.reason));
    return;
  }
  m_SavePath = path;
  m_Settings.setLastDirectory(QFileInfo(path).absolutePath());
  StatusBar1->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 4000);
}

bool Tfrm_orvo::makeOutputCurrent() {
  if (m_OutputVersion == m_InputVersion) return true;
  // A live run under way is of this same input, but waiting for it would
  // take as long as a run of its own and could not be cancelled from here.
  m_LivePreview->cancel();
  const std::optional<orvo::RecordedRun> run = orvo::runWhileWaiting(
      orvo::RunInput{memo_Input->bytes().toStdString(), runOptions()}, this);
  if (!run) {
    StatusBar1->showMessage(tr("Not saved: preprocessing was cancelled"), 4000);
    return false;
  }
  showWaitedRun(*run);
  if (run->result.ok()) return true;
  const QString where = showRunError(*run->result.error);
  showMessage(kCaption, tr("Nothing was saved: the input has an error, so it has no output to "
                           "save.\n\n%1")
                            .arg(where));
  return false;
}

void Tfrm_orvo::ac_SaveInputExecute() { saveInput(); }

void Tfrm_orvo::ac_SaveInputAsExecute() { saveInputAs(); }

bool Tfrm_orvo::saveInput() {
  return m_Document.isFile() ? saveInputTo(m_Document.path()) : saveInputAs();
}

bool Tfrm_orvo::saveInputAs() {
  const QString path = chooseSaveInputFile();
  return !path.isEmpty() && saveInputTo(path);
}

bool Tfrm_orvo::saveInputTo(const QString& path) {
  const QByteArray held = memo_Input->bytes();
  // A file keeps the line ends it came with; other text gets CR LF.
  const std::string text = orvo::withLineEnds(
      std::string_view(held.constData(), static_cast<std::size_t>(held.size())),
      m_Document.lineEnds());
  const orvo::SaveOutcome outcome =
      orvo::saveFileSafely(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  if (!outcome.saved) {
    showMessage(kCaption, tr("Cannot save the input to \"%1\": %2\n\nNothing was written; a "
                             "file that was there is unchanged.")
                              .arg(path, outcome.reason));
    return false;
  }
  const QString absolute = QFileInfo(path).absoluteFilePath();
  m_Document = orvo::InputDocument::file(absolute, m_Document.lineEnds());
  // Undo past this point leaves text that is not the file's; it no longer
  // brings back an example's name either.
  m_Loads.forget();
  // The input is that file now: its folder is searched for includes.
  const std::string directory = QFile::encodeName(QFileInfo(absolute).path()).toStdString();
  if (directory != m_InputDir) {
    m_InputDir = directory;
    ++m_InputVersion;
    if (ac_LiveMode->isChecked()) m_LivePreview->inputChanged();
    updateOutOfDate();
  }
  {
    const QSignalBlocker quiet(cb_Examples);
    cb_Examples->setCurrentIndex(-1);
  }
  cb_Examples->setEdited(false);
  memo_Input->setModified(false);
  updateTitle();
  m_Settings.addRecentFile(absolute);
  m_Settings.setLastDirectory(QFileInfo(absolute).path());
  updateRecentMenu();
  StatusBar1->showMessage(tr("Saved the input to %1").arg(QDir::toNativeSeparators(path)), 4000);
  return true;
}

bool Tfrm_orvo::maySetAsideInput() {
  if (!memo_Input->isModified()) return true;
  switch (askToSaveInput(m_Document.displayName(true))) {
    case SaveChoice::Save:
      return saveInput();
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

orvo::RunOptions Tfrm_orvo::runOptions() const {
  orvo::RunOptions options;
  options.sourceDir = m_InputDir;
  for (const QString& directory : m_Settings.includeDirectories()) {
    options.includeDirectories.emplace_back(QFile::encodeName(directory).constData());
  }
  // An example that includes a header of its own finds it.
  if (m_Document.kind() == orvo::InputDocument::Kind::Example) {
    const std::string own = m_ExampleFolders->includeDirectoryOf(m_Document.exampleName());
    if (!own.empty()) options.includeDirectories.push_back(own);
  }
  return options;
}

void Tfrm_orvo::ac_ExecuteExecute() {
  // This run's result is the newest; a live run under way would be older.
  m_LivePreview->cancel();
  const QByteArray input = memo_Input->bytes();
  const orvo::RecordedRun run =
      orvo::runRecorded(std::string_view(input.constData(), input.size()), runOptions());
  showWaitedRun(run);
  if (!run.result.ok()) showMessage(kCaption, showRunError(*run.result.error));
}

void Tfrm_orvo::showWaitedRun(const orvo::RecordedRun& run) {
  m_LiveErrors->clear();
  const orvo::RunResult& result = run.result;
  showMessages(result);
  // After an error the output keeps what it shows, marked as stale.
  if (result.ok()) {
    setOutputText(result.output);
    m_OutputVersion = m_InputVersion;
    m_OutputDocument = m_DocumentCount;
  }
  m_Explorer->showRun(result, run.steps);
  updateOutOfDate();
  // Standard C's result of this input follows on the worker (F5 and Save alike).
  if (m_StandardPane->isOpen()) m_LivePreview->runNow();
}

QString Tfrm_orvo::showRunError(const orvo::RunError& error) {
  dropOutputOfOtherDocument();
  m_OutputPane->setStale(true);
  orvo::clearStatusMessage(*lbl_RunStatus);
  const QString text = QString::fromUtf8(error.text);
  const QString described = orvo::runErrorText(error, *memo_Input);
  // Marking the place first lets the user see it while the message is open;
  // a place in an included file is named instead.
  std::optional<std::pair<int, int>> range;
  if (error.place && error.place->inMainInput) {
    range.emplace(error.place->begin, std::max(error.place->begin, error.place->end));
  } else if (!error.place && error.hasPosition()) {
    range.emplace(error.begin, std::max(error.begin, error.end));
  }
  if (range) {
    const auto [begin, end] = memo_Input->visiblePlace(range->first, range->second);
    memo_Input->markError(begin, end, text);
    selectInputBytes(range->first, range->second);
  }
  lbl_RunStatus->setText(described.section(QLatin1Char('\n'), 0, 0));
  return described;
}

void Tfrm_orvo::updateOutOfDate() {
  // With the live preview on, a run is coming; a note would only flicker.
  m_OutputPane->setOutOfDate(m_OutputVersion != m_InputVersion && !ac_LiveMode->isChecked() &&
                             memo_Output->length() > 0);
  // The pane is out of date once the output is newer than its comparison,
  // or the input is while no run is coming.
  m_StandardPane->setOutOfDate(m_StandardPane->isOpen() && m_ComparedVersion != m_InputVersion &&
                               (m_OutputVersion == m_InputVersion || !ac_LiveMode->isChecked()));
}

void Tfrm_orvo::dropOutputOfOtherDocument() {
  if (m_OutputDocument == m_DocumentCount) return;
  setOutputText({});
  m_OutputDocument = m_DocumentCount;
}

void Tfrm_orvo::selectInputBytes(int begin, int end) {
  memo_Input->selectBytes(begin, end);
}

void Tfrm_orvo::setOutputText(const std::string& text) {
  const std::string shown = orvo::convertLineEnds(text);
  // The output keeps the input's bytes: Latin-1 input gives Latin-1 output.
  const QByteArray bytes = QByteArray::fromRawData(shown.data(), static_cast<qsizetype>(shown.size()));
  const orvo::TextEncoding encoding = memo_Input->encoding() == orvo::TextEncoding::Latin1
                                          ? orvo::TextEncoding::Latin1
                                          : orvo::encodingOf(bytes);
  memo_Output->setBytes(shown, encoding, false);
  memo_Output->setProse(showsWelcome());
}

void Tfrm_orvo::inputEdited() {
  ++m_InputVersion;
  updateOutOfDate();
  m_LiveErrors->inputEdited();
  if (ac_LiveMode->isChecked()) m_LivePreview->inputChanged();
}

void Tfrm_orvo::setLiveMode(bool on) {
  m_Settings.setLiveMode(on);
  if (on) {
    m_LivePreview->inputChanged();
    return;
  }
  m_LivePreview->cancel();
  m_LiveErrors->clear();
  updateOutOfDate();
}

void Tfrm_orvo::showLiveResult(const orvo::RunResult& result,
                               const std::shared_ptr<const orvo::StepRecording>& steps) {
  // No message box while typing: an error leaves the output as it is.
  if (!result.ok()) dropOutputOfOtherDocument();
  m_LiveErrors->showResult(result);
  // The messages are this run's, error or not: none of an older run stays.
  showMessages(result);
  if (result.ok()) {
    setOutputText(result.output);
    // A result arrives only while the input is still the one it ran over.
    m_OutputVersion = m_InputVersion;
    m_OutputDocument = m_DocumentCount;
    updateOutOfDate();
    m_Explorer->showRun(result, steps);
  } else {
    m_Explorer->showStoppedMacros(result, steps);
  }
}

void Tfrm_orvo::showMessages(const orvo::RunResult& result) {
  m_MessagesPanel->showDiagnostics(result.diagnostics);
  m_MessagesDock->setVisible(m_MessagesPanel->topLevelItemCount() > 0);
}

void Tfrm_orvo::setZoom(int zoom) {
  m_Zoom = std::clamp(zoom, orvo::AppSettings::kMinZoom, orvo::AppSettings::kMaxZoom);
  for (orvo::CodeEditor* editor : {memo_Input, memo_Output}) {
    if (editor->SendScintilla(QsciScintillaBase::SCI_GETZOOM) != m_Zoom) editor->zoomTo(m_Zoom);
  }
  m_Settings.setZoom(m_Zoom);
  for (QDockWidget* dock : findChildren<QDockWidget*>()) orvo::zoomPanel(dock->widget(), m_Zoom);
}

void Tfrm_orvo::syncZoomFrom(orvo::CodeEditor* editor) {
  const int zoom = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_GETZOOM));
  if (zoom != m_Zoom) setZoom(zoom);
}

void Tfrm_orvo::ac_IncludeDirectoriesExecute() {
  const std::optional<QStringList> directories =
      editIncludeDirectories(m_Settings.includeDirectories());
  if (!directories) return;
  m_Settings.setIncludeDirectories(*directories);
  ++m_InputVersion;
  updateOutOfDate();
  if (ac_LiveMode->isChecked()) m_LivePreview->inputChanged();
}

std::optional<QStringList> Tfrm_orvo::editIncludeDirectories(const QStringList& directories) {
  orvo::IncludeDirectoriesDialog dialog(directories, this);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.directories();
}

void Tfrm_orvo::updateRecentMenu() { mi_Recent->setFiles(m_Settings.recentFiles()); }

void Tfrm_orvo::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Tfrm_orvo::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  event->acceptProposedAction();
  openDroppedFiles(event->mimeData()->urls());
}

void Tfrm_orvo::openDroppedFiles(const QList<QUrl>& urls) {
  // Handled once the drop has returned: a message box or a question shown
  // inside it would hold the drag of the program the files came from.
  QTimer::singleShot(0, this, [this, urls] {
    // One input area: the first local file is opened.
    for (const QUrl& url : urls) {
      if (!url.isLocalFile()) continue;
      const QString path = url.toLocalFile();
      if (QFileInfo(path).isDir()) {
        showMessage(kCaption, tr("\"%1\" is a folder; drop a file to open it.")
                                  .arg(QDir::toNativeSeparators(path)));
      } else {
        openFile(path);
      }
      return;
    }
  });
}

void Tfrm_orvo::showMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
  box.exec();
}

QString Tfrm_orvo::chooseOpenFile() {
  return QFileDialog::getOpenFileName(this, QString(), m_Settings.lastDirectory());
}

QString Tfrm_orvo::chooseSaveFile() {
  return QFileDialog::getSaveFileName(this, tr("Save Output"), m_Settings.lastDirectory());
}

QString Tfrm_orvo::chooseSaveInputFile() {
  const QString start = m_Document.isFile() ? m_Document.path() : m_Settings.lastDirectory();
  return QFileDialog::getSaveFileName(this, tr("Save Input"), start);
}

Tfrm_orvo::SaveChoice Tfrm_orvo::askToSaveInput(const QString& name) {
  QMessageBox box(QMessageBox::Warning, kCaption,
                  tr("Save the changes to the input \"%1\"?").arg(name),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  box.setInformativeText(tr("The input text was changed and has not been saved. Without saving, "
                            "the changes are lost."));
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChoice::Save;
    case QMessageBox::Discard:
      return SaveChoice::Discard;
    default:
      return SaveChoice::Cancel;
  }
}
