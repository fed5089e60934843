#include "app/LongLineEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/CodeEditor.h"

namespace orvo {
namespace {

constexpr int kTabWidth = 4;  // as the code editor's
constexpr int kFontPointSize = 10;
constexpr int kMargin = 4;  // pixels left of the text

const QColor kSelection(0xc8, 0xdc, 0xf4);
const QColor kCaretLine(0xf0, 0xf4, 0xfa);

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }
// Bytes after which a column is not simply the byte count: tabs and the
// bytes of characters beyond ASCII.
bool widensColumns(char c) { return c == '\t' || (static_cast<unsigned char>(c) & 0x80) != 0; }

}  // namespace

LongLineEditor::LongLineEditor(CodeEditor* document)
    : QAbstractScrollArea(document), m_Document(document) {
  setObjectName(QStringLiteral("LongLineEditor"));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(kFontPointSize);
  font.setFixedPitch(true);
  setFont(font);
  viewport()->setFont(font);
  viewport()->setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  hide();
  m_HandOverTimer.setSingleShot(true);
  m_HandOverTimer.setInterval(kHandOverDelayMs);
  connect(&m_HandOverTimer, &QTimer::timeout, this, &LongLineEditor::handOver);
  m_Document->setCover(this);
  connect(m_Document, &QsciScintilla::textChanged, this, [this] {
    if (m_Active && !m_HandingOver) documentChanged();
  });
  m_Document->installEventFilter(this);
}

bool LongLineEditor::hasLongLine(const QByteArray& bytes) {
  qsizetype start = 0;
  for (qsizetype i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || isLineBreak(bytes[i])) {
      if (i - start >= kLongLineBytes) return true;
      start = i + 1;
    }
  }
  return false;
}

void LongLineEditor::activate() {
  m_Active = true;
  m_Latin1 = m_Document->encoding() == TextEncoding::Latin1;
  m_Undo.clear();
  m_Redo.clear();
  m_Typing = false;
  documentChanged();
  setGeometry(m_Document->rect());
  show();
  raise();
  // The document is not painted under this editor: painting would lay the
  // long line out.
  m_Document->viewport()->hide();
  if (m_Document->hasFocus()) setFocus();
}

void LongLineEditor::deactivate() {
  if (!m_Active) return;
  handOver();
  m_Active = false;
  const bool focused = hasFocus();
  hide();
  m_Document->viewport()->show();
  m_Text.clear();
  m_HandedOver.clear();
  m_Undo.clear();
  m_Redo.clear();
  if (focused) m_Document->setFocus();
}

void LongLineEditor::documentChanged() {
  // Read as it is: handing this editor's older text over would undo the change.
  m_HandingOver = true;
  m_Text = m_Document->bytes();
  m_HandingOver = false;
  m_HandedOver = m_Text;
  m_Caret = m_Anchor = std::clamp(m_Caret, 0, static_cast<int>(m_Text.size()));
  m_Caret = m_Anchor = previousCharacter(nextCharacter(m_Caret));
  m_Undo.clear();
  m_Redo.clear();
  m_Typing = false;
  indexLines();
  updateScrollBars();
  viewport()->update();
}

