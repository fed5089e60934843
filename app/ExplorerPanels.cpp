#include "app/ExplorerPanels.h"

#include <QDockWidget>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppSettings.h"
#include "app/CodeEditor.h"
#include "app/ExplainPanel.h"
#include "app/MacroHoverTips.h"
#include "app/MacrosPanel.h"
#include "app/RunErrorText.h"

namespace orvo {

ExplorerPanels::ExplorerPanels(QMainWindow* window, CodeEditor* input, CodeEditor* output,
                               QDockWidget* besideDock, QMenu* viewMenu, QToolBar* toolBar,
                               AppSettings& settings)
    : QObject(window), m_Input(input), m_Output(output), m_Settings(settings) {
  m_ExplainDock = new QDockWidget(tr("Explain"), window);
  m_ExplainDock->setObjectName(QStringLiteral("ExplainDock"));
  m_Explain = new ExplainPanel(input, m_ExplainDock);
  m_ExplainDock->setWidget(m_Explain);
  m_MacrosDock = new QDockWidget(tr("Macros"), window);
  m_MacrosDock->setObjectName(QStringLiteral("MacrosDock"));
  auto* macrosBox = new QWidget(m_MacrosDock);
  m_MacrosCaption = new QLabel(macrosBox);
  m_MacrosCaption->setObjectName(QStringLiteral("lbl_MacrosCaption"));
  m_MacrosCaption->setWordWrap(true);
  m_MacrosCaption->setStyleSheet(QStringLiteral("QLabel { background: #fff4e5; padding: 3px; }"));
  m_MacrosCaption->hide();
  m_Macros = new MacrosPanel(macrosBox);
  auto* macrosRows = new QVBoxLayout(macrosBox);
  macrosRows->setContentsMargins(0, 0, 0, 0);
  macrosRows->setSpacing(0);
  macrosRows->addWidget(m_MacrosCaption);
  macrosRows->addWidget(m_Macros, 1);
  m_MacrosDock->setWidget(macrosBox);
  window->addDockWidget(Qt::BottomDockWidgetArea, m_ExplainDock);
  window->splitDockWidget(besideDock, m_ExplainDock, Qt::Horizontal);
  window->tabifyDockWidget(m_ExplainDock, m_MacrosDock);
  // The user's choice is kept: opening or closing a panel by its switch,
  // its close button or a step key.
  for (QDockWidget* dock : {m_ExplainDock, m_MacrosDock}) {
    const QString name = dock->objectName();
    dock->setVisible(settings.panelOpen(name));
    connect(dock->toggleViewAction(), &QAction::triggered, this,
            [this, name](bool open) { m_Settings.setPanelOpen(name, open); });
    dock->installEventFilter(this);
  }
  if (m_ExplainDock->isVisible()) m_ExplainDock->raise();

  m_HoverTips = new MacroHoverTips(input, this);

  QAction* showExplain = m_ExplainDock->toggleViewAction();
  showExplain->setObjectName(QStringLiteral("ac_ShowExplain"));
  showExplain->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  showExplain->setToolTip(tr("Explain: the expansion steps of the cursor's line (Ctrl+E)"));
  QAction* showMacros = m_MacrosDock->toggleViewAction();
  showMacros->setObjectName(QStringLiteral("ac_ShowMacros"));
  showMacros->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  showMacros->setToolTip(tr("Macros: the macro table at the end of the run (Ctrl+Shift+M)"));
  window->addAction(showExplain);
  window->addAction(showMacros);
  toolBar->addSeparator();
  for (QAction* action : {showExplain, showMacros}) {
    toolBar->addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action)))
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }
  // Stepping opens the panel that shows the steps.
  for (QAction* step : {m_Explain->stepForwardAction(), m_Explain->stepBackAction()}) {
    connect(step, &QAction::triggered, this, [this] {
      m_ExplainDock->show();
      m_ExplainDock->raise();
      m_Settings.setPanelOpen(m_ExplainDock->objectName(), true);
    });
  }

  viewMenu->addSeparator();
  viewMenu->addAction(showExplain);
  viewMenu->addAction(showMacros);
  viewMenu->addAction(m_Explain->stepForwardAction());
  viewMenu->addAction(m_Explain->stepBackAction());
  // The step keys work wherever the focus is in the window.
  window->addAction(m_Explain->stepForwardAction());
  window->addAction(m_Explain->stepBackAction());

  connect(m_Macros, &MacrosPanel::mainInputPlaceActivated, this,
          [this](int begin, int end) { m_Input->selectBytes(begin, end); });
  connect(input, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) {
    if (m_Input->hasFocus()) inputCursorMoved(line);
  });
  connect(output, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) {
    if (m_Output->hasFocus()) outputCursorMoved(line);
  });
}

