#include "app/EditorLayout.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSplitter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/AppSettings.h"
#include "app/CodeEditor.h"

namespace orvo {
namespace {

// Lines of text each area keeps however the window is divided: enough to
// read a macro with its use, fewer than a small window holds twice.
constexpr int kMinReadableLines = 6;
// Columns each area keeps side by side, for the same reason.
constexpr int kMinReadableColumns = 30;
// Share of the window's height a bottom panel opens with: the text areas
// keep the larger part.
constexpr double kDockOpeningShare = 0.3;
constexpr double kEvenShare = 0.5;
constexpr int kSplitterHandleWidth = 3;

}  // namespace

// A splitter that keeps its first area's share of the room when it is
// resized, instead of giving the whole change to one area.
class ProportionalSplitter : public QSplitter {
 public:
  ProportionalSplitter(QWidget* parent, double share) : QSplitter(Qt::Vertical, parent), m_Share(share) {}

  // The first area's share now (the last known one before any layout).
  double share() const {
    const QList<int> areas = sizes();
    const int total = areas.size() == 2 ? areas[0] + areas[1] : 0;
    return total > 0 ? static_cast<double>(areas[0]) / total : m_Share;
  }
  void setShare(double share) {
    m_Share = share;
    applyShare();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    m_Share = share();
    QSplitter::resizeEvent(event);
    applyShare();
  }

 private:
  void applyShare() {
    const int room = (orientation() == Qt::Vertical ? height() : width()) - handleWidth();
    if (room <= 0) return;
    const int first = static_cast<int>(std::lround(m_Share * room));
    setSizes({first, room - first});
  }

  double m_Share;
};

EditorLayout::EditorLayout(QMainWindow* window, QWidget* inputArea, CodeEditor* input,
                           QWidget* output, CodeEditor* outputEditor, AppSettings& settings)
    : QObject(window), m_Window(window), m_Input(input), m_OutputEditor(outputEditor),
      m_Output(output), m_Settings(settings) {
  const bool sideBySide = settings.sideBySide();
  m_Splitter = new ProportionalSplitter(window, settings.inputShare(sideBySide).value_or(kEvenShare));
  m_Splitter->setObjectName(QStringLiteral("Splitter"));
  m_Splitter->setHandleWidth(kSplitterHandleWidth);
  m_Splitter->setChildrenCollapsible(false);
  m_Splitter->addWidget(inputArea);
  m_Splitter->addWidget(output);
  m_Splitter->setOrientation(sideBySide ? Qt::Horizontal : Qt::Vertical);

  m_SideBySide = new QAction(tr("Input and Output &Side by Side"), this);
  m_SideBySide->setObjectName(QStringLiteral("ac_SideBySide"));
  m_SideBySide->setCheckable(true);
  m_SideBySide->setChecked(sideBySide);
  m_SideBySide->setToolTip(tr("Input on the left and output on the right, or the input above "
                              "the output"));
  connect(m_SideBySide, &QAction::toggled, this, &EditorLayout::setSideBySide);
  for (CodeEditor* editor : {m_Input, m_OutputEditor})
    connect(editor, &QsciScintillaBase::SCN_ZOOM, this, &EditorLayout::updateMinimumSize);
  updateMinimumSize();
}

QSplitter* EditorLayout::splitter() const { return m_Splitter; }

bool EditorLayout::isSideBySide() const { return m_Splitter->orientation() == Qt::Horizontal; }

void EditorLayout::setSideBySide(bool on) {
  if (on == isSideBySide()) return;
  // Each arrangement keeps its own split.
  m_Settings.setInputShare(isSideBySide(), m_Splitter->share());
  m_Splitter->setOrientation(on ? Qt::Horizontal : Qt::Vertical);
  updateMinimumSize();
  m_Splitter->setShare(m_Settings.inputShare(on).value_or(kEvenShare));
  m_Settings.setSideBySide(on);
  if (m_SideBySide->isChecked() != on) m_SideBySide->setChecked(on);
}

void EditorLayout::save() { m_Settings.setInputShare(isSideBySide(), m_Splitter->share()); }

void EditorLayout::updateMinimumSize() {
  for (CodeEditor* editor : {m_Input, m_OutputEditor}) {
    const int lineHeight = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0));
    const int charWidth = static_cast<int>(editor->SendScintilla(
        QsciScintillaBase::SCI_TEXTWIDTH, QsciScintillaBase::STYLE_DEFAULT, "9"));
    const int bar = editor->horizontalScrollBar()->sizeHint().height();
    editor->setMinimumSize(isSideBySide() ? charWidth * kMinReadableColumns : 0,
                           lineHeight * kMinReadableLines + bar);
  }
}

void EditorLayout::manageDocks(const QList<QDockWidget*>& docks) {
  m_Docks = docks;
  for (QDockWidget* dock : docks) {
    connect(dock, &QDockWidget::visibilityChanged, this, [this, dock](bool visible) {
      if (visible) dockOpened(dock);
    });
  }
}

void EditorLayout::dockOpened(QDockWidget* dock) {
  if (dock->isFloating()) return;
  const int height = static_cast<int>(m_Window->height() * kDockOpeningShare);
  m_Window->resizeDocks({dock}, {height}, Qt::Vertical);
  // Panels beside each other at the bottom share its width evenly, so that
  // none opens too narrow to read.
  QList<QDockWidget*> beside;
  for (QDockWidget* other : m_Docks) {
    if (!other->isVisible() || other->isFloating()) continue;
    const bool tabbedWithOne = std::any_of(beside.begin(), beside.end(), [&](QDockWidget* shown) {
      return m_Window->tabifiedDockWidgets(shown).contains(other);
    });
    if (!tabbedWithOne) beside.append(other);
  }
  if (beside.size() < 2) return;
  const int width = m_Window->width() / static_cast<int>(beside.size());
  m_Window->resizeDocks(beside, QList<int>(beside.size(), width), Qt::Horizontal);
}

}  // namespace orvo
