#include "app/IncludedFileViewer.h"

#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>

#include "app/CodeEditor.h"

namespace orvo {
namespace {

const QColor kIncludeLineBackground(0xd8, 0xe6, 0xfa);

// "inc/bad.h, line 3", then one line per #include that led there,
// innermost first, the input's own last.
QString captionOf(const SourcePlace& place) {
  QString caption = QObject::tr("%1, line %2 (read-only)")
                        .arg(QFile::decodeName(QByteArray::fromStdString(place.file)))
                        .arg(place.line);
  for (std::size_t i = place.includedFrom.size(); i-- > 0;) {
    const IncludeStep& step = place.includedFrom[i];
    caption += QLatin1Char('\n') +
               (i == 0 ? QObject::tr("included from line %1 of the input").arg(step.line)
                       : QObject::tr("included from %1, line %2")
                             .arg(QFile::decodeName(QByteArray::fromStdString(step.file)))
                             .arg(step.line));
  }
  return caption;
}

}  // namespace

IncludedFileViewer::IncludedFileViewer(QMainWindow* window, CodeEditor* input)
    : QObject(window), m_Input(input) {
  m_Dock = new QDockWidget(tr("Included File"), window);
  m_Dock->setObjectName(QStringLiteral("IncludedFileDock"));
  auto* panel = new QWidget(m_Dock);
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  m_Caption = new QLabel(panel);
  m_Caption->setObjectName(QStringLiteral("lbl_IncludedFile"));
  m_Caption->setContentsMargins(6, 3, 6, 3);
  m_Caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_Viewer = new CodeEditor(panel);
  m_Viewer->setObjectName(QStringLiteral("memo_IncludedFile"));
  m_Viewer->setReadOnly(true);
  rows->addWidget(m_Caption);
  rows->addWidget(m_Viewer, 1);
  m_Dock->setWidget(panel);
  window->addDockWidget(Qt::RightDockWidgetArea, m_Dock);
  m_Dock->hide();
  m_Dock->toggleViewAction()->setObjectName(QStringLiteral("ac_IncludedFile"));

  m_Input->markerDefine(QsciScintilla::Background, kIncludeLineMarker);
  m_Input->setMarkerBackgroundColor(kIncludeLineBackground, kIncludeLineMarker);
  // The mark belongs to the place shown: it goes with the panel.
  connect(m_Dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible && m_Dock->isHidden()) m_Input->markerDeleteAll(kIncludeLineMarker);
  });
}

void IncludedFileViewer::showPlace(const SourcePlace& place) {
  m_Input->markerDeleteAll(kIncludeLineMarker);
  if (!place.includedFrom.empty()) {
    const int line = place.includedFrom.front().line - 1;
    if (line >= 0 && line < m_Input->lines()) {
      m_Input->markerAdd(line, kIncludeLineMarker);
      m_Input->ensureLineVisible(line);
    }
  }
  QFile file(QFile::decodeName(QByteArray::fromStdString(place.file)));
  m_Viewer->setReadOnly(false);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    m_Viewer->setBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                       encodingOf(bytes));
    m_Caption->setText(captionOf(place));
  } else {
    m_Viewer->setBytes(std::string_view(), TextEncoding::Utf8);
    m_Caption->setText(tr("Cannot open %1: %2").arg(file.fileName(), file.errorString()));
  }
  m_Viewer->setReadOnly(true);
  m_Dock->show();
  m_Dock->raise();
  const int line = place.line - 1;
  if (line >= 0 && line < m_Viewer->lines()) {
    const int start = static_cast<int>(m_Viewer->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    const int end = static_cast<int>(m_Viewer->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
    m_Viewer->SendScintilla(QsciScintillaBase::SCI_SETSEL, start, end);
    m_Viewer->ensureLineVisible(line);
  }
}

}  // namespace orvo
