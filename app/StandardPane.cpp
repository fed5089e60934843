#include "app/StandardPane.h"

#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>

#include "app/AppSettings.h"
#include "app/CodeEditor.h"
#include "app/DifferencesPanel.h"
#include "app/LongLineCut.h"

namespace orvo {
namespace {

// The marker of lines that differ, beside the editor's own markers (the
// linked-lines marker is 20).
constexpr int kDifferenceMarker = 21;
// About 45 characters of the editor's font.
constexpr int kMinimumWidth = 360;

void defineDifferenceMarker(CodeEditor* editor) {
  editor->markerDefine(QsciScintilla::Background, kDifferenceMarker);
  editor->setMarkerBackgroundColor(QColor(255, 228, 196), kDifferenceMarker);
}

void selectLine(CodeEditor* editor, int line) {
  if (line <= 0 || line > editor->lines()) return;
  // The line without its line break.
  const QString text = editor->text(line - 1);
  int length = static_cast<int>(text.size());
  while (length > 0 && (text[length - 1] == QLatin1Char('\n') || text[length - 1] == QLatin1Char('\r')))
    --length;
  editor->setSelection(line - 1, 0, line - 1, length);
  editor->ensureLineVisible(line - 1);
}

}  // namespace

StandardPane::StandardPane(QMainWindow* window, CodeEditor* input, CodeEditor* output,
                           QMenu* viewMenu, AppSettings& settings)
    : QObject(window), m_Input(input), m_Output(output), m_Settings(settings) {
  m_Dock = new QDockWidget(tr("Standard C"), window);
  m_Dock->setObjectName(QStringLiteral("StandardDock"));
  auto* splitter = new QSplitter(Qt::Vertical, m_Dock);
  m_Standard = new CodeEditor(splitter);
  m_Standard->setObjectName(QStringLiteral("memo_Standard"));
  m_Standard->setReadOnly(true);
  m_Differences = new DifferencesPanel(splitter);
  splitter->addWidget(m_Standard);
  splitter->addWidget(m_Differences);
  m_Dock->setWidget(splitter);
  window->addDockWidget(Qt::RightDockWidgetArea, m_Dock);
  // Wide enough to read a result line and a reason beside the output.
  m_Dock->setMinimumWidth(kMinimumWidth);
  defineDifferenceMarker(m_Standard);
  defineDifferenceMarker(m_Output);

  const QString name = m_Dock->objectName();
  m_Open = m_Settings.panelOpen(name);
  m_Dock->setVisible(m_Open);
  QAction* toggle = m_Dock->toggleViewAction();
  toggle->setObjectName(QStringLiteral("ac_StandardPane"));
  toggle->setToolTip(tr("Show standard C's result beside the output, and where they differ"));
  viewMenu->addAction(toggle);
  connect(toggle, &QAction::triggered, this, &StandardPane::setOpen);
  m_Dock->installEventFilter(this);

  // The two results scroll together: each shows the first line the other does.
  auto follow = [this](CodeEditor* from, CodeEditor* to) {
    connect(from, &QsciScintillaBase::SCN_UPDATEUI, this, [this, from, to](int) {
      if (m_Syncing || !m_Dock->isVisible()) return;
      const int line = from->firstVisibleLine();
      if (to->firstVisibleLine() == line) return;
      m_Syncing = true;
      to->setFirstVisibleLine(line);
      m_Syncing = false;
    });
  };
  follow(m_Output, m_Standard);
  follow(m_Standard, m_Output);
  connect(m_Differences, &DifferencesPanel::differenceActivated, this, &StandardPane::activate);
}

void StandardPane::setOpen(bool open) {
  m_Settings.setPanelOpen(m_Dock->objectName(), open);
  if (open == m_Open) return;
  m_Open = open;
  emit openChanged(open);
}

bool StandardPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_Dock && event->type() == QEvent::Close) setOpen(false);
  return QObject::eventFilter(watched, event);
}

void StandardPane::showComparison(const compare::Comparison& comparison) {
  // The editor takes no text while it is read-only.
  m_Standard->setReadOnly(false);
  if (comparison.trouble) {
    m_Standard->setBytes(std::string(), TextEncoding::Utf8);
    m_Differences->showDifferences({});
    m_Differences->clear();  // the agreement line too: there is no result
    m_Differences->addItem(QString::fromStdString(*comparison.trouble));
  } else {
    m_Standard->setBytes(cutLongLines(comparison.standard.output, kStandardCutNote),
                         TextEncoding::Utf8);
    m_Differences->showDifferences(comparison.differences);
  }
  m_Standard->setReadOnly(true);
  markDifferences();
  emit compared();
}

void StandardPane::markDifferences() {
  m_Standard->markerDeleteAll(kDifferenceMarker);
  m_Output->markerDeleteAll(kDifferenceMarker);
  for (const compare::Difference& difference : m_Differences->differences()) {
    if (difference.standardLine > 0) m_Standard->markerAdd(difference.standardLine - 1, kDifferenceMarker);
    if (difference.mainLine > 0) m_Output->markerAdd(difference.mainLine - 1, kDifferenceMarker);
  }
}

void StandardPane::activate(const compare::Difference& difference) {
  if (difference.place && difference.place->inMainInput) {
    const int begin = difference.place->begin;
    emit inputPlaceActivated(begin, begin + static_cast<int>(difference.place->lineText.size()));
  }
  selectLine(m_Output, difference.mainLine);
  selectLine(m_Standard, difference.standardLine);
}

}  // namespace orvo
