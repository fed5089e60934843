#include "app/StandardPane.h"

#include <QDockWidget>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/AlignedOutputs.h"
#include "app/AppSettings.h"
#include "app/CodeEditor.h"
#include "app/DifferencesPanel.h"
#include "orvo/OutputAlignment.h"
#include "app/RunErrorText.h"
#include "app/StandardDiagnosticMarks.h"
#include "app/LongLineCut.h"

namespace orvo {
namespace {

// About 45 characters of the editor's font.
constexpr int kMinimumWidth = 360;

void selectLine(CodeEditor* editor, int line) {
  if (line < 0 || line >= editor->lines()) return;
  const int start = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
  const int end = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
  editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, start, end);
}

QLabel* makeNote(QWidget* parent, const char* name, const char* style) {
  auto* note = new QLabel(parent);
  note->setObjectName(QString::fromLatin1(name));
  note->setWordWrap(true);
  note->setContentsMargins(6, 3, 6, 3);
  note->setStyleSheet(QString::fromLatin1(style));
  note->hide();
  return note;
}

// Only the line maps of an explanation: what finding a difference's lines needs.
RunExplanation linesOf(const RunExplanation& explanation) {
  RunExplanation lines;
  lines.files = explanation.files;
  lines.lineMap = explanation.lineMap;
  return lines;
}

bool sameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code failed;
  return std::filesystem::equivalent(a, b, failed) && !failed;
}

// "line 2, column 5" in the input, "FILE:3:6" elsewhere.
QString placeWords(const SourcePlace& place) {
  if (place.inMainInput) return QObject::tr("line %1, column %2").arg(place.line).arg(place.column);
  return sourcePlaceText(place);
}

}  // namespace

StandardPane::StandardPane(QMainWindow* window, CodeEditor* input, CodeEditor* output,
                           QMenu* viewMenu, AppSettings& settings)
    : QObject(window), m_Input(input), m_Output(output), m_Settings(settings) {
  m_Dock = new QDockWidget(tr("Standard C"), window);
  m_Dock->setObjectName(QStringLiteral("StandardDock"));
  auto* splitter = new QSplitter(Qt::Vertical, m_Dock);
  auto* result = new QWidget(splitter);
  auto* rows = new QVBoxLayout(result);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  m_OutOfDateNote = makeNote(result, "lbl_StandardOutOfDate",
                             "QLabel { background: #fff4ce; color: #5c4400; "
                             "border-bottom: 1px solid #e6d28a; }");
  m_OutOfDateNote->setText(tr("Out of date: standard C's result and the differences are of an "
                              "earlier input. They follow the next run (F5 runs at once)."));
  m_MessagesNote = makeNote(result, "lbl_StandardMessages",
                            "QLabel { background: #fde4e4; color: #6b1010; "
                            "border-bottom: 1px solid #e8b0b0; }");
  m_MessagesNote->setCursor(Qt::PointingHandCursor);
  m_MessagesNote->installEventFilter(this);
  m_Standard = new CodeEditor(result);
  m_Standard->setObjectName(QStringLiteral("memo_Standard"));
  m_Standard->setReadOnly(true);
  m_Standard->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  rows->addWidget(m_OutOfDateNote);
  rows->addWidget(m_MessagesNote);
  rows->addWidget(m_Standard, 1);
  m_Differences = new DifferencesPanel(splitter);
  splitter->addWidget(result);
  splitter->addWidget(m_Differences);
  m_Dock->setWidget(splitter);
  window->addDockWidget(Qt::RightDockWidgetArea, m_Dock);
  // Wide enough to read a result line and a reason beside the output.
  m_Dock->setMinimumWidth(kMinimumWidth);
  m_Aligned = new AlignedOutputs(m_Output, m_Standard, this);
  m_Marks = new StandardDiagnosticMarks(m_Input, this);
  m_ResultMarks = new StandardDiagnosticMarks(m_Standard, this);

  const QString name = m_Dock->objectName();
  m_Open = m_Settings.panelOpen(name);
  m_Dock->setVisible(m_Open);
  QAction* toggle = m_Dock->toggleViewAction();
  toggle->setObjectName(QStringLiteral("ac_StandardPane"));
  toggle->setToolTip(tr("Show standard C's result beside the output, and where they differ"));
  viewMenu->addAction(toggle);
  connect(toggle, &QAction::triggered, this, &StandardPane::setOpen);
  m_Dock->installEventFilter(this);
  // The two results scroll together while both show.
  connect(m_Dock, &QDockWidget::visibilityChanged, m_Aligned, &AlignedOutputs::setFollowing);
  m_Aligned->setFollowing(m_Open);
  connect(m_Differences, &DifferencesPanel::differenceActivated, this, &StandardPane::activate);
}

