#include "app/LiveErrorDisplay.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "app/CodeEditor.h"
#include "app/OutputPane.h"
#include "app/RunErrorText.h"

namespace orvo {

void clearStatusMessage(const QWidget& statusWidget) {
  for (QWidget* parent = statusWidget.parentWidget(); parent != nullptr;
       parent = parent->parentWidget()) {
    if (auto* bar = qobject_cast<QStatusBar*>(parent)) {
      bar->clearMessage();
      return;
    }
  }
}

LiveErrorDisplay::LiveErrorDisplay(CodeEditor* input, OutputPane* output, QLabel* status,
                                   QObject* parent)
    : QObject(parent), m_Input(input), m_Output(output), m_Status(status) {
  m_HoldTimer.setSingleShot(true);
  connect(&m_HoldTimer, &QTimer::timeout, this, &LiveErrorDisplay::showWaitingError);
  connect(m_Input, &QsciScintilla::cursorPositionChanged, this, [this] {
    if (m_Waiting) showWaitingError();
  });
  m_SinceEdit.start();
  m_Status->installEventFilter(this);
}

bool LiveErrorDisplay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_Status && event->type() == QEvent::MouseButtonRelease &&
      m_Input->hasErrorMark()) {
    const auto [begin, end] = m_Input->errorMark();
    m_Input->selectBytes(begin, end);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void LiveErrorDisplay::inputEdited() { m_SinceEdit.restart(); }

void LiveErrorDisplay::clear() {
  m_HoldTimer.stop();
  m_Waiting.reset();
  m_Input->clearErrorMark();
  m_Status->clear();
  m_Status->unsetCursor();
  m_Status->setToolTip(QString());
  m_Output->setStale(false);
}

void LiveErrorDisplay::showResult(const RunResult& result) {
  clear();
  if (result.ok()) return;
  // The output keeps what it shows, marked as stale; its note sends the
  // reader to the status bar, so no passing message may cover the error.
  m_Output->setStale(true);
  clearStatusMessage(*m_Status);
  m_Waiting = *result.error;
  showWaitingError();
}

void LiveErrorDisplay::showWaitingError() {
  if (!m_Waiting) return;
  const RunError error = *m_Waiting;
  const QString text = QString::fromUtf8(error.text);
  // An error in an included file is named; only one in the input is marked.
  if (error.place && !error.place->inMainInput) {
    m_Waiting.reset();
    m_Status->setText(QStringLiteral("%1: %2").arg(sourcePlaceText(*error.place), text));
    const QString chain = includeChainText(*error.place);
    m_Status->setToolTip(withNotes(chain.isEmpty() ? text : text + "\n" + chain, error.notes));
    return;
  }
  if (!error.place && !error.hasPosition()) {
    m_Waiting.reset();
    m_Status->setText(text);
    m_Status->setToolTip(withNotes(text, error.notes));
    return;
  }
  const auto [begin, end] = error.place
                                ? m_Input->visiblePlace(error.place->begin, error.place->end)
                                : m_Input->visiblePlace(error.begin, error.end);
  const int line = m_Input->lineOfByte(begin);
  const qint64 quiet = m_SinceEdit.elapsed();
  if (line == m_Input->cursorLine() && quiet < kTypingHoldMs) {
    m_HoldTimer.start(static_cast<int>(kTypingHoldMs - quiet));
    return;
  }
  m_Waiting.reset();
  m_Input->markError(begin, end, withNotes(text, error.notes));
  m_Status->setText(tr("line %1: %2").arg(line + 1).arg(text));
  m_Status->setCursor(Qt::PointingHandCursor);
  m_Status->setToolTip(withNotes(text, error.notes) + QStringLiteral("\n\n") +
                       tr("Click to go to the error"));
}

}  // namespace orvo