void LongLineEditor::handOver() {
  if (m_HandingOver) return;
  m_HandOverTimer.stop();
  if (!m_Active || m_Text == m_HandedOver) return;
  // Only the changed middle goes over, as one edit of the document.
  const qsizetype oldSize = m_HandedOver.size();
  const qsizetype newSize = m_Text.size();
  qsizetype prefix = 0;
  const qsizetype shorter = std::min(oldSize, newSize);
  const char* now = m_Text.constData();
  const char* before = m_HandedOver.constData();
  while (prefix < shorter && now[prefix] == before[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && now[newSize - 1 - suffix] == before[oldSize - 1 - suffix])
    ++suffix;
  m_HandingOver = true;
  using Base = QsciScintillaBase;
  m_Document->SendScintilla(Base::SCI_SETTARGETRANGE, static_cast<unsigned long>(prefix),
                            static_cast<long>(oldSize - suffix));
  m_Document->SendScintilla(Base::SCI_REPLACETARGET, static_cast<unsigned long>(newSize - suffix - prefix),
                            m_Text.constData() + prefix);
  m_Document->SendScintilla(Base::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(m_Caret));
  m_HandingOver = false;
  m_HandedOver = m_Text;
}

void LongLineEditor::select(int begin, int end) {
  const int size = static_cast<int>(m_Text.size());
  m_Anchor = previousCharacter(nextCharacter(std::clamp(begin, 0, size)));
  const int stop = std::clamp(std::max(begin, end), m_Anchor, size);
  moveTo(stop > m_Anchor ? nextCharacter(previousCharacter(stop)) : m_Anchor, true);
  setFocus();
}

void LongLineEditor::setCursorPosition(int offset) {
  moveTo(std::clamp(offset, 0, static_cast<int>(m_Text.size())), false);
}

// ---- Text and lines ---------------------------------------------------------

void LongLineEditor::indexLines() {
  m_LineStarts.assign(1, 0);
  m_LongestLine = 0;
  const char* data = m_Text.constData();
  const int size = static_cast<int>(m_Text.size());
  for (int i = 0; i < size; ++i) {
    if (!isLineBreak(data[i])) continue;
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    m_LongestLine = std::max(m_LongestLine, i - m_LineStarts.back());
    m_LineStarts.push_back(i + 1);
  }
  m_LongestLine = std::max(m_LongestLine, size - m_LineStarts.back());
  m_WideBytes = std::count_if(m_Text.begin(), m_Text.end(), widensColumns);
}

int LongLineEditor::lineOf(int offset) const {
  const auto after = std::upper_bound(m_LineStarts.begin(), m_LineStarts.end(), offset);
  return static_cast<int>(after - m_LineStarts.begin()) - 1;
}

int LongLineEditor::lineEnd(int line) const {
  int end = line + 1 < lineCount() ? lineStart(line + 1) : static_cast<int>(m_Text.size());
  while (end > lineStart(line) && isLineBreak(m_Text[end - 1])) --end;
  return end;
}

int LongLineEditor::nextCharacter(int offset) const {
  const int size = static_cast<int>(m_Text.size());
  if (offset >= size) return size;
  if (m_Text[offset] == '\r' && offset + 1 < size && m_Text[offset + 1] == '\n') return offset + 2;
  ++offset;
  if (!m_Latin1) {
    while (offset < size && (static_cast<unsigned char>(m_Text[offset]) & 0xc0) == 0x80) ++offset;
  }
  return offset;
}

int LongLineEditor::previousCharacter(int offset) const {
  if (offset <= 0) return 0;
  --offset;
  if (m_Text[offset] == '\n' && offset > 0 && m_Text[offset - 1] == '\r') return offset - 1;
  if (!m_Latin1) {
    while (offset > 0 && (static_cast<unsigned char>(m_Text[offset]) & 0xc0) == 0x80) --offset;
  }
  return offset;
}

int LongLineEditor::columnOf(int offset) const {
  const int start = lineStart(lineOf(offset));
  const char* data = m_Text.constData();
  if (m_WideBytes == 0) return offset - start;
  int column = 0;
  for (int i = start; i < offset; i = nextCharacter(i))
    column = data[i] == '\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
  return column;
}

int LongLineEditor::offsetAt(int line, int column) const {
  const int start = lineStart(line);
  const int end = lineEnd(line);
  const char* data = m_Text.constData();
  if (m_WideBytes == 0) return std::min(end, start + std::max(column, 0));
  int at = 0;
  int i = start;
  while (i < end) {
    const int next = data[i] == '\t' ? (at / kTabWidth + 1) * kTabWidth : at + 1;
    if (next > column) break;
    at = next;
    i = nextCharacter(i);
  }
  return i;
}

QString LongLineEditor::decode(int begin, int end) const {
  const char* data = m_Text.constData() + begin;
  return m_Latin1 ? QString::fromLatin1(data, end - begin) : QString::fromUtf8(data, end - begin);
}

// ---- Editing ----------------------------------------------------------------

void LongLineEditor::replace(int begin, int end, const QByteArray& bytes, bool typing) {
  Edit edit{begin, m_Text.mid(begin, end - begin), bytes};
  const bool joins = typing && m_Typing && !m_Undo.empty() && edit.removed.isEmpty() &&
                     m_Undo.back().position + m_Undo.back().inserted.size() == begin;
  apply(edit, true);
  if (joins) {
    m_Undo.back().inserted += bytes;
  } else {
    m_Undo.push_back(std::move(edit));
  }
  m_Redo.clear();
  m_Typing = typing;
  m_Caret = m_Anchor = begin + static_cast<int>(bytes.size());
  ensureCaretVisible();
  m_HandOverTimer.start();
}

void LongLineEditor::apply(const Edit& edit, bool forward) {
  const QByteArray& out = forward ? edit.removed : edit.inserted;
  const QByteArray& in = forward ? edit.inserted : edit.removed;
  m_Text.replace(edit.position, out.size(), in);
  const auto breaks = [](const QByteArray& bytes) {
    return std::any_of(bytes.begin(), bytes.end(), isLineBreak);
  };
  // A break near the edit may pair up with a CR or LF beside it.
  const bool nearBreak = (edit.position > 0 && isLineBreak(m_Text[edit.position - 1])) ||
                         (edit.position + in.size() < m_Text.size() &&
                          isLineBreak(m_Text[edit.position + in.size()]));
  m_WideBytes += std::count_if(in.begin(), in.end(), widensColumns) -
                 std::count_if(out.begin(), out.end(), widensColumns);
  if (breaks(out) || breaks(in) || nearBreak) {
    indexLines();
  } else {
    const int delta = static_cast<int>(in.size() - out.size());
    const int line = lineOf(edit.position);
    for (std::size_t i = static_cast<std::size_t>(line) + 1; i < m_LineStarts.size(); ++i)
      m_LineStarts[i] += delta;
    m_LongestLine = std::max(m_LongestLine, lineEnd(line) - lineStart(line));
  }
  updateScrollBars();
  viewport()->update();
}

void LongLineEditor::undo() {
  if (m_Undo.empty()) return;
  Edit edit = std::move(m_Undo.back());
  m_Undo.pop_back();
  apply(edit, false);
  m_Caret = m_Anchor = edit.position + static_cast<int>(edit.removed.size());
  m_Redo.push_back(std::move(edit));
  m_Typing = false;
  ensureCaretVisible();
  m_HandOverTimer.start();
}

void LongLineEditor::redo() {
  if (m_Redo.empty()) return;
  Edit edit = std::move(m_Redo.back());
  m_Redo.pop_back();
  apply(edit, true);
  m_Caret = m_Anchor = edit.position + static_cast<int>(edit.inserted.size());
  m_Undo.push_back(std::move(edit));
  m_Typing = false;
  ensureCaretVisible();
  m_HandOverTimer.start();
}

void LongLineEditor::insertText(const QString& text) {
  QString shown = text;
  // Line breaks take the document's CR LF, as pasting into the code editor does.
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  shown.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  const QByteArray bytes = m_Latin1 ? shown.toLatin1() : shown.toUtf8();
  const bool typing = text.size() == 1 && !hasSelection();
  replace(std::min(m_Anchor, m_Caret), std::max(m_Anchor, m_Caret), bytes, typing);
}

void LongLineEditor::deleteSelection() {
  replace(std::min(m_Anchor, m_Caret), std::max(m_Anchor, m_Caret), {});
}

void LongLineEditor::moveTo(int offset, bool select) {
  m_Caret = offset;
  if (!select) m_Anchor = offset;
  m_Typing = false;
  ensureCaretVisible();
  viewport()->update();
}

// ---- Events -------------------------------------------------------------------

bool LongLineEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    static constexpr Qt::Key kOwnKeys[] = {
        Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,      Qt::Key_PageUp, Qt::Key_PageDown,
        Qt::Key_Home, Qt::Key_End,   Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Enter,
        Qt::Key_Tab};
    const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    const bool own = std::find(std::begin(kOwnKeys), std::end(kOwnKeys), key->key()) != std::end(kOwnKeys);
    const bool editing = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                         key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
                         key->matches(QKeySequence::Paste) || key->matches(QKeySequence::SelectAll) ||
                         (own && (plain || key->key() == Qt::Key_Home || key->key() == Qt::Key_End)) ||
                         (plain && !key->text().isEmpty() && key->text().at(0).isPrint());
    if (editing) {
      event->accept();
      return true;
    }
    // Another shortcut (Save, Preprocess, Quit) reads the document.
    handOver();
  }
  return QAbstractScrollArea::event(event);
}