void StandardPane::setOpen(bool open) {
  m_Settings.setPanelOpen(m_Dock->objectName(), open);
  if (open == m_Open) return;
  m_Open = open;
  if (!open) {
    // Nothing of a comparison stays on the output or the input.
    m_Aligned->clear();
    m_Marks->clear();
    m_ResultMarks->clear();
  }
  emit openChanged(open);
}

bool StandardPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_Dock && event->type() == QEvent::Close) setOpen(false);
  if (watched == m_MessagesNote && event->type() == QEvent::MouseButtonRelease && m_FirstMessagePlace) {
    activatePlace(*m_FirstMessagePlace);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

std::vector<Diagnostic> StandardPane::standardDiagnostics(const compare::Comparison& comparison) {
  std::vector<Diagnostic> diagnostics = comparison.standard.diagnostics;
  if (comparison.standard.error) {
    const Diagnostic error = comparison.standard.error->diagnostic();
    const bool listed = std::any_of(diagnostics.begin(), diagnostics.end(), [&](const Diagnostic& d) {
      return d.text == error.text && d.severity == error.severity;
    });
    if (!listed) diagnostics.push_back(error);
  }
  return diagnostics;
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
  alignWith(comparison);
  showStandardMessages(standardDiagnostics(comparison));
  setOutOfDate(false);
  emit compared();
}

void StandardPane::alignWith(const compare::Comparison& comparison) {
  m_MainLines.reset();
  m_StandardLines.reset();
  if (comparison.main.explanation) m_MainLines = linesOf(*comparison.main.explanation);
  if (comparison.standard.explanation) m_StandardLines = linesOf(*comparison.standard.explanation);
  // Lined up only with the output this comparison made: after an error the
  // output area keeps an older result, which is no line of this one.
  const std::string shown = convertLineEnds(comparison.main.output);
  const bool current = comparison.main.ok() && !comparison.trouble && m_MainLines && m_StandardLines &&
                       m_Output->bytes() == QByteArray::fromRawData(shown.data(), static_cast<qsizetype>(shown.size()));
  if (!current) {
    m_Aligned->clear();
    return;
  }
  m_Aligned->apply(alignOutputs(comparison.main.output, *m_MainLines, comparison.standard.output,
                                *m_StandardLines));
}

void StandardPane::showStandardMessages(const std::vector<Diagnostic>& diagnostics) {
  m_Marks->show(diagnostics);
  std::vector<std::pair<int, QString>> lineTips;
  if (m_StandardLines) {
    for (const Diagnostic& diagnostic : diagnostics) {
      if (diagnostic.severity == Severity::Note || !diagnostic.place || !diagnostic.place->known()) continue;
      for (const int line : linesFrom(*m_StandardLines, *diagnostic.place))
        lineTips.emplace_back(line, standardMessageText(diagnostic));
    }
  }
  m_ResultMarks->showOnLines(lineTips);
  m_FirstMessagePlace.reset();
  const Diagnostic* first = nullptr;
  int count = 0;
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity == Severity::Note) continue;
    ++count;
    if (first == nullptr || (first->severity != Severity::Error && diagnostic.severity == Severity::Error))
      first = &diagnostic;
  }
  if (first == nullptr) {
    m_MessagesNote->hide();
    return;
  }
  const QString text = QString::fromStdString(first->text).trimmed();
  QString note = first->severity == Severity::Error ? tr("Standard C reports an error") : tr("Standard C warns");
  if (first->place && first->place->known()) {
    note += QStringLiteral(": %1: %2").arg(placeWords(*first->place), text);
    if (!first->place->inMainInput && !first->place->includedFrom.empty())
      note += tr(" (included from line %1 of the input)").arg(first->place->includedFrom.front().line);
    m_FirstMessagePlace = *first->place;
  } else {
    note += QStringLiteral(": %1").arg(text);
  }
  if (count > 1) note += tr(", and %n more message(s) (see Messages)", nullptr, count - 1);
  m_MessagesNote->setText(note);
  m_MessagesNote->setToolTip(standardMessageText(*first));
  m_MessagesNote->show();
}

