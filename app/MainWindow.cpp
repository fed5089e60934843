#include "app/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStringList>
#include <QStyle>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/EditorText.h"
#include "app/ExampleCatalogue.h"
#include "app/MessagesPanel.h"
#include "run/PreprocessRun.h"

namespace {

const QString kCaption = QStringLiteral("orvo");

// The input area's text at start, one entry per line.
const QStringList kHelpLines = {
    QStringLiteral("orvo is a program for testing c preprocessor directives. "),
    QString(),
    QStringLiteral("You can replace the text in the upper window with c/c++ code. As examples a lot "
                   "of macros are listed in the "),
    QStringLiteral("combobox. "),
    QStringLiteral("If you execute the preprocessor then with the button in the toolbar, the "
                   "preprocessed text appears in the "),
    QStringLiteral("lower output window."),
    QString(),
    QStringLiteral("It runs a recursive-descent parser generated from a grammar of the preprocessor."),
    QString(),
    QStringLiteral("Use the File menu to open an input file or to save the output."),
    QString(),
    QStringLiteral("the examples in the combobox are taken from"),
    QString(),
    QStringLiteral("a well-known online manual of the c preprocessor,"),
    QString(),
    QStringLiteral("which is an excellent introduction into c preprocessing too"),
};

// Space the window keeps for the tool bar, the status bar and the frame
// when it divides its height between the two text areas.
constexpr int kChromeHeight = 80;

// Design size of the window.
constexpr int kDesignWidth = 544;
constexpr int kDesignHeight = 375;

constexpr int kExampleListWidth = 145;
constexpr int kSplitterHandleHeight = 3;

// A file's text: UTF-8 when its bytes are valid UTF-8, otherwise Latin-1,
// so that no byte of a file in a legacy encoding is lost.
QString decodeFileText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) return QString::fromLatin1(bytes);
  return text;
}

}  // namespace

Tfrm_orvo::Tfrm_orvo(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frm_orvo"));
  setWindowTitle(kCaption);
  createActions();
  createMenu();
  createToolBar();
  createTextAreas();
  createMessagesPanel();
  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  resize(kDesignWidth, kDesignHeight);
  FormCreate();
}

void Tfrm_orvo::createActions() {
  struct ActionRecord {
    QAction* Tfrm_orvo::*action;
    const char* name;
    const char* caption;
    const char* hint;
    const char* themeIcon;
    QStyle::StandardPixmap fallbackIcon;
    void (Tfrm_orvo::*handler)();
  };
  static constexpr ActionRecord kActions[] = {
      {&Tfrm_orvo::ac_open, "ac_open", "&Open", "Open input file", "document-open",
       QStyle::SP_DialogOpenButton, &Tfrm_orvo::ac_openExecute},
      {&Tfrm_orvo::ac_Save, "ac_Save", "&Save", "Save output as", "document-save-as",
       QStyle::SP_DialogSaveButton, &Tfrm_orvo::ac_SaveExecute},
      {&Tfrm_orvo::ac_Execute, "ac_Execute", "ac_Execute", "Preprocess", "media-playback-start",
       QStyle::SP_MediaPlay, &Tfrm_orvo::ac_ExecuteExecute},
  };
  for (const ActionRecord& record : kActions) {
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(record.themeIcon),
                                        style()->standardIcon(record.fallbackIcon));
    auto* action = new QAction(icon, QString::fromLatin1(record.caption), this);
    action->setObjectName(QString::fromLatin1(record.name));
    action->setToolTip(QString::fromLatin1(record.hint));
    connect(action, &QAction::triggered, this, record.handler);
    this->*record.action = action;
  }
}

void Tfrm_orvo::createMenu() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  mi_File = menuBar()->addMenu(QStringLiteral("&File"));
  mi_File->setObjectName(QStringLiteral("mi_File"));
  // The menu entries are items of their own that run the actions, so that
  // each has its name; the preprocess action has no entry.
  const auto addEntry = [this](QAction* action, const char* name) {
    QAction* entry = mi_File->addAction(action->icon(), action->text());
    entry->setObjectName(QString::fromLatin1(name));
    connect(entry, &QAction::triggered, action, &QAction::trigger);
    return entry;
  };
  mni_Open = addEntry(ac_open, "mni_Open");
  mni_Save = addEntry(ac_Save, "mni_Save");
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

  cb_Examples = new QComboBox(ToolBar1);
  cb_Examples->setObjectName(QStringLiteral("cb_Examples"));
  cb_Examples->setFixedWidth(kExampleListWidth);
  cb_Examples->setToolTip(QStringLiteral("macro examples"));
  ToolBar1->addWidget(cb_Examples);
  // Fired when the user picks an item, also the one already shown.
  connect(cb_Examples, &QComboBox::activated, this, &Tfrm_orvo::cb_ExamplesClick);
}

void Tfrm_orvo::createTextAreas() {
  Splitter = new QSplitter(Qt::Vertical, this);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  Splitter->setHandleWidth(kSplitterHandleHeight);
  Splitter->setChildrenCollapsible(false);

  memo_Input = new QPlainTextEdit(Splitter);
  memo_Input->setObjectName(QStringLiteral("memo_Input"));
  memo_Input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_Input->setPlainText(kHelpLines.join(QLatin1Char('\n')));

  memo_Output = new QPlainTextEdit(Splitter);
  memo_Output->setObjectName(QStringLiteral("memo_Output"));
  memo_Output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  Splitter->addWidget(memo_Input);
  Splitter->addWidget(memo_Output);
  // The output area takes what the window gains or loses between resizes.
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  setCentralWidget(Splitter);
}