bool LongLineEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_Document && event->type() == QEvent::Resize && m_Active)
    setGeometry(m_Document->rect());
  if (watched == m_Document && event->type() == QEvent::FocusIn && m_Active) setFocus();
  return QAbstractScrollArea::eventFilter(watched, event);
}

void LongLineEditor::keyPressEvent(QKeyEvent* event) {
  const bool select = (event->modifiers() & Qt::ShiftModifier) != 0;
  const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
  const int line = lineOf(m_Caret);
  if (event->matches(QKeySequence::Undo)) return undo();
  if (event->matches(QKeySequence::Redo)) return redo();
  if (event->matches(QKeySequence::SelectAll)) {
    m_Anchor = 0;
    return moveTo(static_cast<int>(m_Text.size()), true);
  }
  if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
    if (!hasSelection()) return;
    const int begin = std::min(m_Anchor, m_Caret);
    QApplication::clipboard()->setText(decode(begin, std::max(m_Anchor, m_Caret)));
    if (event->matches(QKeySequence::Cut)) deleteSelection();
    return;
  }
  if (event->matches(QKeySequence::Paste)) return insertText(QApplication::clipboard()->text());
  switch (event->key()) {
    case Qt::Key_Left:
      return moveTo(!select && hasSelection() ? std::min(m_Anchor, m_Caret) : previousCharacter(m_Caret), select);
    case Qt::Key_Right:
      return moveTo(!select && hasSelection() ? std::max(m_Anchor, m_Caret) : nextCharacter(m_Caret), select);
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int step = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ? 1 : visibleLines();
      const int to = event->key() == Qt::Key_Up || event->key() == Qt::Key_PageUp ? line - step : line + step;
      return moveTo(offsetAt(std::clamp(to, 0, lineCount() - 1), columnOf(m_Caret)), select);
    }
    case Qt::Key_Home:
      return moveTo(control ? 0 : lineStart(line), select);
    case Qt::Key_End:
      return moveTo(control ? static_cast<int>(m_Text.size()) : lineEnd(line), select);
    case Qt::Key_Backspace:
      if (hasSelection()) return deleteSelection();
      return replace(previousCharacter(m_Caret), m_Caret, {});
    case Qt::Key_Delete:
      if (hasSelection()) return deleteSelection();
      return replace(m_Caret, nextCharacter(m_Caret), {});
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return insertText(QStringLiteral("\n"));
    case Qt::Key_Tab:
      return insertText(QStringLiteral("\t"));
    default:
      break;
  }
  if (!event->text().isEmpty() && event->text().at(0).isPrint() && !control) {
    insertText(event->text());
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void LongLineEditor::inputMethodEvent(QInputMethodEvent* event) {
  // Composed text (dead keys, input methods) arrives whole; nothing of the
  // composition is shown before it is done.
  if (!event->commitString().isEmpty()) insertText(event->commitString());
  event->accept();
}

void LongLineEditor::focusOutEvent(QFocusEvent* event) {
  // Whatever takes the focus may read or change the document.
  handOver();
  QAbstractScrollArea::focusOutEvent(event);
}

void LongLineEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

int LongLineEditor::offsetAtPoint(const QPoint& point) const {
  const int line = std::clamp(verticalScrollBar()->value() + point.y() / m_LineHeight, 0, lineCount() - 1);
  const int column = horizontalScrollBar()->value() +
                     std::max(0, static_cast<int>((point.x() - kMargin + m_CharWidth / 2) / m_CharWidth));
  return offsetAt(line, column);
}

void LongLineEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  moveTo(offsetAtPoint(event->position().toPoint()), (event->modifiers() & Qt::ShiftModifier) != 0);
}