bool ExplorerPanels::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    if (auto* dock = qobject_cast<QDockWidget*>(watched))
      m_Settings.setPanelOpen(dock->objectName(), false);
  }
  return QObject::eventFilter(watched, event);
}

void ExplorerPanels::showRun(const RunResult& result, std::shared_ptr<const StepRecording> steps) {
  m_Explanation = result.explanation;
  std::vector<std::pair<int, int>> greyed;
  if (m_Explanation) {
    for (const SkippedLines& skipped : m_Explanation->skipped) {
      if (skipped.file == 0) greyed.emplace_back(skipped.firstLine - 1, skipped.lastLine - 1);
    }
  }
  m_Input->setGreyedLines(greyed);
  showMacros(result);
  m_HoverTips->setRun(steps, m_Explanation ? m_Explanation->macros : std::vector<MacroEntry>{});
  m_Explain->setRun(std::move(steps));
  followFocusedEditor();
}

void ExplorerPanels::showStoppedMacros(const RunResult& result) { showMacros(result); }

QString ExplorerPanels::macrosCaption() const {
  return m_MacrosCaption->isHidden() ? QString() : m_MacrosCaption->text();
}

void ExplorerPanels::showMacros(const RunResult& result) {
  m_Macros->showMacros(result.explanation ? result.explanation->macros : std::vector<MacroEntry>{},
                       m_Input->encoding());
  if (result.ok()) {
    m_MacrosCaption->hide();
    m_MacrosCaption->clear();
    return;
  }
  const QString place = stopPlaceText(*result.error, *m_Input);
  m_MacrosCaption->setText(
      place.isEmpty()
          ? tr("The run ended in an error: these are the macros defined up to there.")
          : tr("The run stopped at %1 with an error: these are the macros defined up to there.")
                .arg(place));
  m_MacrosCaption->setToolTip(runErrorText(*result.error, *m_Input));
  m_MacrosCaption->show();
}

void ExplorerPanels::showStandardRun(std::shared_ptr<const StepRecording> steps) {
  m_Explain->setStandardRun(std::move(steps));
}

void ExplorerPanels::followFocusedEditor() {
  if (m_Output->hasFocus()) {
    outputCursorMoved(m_Output->cursorLine());
  } else {
    inputCursorMoved(m_Input->cursorLine());
  }
}

void ExplorerPanels::followCursorOf(CodeEditor* editor) {
  if (editor == m_Input) inputCursorMoved(m_Input->cursorLine());
  if (editor == m_Output) outputCursorMoved(m_Output->cursorLine());
}

void ExplorerPanels::inputCursorMoved(int line) {
  m_Input->setLinkedLines({});
  std::vector<int> outputLines;
  if (m_Explanation) {
    for (const int outputLine : m_Explanation->outputLinesOf(0, line + 1))
      outputLines.push_back(outputLine - 1);
  }
  m_Output->setLinkedLines(outputLines);
  m_Explain->showLines(line + 1, line + 1);
}

void ExplorerPanels::outputCursorMoved(int line) {
  m_Output->setLinkedLines({});
  if (!m_Explanation) return;
  const LineOrigin origin = m_Explanation->originOf(line + 1);
  std::vector<int> inputLines;
  if (origin.known() && origin.file == 0) {
    for (int inputLine = origin.firstLine; inputLine <= origin.lastLine; ++inputLine)
      inputLines.push_back(inputLine - 1);
    m_Explain->showLines(origin.firstLine, origin.lastLine);
  }
  m_Input->setLinkedLines(inputLines);
}

}  // namespace orvo