void Tfrm_orvo::createMessagesPanel() {
  m_MessagesDock = new QDockWidget(tr("Messages"), this);
  m_MessagesDock->setObjectName(QStringLiteral("MessagesDock"));
  m_MessagesDock->setFeatures(QDockWidget::DockWidgetClosable);
  m_MessagesPanel = new MessagesPanel(m_MessagesDock);
  m_MessagesDock->setWidget(m_MessagesPanel);
  addDockWidget(Qt::BottomDockWidgetArea, m_MessagesDock);
  m_MessagesDock->hide();
  connect(m_MessagesPanel, &MessagesPanel::mainInputPlaceActivated, this,
          &Tfrm_orvo::selectInputBytes);
  connect(m_MessagesPanel, &MessagesPanel::otherPlaceActivated, this, [this](const QString& where) {
    statusBar()->showMessage(tr("In an included file: %1").arg(where));
  });
}

void Tfrm_orvo::FormCreate() {
  for (std::size_t i = 0; i < orvo::ExampleCatalogue::count(); ++i) {
    cb_Examples->addItem(QString::fromUtf8(orvo::ExampleCatalogue::name(i)));
  }
  cb_Examples->setCurrentIndex(-1);
}

void Tfrm_orvo::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void Tfrm_orvo::FormResize() {
  // The input area gets about half of the window's outer height, whatever
  // the splitter was dragged to before; the output area gets the rest.
  const int inputHeight = std::max(0, (frameGeometry().height() - kChromeHeight) / 2);
  const int available = Splitter->height() - Splitter->handleWidth();
  Splitter->setSizes({inputHeight, std::max(0, available - inputHeight)});
}

void Tfrm_orvo::cb_ExamplesClick() {
  const int index = cb_Examples->currentIndex();
  if (index < 0) return;
  memo_Input->setPlainText(QString::fromUtf8(orvo::ExampleCatalogue::input(index)));
}

void Tfrm_orvo::ac_openExecute() {
  const QString path = chooseOpenFile();
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    showMessage(kCaption, tr("Cannot open \"%1\": %2").arg(path, file.errorString()));
    return;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    showMessage(kCaption, tr("Cannot read \"%1\": %2").arg(path, file.errorString()));
    return;
  }
  memo_Input->setPlainText(decodeFileText(bytes));
  // QFileInfo::path() drops the file name and the separator before it,
  // and keeps "/" for a file in the root directory.
  m_InputDir = QFile::encodeName(QFileInfo(path).path()).toStdString();
}

void Tfrm_orvo::ac_SaveExecute() {
  const QString path = chooseSaveFile();
  if (path.isEmpty()) return;
  const std::string lines = orvo::EditorText(*memo_Output->document()).lines();
  // Written to a temporary file and renamed, so a failed save leaves an
  // existing file as it was.
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(lines.data(), static_cast<qint64>(lines.size())) ==
                         static_cast<qint64>(lines.size()) &&
                     file.commit();
  if (!saved) showMessage(kCaption, tr("Cannot save \"%1\": %2").arg(path, file.errorString()));
}

void Tfrm_orvo::ac_ExecuteExecute() {
  memo_Output->clear();
  const orvo::EditorText input(*memo_Input->document());
  const orvo::RunResult result =
      orvo::runPreprocessor(input.bytes(), orvo::RunOptions{m_InputDir, std::string()});
  m_MessagesPanel->showDiagnostics(result.diagnostics);
  m_MessagesDock->setVisible(m_MessagesPanel->topLevelItemCount() > 0);
  if (result.ok()) {
    memo_Output->setPlainText(QString::fromUtf8(orvo::convertLineEnds(result.output)));
    return;
  }
  const orvo::RunError& error = *result.error;
  QString text = QString::fromUtf8(error.text);
  // Marking the place first lets the user see it while the message is open;
  // a place in an included file is named instead.
  if (error.place && error.place->inMainInput) {
    selectInputBytes(error.place->begin, std::max(error.place->begin, error.place->end));
  } else if (error.place) {
    const orvo::SourcePlace& place = *error.place;
    text += tr("\n\nin %1, line %2").arg(QString::fromStdString(place.file)).arg(place.line);
    for (auto step = place.includedFrom.rbegin(); step != place.includedFrom.rend(); ++step) {
      text += tr("\nincluded from %1, line %2")
                  .arg(QString::fromStdString(step->file))
                  .arg(step->line);
    }
  } else if (error.hasPosition()) {
    selectInputBytes(error.begin, std::max(error.begin, error.end));
  }
  showMessage(kCaption, text);
}

void Tfrm_orvo::selectInputBytes(int begin, int end) {
  const orvo::EditorText input(*memo_Input->document());
  selectInput(input.positionOf(begin), input.positionAfter(end));
}

void Tfrm_orvo::selectInput(int start, int end) {
  QTextCursor cursor(memo_Input->document());
  cursor.setPosition(start);
  cursor.setPosition(std::max(start, end), QTextCursor::KeepAnchor);
  memo_Input->setTextCursor(cursor);
  memo_Input->setFocus();
}

void Tfrm_orvo::showMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
  box.exec();
}

QString Tfrm_orvo::chooseOpenFile() { return QFileDialog::getOpenFileName(this); }

QString Tfrm_orvo::chooseSaveFile() { return QFileDialog::getSaveFileName(this); }