void LongLineEditor::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) != 0) moveTo(offsetAtPoint(event->position().toPoint()), true);
}

// ---- View -----------------------------------------------------------------------

int LongLineEditor::visibleLines() const { return std::max(1, viewport()->height() / m_LineHeight); }

int LongLineEditor::visibleColumns() const {
  return std::max(1, static_cast<int>((viewport()->width() - kMargin) / m_CharWidth));
}

void LongLineEditor::updateScrollBars() {
  const QFontMetricsF metrics(font());
  m_CharWidth = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('0')));
  m_LineHeight = std::max(1, static_cast<int>(std::ceil(metrics.height())));
  verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines()));
  verticalScrollBar()->setPageStep(visibleLines());
  // Bytes stand for columns: the same for ASCII, a little more room otherwise.
  horizontalScrollBar()->setRange(0, std::max(0, m_LongestLine + 1 - visibleColumns()));
  horizontalScrollBar()->setPageStep(visibleColumns());
}

void LongLineEditor::ensureCaretVisible() {
  const int line = lineOf(m_Caret);
  QScrollBar* vertical = verticalScrollBar();
  if (line < vertical->value()) vertical->setValue(line);
  if (line >= vertical->value() + visibleLines()) vertical->setValue(line - visibleLines() + 1);
  const int column = columnOf(m_Caret);
  QScrollBar* horizontal = horizontalScrollBar();
  if (column > horizontal->maximum()) horizontal->setMaximum(column);
  if (column < horizontal->value()) horizontal->setValue(std::max(0, column - visibleColumns() / 4));
  if (column >= horizontal->value() + visibleColumns())
    horizontal->setValue(column - visibleColumns() * 3 / 4);
}