void StandardPane::setOutOfDate(bool outOfDate) {
  m_OutOfDateNote->setVisible(outOfDate);
  // Greyed, so that an earlier input's "The results agree" reads as such.
  m_Differences->setEnabled(!outOfDate);
}

bool StandardPane::isOutOfDate() const { return !m_OutOfDateNote->isHidden(); }

void StandardPane::activatePlace(const SourcePlace& place) {
  if (place.inMainInput) {
    emit inputPlaceActivated(place.begin, std::max(place.end, place.begin + 1));
  } else if (place.known()) {
    emit includedPlaceActivated(place);
  }
}

std::vector<int> StandardPane::linesFrom(const RunExplanation& explanation, const SourcePlace& place) const {
  int file = -1;
  if (place.inMainInput) {
    file = 0;
  } else {
    for (std::size_t i = 1; i < explanation.files.size() && file < 0; ++i)
      if (sameFile(explanation.files[i], place.file)) file = static_cast<int>(i);
  }
  std::vector<int> lines;
  if (file < 0) return lines;
  for (std::size_t i = 0; i < explanation.lineMap.size(); ++i) {
    const LineOrigin& origin = explanation.lineMap[i];
    if (origin.file == file && origin.firstLine <= place.line && place.line <= origin.lastLine)
      lines.push_back(static_cast<int>(i));
  }
  return lines;
}

void StandardPane::activate(const compare::Difference& difference) {
  if (difference.place && difference.place->inMainInput) {
    const int begin = difference.place->begin;
    emit inputPlaceActivated(begin, begin + static_cast<int>(difference.place->lineText.size()));
  } else if (difference.place && difference.place->known()) {
    emit includedPlaceActivated(*difference.place);
  }
  // The line of each result that the difference's input line wrote, a
  // marked one first; the difference's own line where the map names none
  // and that result has text there.
  auto lineOn = [&](const std::optional<RunExplanation>& map, CodeEditor* editor, int ownLine,
                    const std::string& text) {
    std::vector<int> lines;
    if (map && difference.place && difference.place->known()) lines = linesFrom(*map, *difference.place);
    for (const int line : lines)
      if (editor->markersAtLine(line) & (1u << AlignedOutputs::kDifferenceMarker)) return line;
    if (!lines.empty()) return lines.front();
    return text.empty() || ownLine <= 0 ? -1 : ownLine - 1;
  };
  const int mainLine = lineOn(m_MainLines, m_Output, difference.mainLine, difference.mainText);
  const int standardLine = lineOn(m_StandardLines, m_Standard, difference.standardLine, difference.standardText);
  selectLine(m_Output, mainLine);
  selectLine(m_Standard, standardLine);
  std::vector<int> rows;
  if (mainLine >= 0) rows.push_back(m_Aligned->mainRow(mainLine));
  if (standardLine >= 0) rows.push_back(m_Aligned->standardRow(standardLine));
  if (!rows.empty()) m_Aligned->reveal(*std::min_element(rows.begin(), rows.end()),
                                       *std::max_element(rows.begin(), rows.end()));
}

}  // namespace orvo