void LongLineEditor::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  const int firstLine = verticalScrollBar()->value();
  const int firstColumn = horizontalScrollBar()->value();
  const int columns = visibleColumns() + 1;
  const int caretLine = lineOf(m_Caret);
  const int selectionBegin = std::min(m_Anchor, m_Caret);
  const int selectionEnd = std::max(m_Anchor, m_Caret);
  const QFontMetricsF metrics(font());
  const auto xOf = [this, firstColumn](int column) {
    return kMargin + (column - firstColumn) * m_CharWidth;
  };
  const auto band = [this](qreal left, qreal right, int top) {
    return QRectF(left, top, right - left, m_LineHeight);
  };
  for (int line = firstLine; line < std::min(lineCount(), firstLine + visibleLines() + 1); ++line) {
    const int top = (line - firstLine) * m_LineHeight;
    if (line == caretLine) painter.fillRect(0, top, viewport()->width(), m_LineHeight, kCaretLine);
    const int begin = offsetAt(line, firstColumn);
    const int end = offsetAt(line, firstColumn + columns);
    const int startColumn = columnOf(begin);
    if (selectionBegin < selectionEnd && selectionBegin <= lineEnd(line) &&
        selectionEnd >= lineStart(line)) {
      const int from = std::max(selectionBegin, begin);
      const int to = std::min(selectionEnd, end);
      if (from <= to) {
        const qreal right = xOf(columnOf(to)) + (selectionEnd > lineEnd(line) ? m_CharWidth : 0);
        painter.fillRect(band(xOf(columnOf(from)), right, top), kSelection);
      }
    }
    // Tabs drawn as the spaces up to their stop.
    QString shown;
    int column = startColumn;
    for (const QChar c : decode(begin, end)) {
      if (c == QLatin1Char('\t')) {
        const int stop = (column / kTabWidth + 1) * kTabWidth;
        shown += QString(stop - column, QLatin1Char(' '));
        column = stop;
      } else {
        shown += c;
        ++column;
      }
    }
    painter.setPen(Qt::black);
    painter.drawText(QPointF(xOf(startColumn), top + metrics.ascent()), shown);
  }
  if (hasFocus() && caretLine >= firstLine && caretLine <= firstLine + visibleLines()) {
    const qreal x = xOf(columnOf(m_Caret));
    painter.fillRect(band(x, x + 2, (caretLine - firstLine) * m_LineHeight), Qt::black);
  }
}

}  // namespace orvo
