#include "app/CodeEditor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexercpp.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringDecoder>
#include <QToolTip>
#include <algorithm>
#include <memory>

#include "app/EditingBasics.h"
#include "app/LineEnds.h"
#include "app/LongLineEditor.h"

namespace orvo {
namespace {

// The indicator that marks an error place; the first one free for
// applications.
constexpr int kErrorIndicator = 8;
// Greys the text of lines a run skipped.
constexpr int kGreyIndicator = 9;
// The marker that highlights lines linked to the other editor's cursor.
constexpr int kLinkedLineMarker = 20;
// How long the mouse rests before a dwell tip shows.
constexpr int kDwellMs = 500;

constexpr int kFontPointSize = 10;
// The keyword lists a lexer may have (Scintilla's KEYWORDSET_MAX + 1).
constexpr int kKeywordSets = 9;

// Colours of a light theme that keeps the text readable.
const QColor kCurrentLine(0xf0, 0xf4, 0xfa);
const QColor kMarginBackground(0xf5, 0xf5, 0xf5);
const QColor kMarginText(0x99, 0x99, 0x99);
const QColor kErrorUnderline(0xd0, 0x20, 0x20);
const QColor kSkippedText(0xa0, 0xa4, 0xa8);
const QColor kLinkedLine(0xff, 0xf1, 0xb8);

struct StyleColour {
  int style;
  QColor colour;
};
const StyleColour kStyleColours[] = {
    {QsciLexerCPP::Comment, QColor(0x6a, 0x73, 0x7d)},
    {QsciLexerCPP::CommentLine, QColor(0x6a, 0x73, 0x7d)},
    {QsciLexerCPP::CommentDoc, QColor(0x6a, 0x73, 0x7d)},
    {QsciLexerCPP::Number, QColor(0x09, 0x86, 0x58)},
    {QsciLexerCPP::Keyword, QColor(0x00, 0x33, 0xb3)},
    {QsciLexerCPP::DoubleQuotedString, QColor(0xa3, 0x15, 0x15)},
    {QsciLexerCPP::SingleQuotedString, QColor(0xa3, 0x15, 0x15)},
    {QsciLexerCPP::PreProcessor, QColor(0x87, 0x10, 0x94)},
    {QsciLexerCPP::Operator, QColor(0x33, 0x33, 0x33)},
    {QsciLexerCPP::Identifier, QColor(0x1f, 0x23, 0x28)},
    {QsciLexerCPP::UnclosedString, QColor(0xa3, 0x15, 0x15)},
};

// The same mouse event with Alt read as Ctrl: the editor selects a column
// on Ctrl+drag (the X11 convention it follows, since window managers take
// Alt+drag), where common code editors, and this window, use Alt.
std::unique_ptr<QMouseEvent> asColumnDrag(const QMouseEvent& event) {
  std::unique_ptr<QMouseEvent> column(event.clone());
  column->setModifiers((event.modifiers() & ~Qt::AltModifier) | Qt::ControlModifier);
  return column;
}

bool hasLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

TextEncoding encodingOf(const QByteArray& bytes) {
  // Stateless, so that a sequence cut off at the end counts as an error.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  // decode() converts only when its result is taken.
  const QString decoded = utf8.decode(bytes);
  return utf8.hasError() ? TextEncoding::Latin1 : TextEncoding::Utf8;
}

CodeEditor::CodeEditor(QWidget* parent) : QsciScintilla(parent) {
  setUtf8(true);
  setEolMode(EolWindows);
  // Pasted text takes the editor's line ends, so the engine never meets a
  // lone CR or LF that the user did not see.
  SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
  setUpLook();
  setUpEditingBasics(*this);
  // The window zooms both editors together; the editor's own keys for it
  // would zoom one alone.
  for (const QsciCommand::Command command : {QsciCommand::ZoomIn, QsciCommand::ZoomOut}) {
    if (QsciCommand* bound = standardCommands()->find(command)) {
      bound->setKey(0);
      bound->setAlternateKey(0);
    }
  }
  // A tip belongs to the place the mouse rests on: it goes when the mouse
  // moves on or leaves, and when a key or an edit changes what is shown.
  connect(this, &QsciScintillaBase::SCN_DWELLEND, this, &CodeEditor::hideHoverTip);
  connect(this, &QsciScintilla::textChanged, this, &CodeEditor::hideHoverTip);
  connect(this, &QsciScintilla::linesChanged, this, &CodeEditor::updateLineNumberWidth);
  connect(this, &QsciScintillaBase::SCN_ZOOM, this, &CodeEditor::updateLineNumberWidth);
  viewport()->installEventFilter(this);
}

void CodeEditor::setUpLook() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(kFontPointSize);

  auto* lexer = new QsciLexerCPP(this);
  lexer->setDefaultFont(font);
  lexer->setFont(font);
  lexer->setDefaultPaper(Qt::white);
  lexer->setPaper(Qt::white);
  for (const StyleColour& entry : kStyleColours) lexer->setColor(entry.colour, entry.style);
  setLexer(lexer);
  // Which lines are skipped is the preprocessor's decision (setGreyedLines),
  // not the lexer's guess from its own reading of the conditions.
  SendScintilla(SCI_SETPROPERTY, "lexer.cpp.track.preprocessor", "0");

  setMarginType(0, NumberMargin);
  setMarginLineNumbers(0, true);
  setMarginsFont(font);
  setMarginsBackgroundColor(kMarginBackground);
  setMarginsForegroundColor(kMarginText);
  setMarginWidth(1, 0);
  setFolding(NoFoldStyle);
  updateLineNumberWidth();

  setCaretLineVisible(true);
  setCaretLineBackgroundColor(kCurrentLine);
  setTabWidth(4);
  setWrapMode(WrapNone);
  // The horizontal scroll bar follows the longest line shown so far instead
  // of a fixed width.
  SendScintilla(SCI_SETSCROLLWIDTH, 1);
  SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);

  SendScintilla(SCI_INDICSETSTYLE, kErrorIndicator, INDIC_SQUIGGLE);
  SendScintilla(SCI_INDICSETFORE, kErrorIndicator, kErrorUnderline);
  SendScintilla(SCI_INDICSETUNDER, kErrorIndicator, 1);
  SendScintilla(SCI_INDICSETSTYLE, kGreyIndicator, INDIC_TEXTFORE);
  SendScintilla(SCI_INDICSETFORE, kGreyIndicator, kSkippedText);
  markerDefine(QsciScintilla::Background, kLinkedLineMarker);
  setMarkerBackgroundColor(kLinkedLine, kLinkedLineMarker);
  SendScintilla(SCI_SETMOUSEDWELLTIME, kDwellMs);
}

void CodeEditor::updateLineNumberWidth() {
  // Room for the widest number and a little space on both sides.
  const QString widest = QString(QString::number(std::max(lines(), 1)).size() + 1, QLatin1Char('9'));
  setMarginWidth(0, widest);
}

void CodeEditor::setBytes(std::string_view bytes, TextEncoding encoding, bool crlf) {
  clearErrorMark();
  m_Encoding = encoding;
  setUtf8(encoding == TextEncoding::Utf8);
  // Appended with its length, so that NUL bytes are kept.
  SendScintilla(SCI_CLEARALL);
  appendBytes(bytes, crlf);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_GOTOPOS, 0);
}

void CodeEditor::replaceAllBytes(std::string_view bytes, TextEncoding encoding) {
  if (encoding != m_Encoding) {
    // Undo could not show the old bytes in the other encoding.
    setBytes(bytes, encoding);
    return;
  }
  clearErrorMark();
  SendScintilla(SCI_BEGINUNDOACTION);
  SendScintilla(SCI_CLEARALL);
  appendBytes(bytes, true);
  SendScintilla(SCI_ENDUNDOACTION);
  SendScintilla(SCI_GOTOPOS, 0);
}

void CodeEditor::appendBytes(std::string_view bytes, bool crlf) {
  if (!crlf) {
    SendScintilla(SCI_APPENDTEXT, bytes.size(), bytes.data());
    return;
  }
  // Converted before the editor sees them: its own conversion is quadratic.
  const std::string converted = withCrLfLineEnds(bytes);
  SendScintilla(SCI_APPENDTEXT, converted.size(), converted.data());
}

bool CodeEditor::isCovered() const { return m_Cover != nullptr && m_Cover->isActive(); }

bool CodeEditor::isModified() const {
  if (m_Cover != nullptr) m_Cover->handOver();
  return QsciScintilla::isModified();
}

QByteArray CodeEditor::bytes() const {
  if (m_Cover != nullptr) m_Cover->handOver();
  const long length = SendScintilla(SCI_GETLENGTH);
  const auto* data = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
  return QByteArray(data, static_cast<qsizetype>(length));
}

QByteArray CodeEditor::fileLines() const {
  const QByteArray text = bytes();
  QByteArray lines;
  lines.reserve(text.size() + 2);
  qsizetype lineStart = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.append(text.constData() + lineStart, i - lineStart).append("\r\n");
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lineStart = i + 1;
  }
  if (lineStart < text.size()) lines.append(text.constData() + lineStart, text.size() - lineStart).append("\r\n");
  return lines;
}

int CodeEditor::characterStart(int offset) const {
  const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
  const int clamped = std::clamp(offset, 0, length);
  if (clamped == length) return length;
  return static_cast<int>(
      SendScintilla(SCI_POSITIONBEFORE, SendScintilla(SCI_POSITIONAFTER, clamped)));
}

int CodeEditor::characterEnd(int offset) const {
  const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
  const int clamped = std::clamp(offset, 0, length);
  if (clamped == 0) return 0;
  return static_cast<int>(
      SendScintilla(SCI_POSITIONAFTER, SendScintilla(SCI_POSITIONBEFORE, clamped)));
}

void CodeEditor::selectBytes(int begin, int end) {
  if (m_Cover != nullptr && m_Cover->isActive()) {
    // Scrolling this editor to the place would lay the long line out.
    m_Cover->select(begin, end);
    return;
  }
  const int start = characterStart(begin);
  const int stop = std::max(start, characterEnd(std::max(begin, end)));
  SendScintilla(SCI_SETSEL, start, stop);
  SendScintilla(SCI_SCROLLCARET);
  setFocus();
}

int CodeEditor::lineOfByte(int offset) const {
  const long length = SendScintilla(SCI_GETLENGTH);
  return static_cast<int>(
      SendScintilla(SCI_LINEFROMPOSITION, std::clamp<long>(offset, 0, length)));
}

int CodeEditor::cursorLine() const {
  return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS)));
}

std::pair<int, int> CodeEditor::visiblePlace(int begin, int end) const {
  const QByteArray text = bytes();
  const auto blank = [&text](int i) {
    const char c = text[i];
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
  };
  const int size = static_cast<int>(text.size());
  const int first = std::clamp(begin, 0, size);
  const int last = std::clamp(std::max(begin, end), first, size);
  for (int i = first; i < last; ++i) {
    if (!blank(i)) return {first, last};
  }
  int start = last;
  while (start < size && blank(start)) ++start;
  if (start == size) return {first, last};
  int stop = start;
  while (stop < size && text[stop] != '\r' && text[stop] != '\n') ++stop;
  return {start, stop};
}

void CodeEditor::markError(int begin, int end, const QString& message) {
  clearErrorMark();
  const int length = static_cast<int>(SendScintilla(SCI_GETLENGTH));
  int start = characterStart(begin);
  int stop = std::max(start, characterEnd(std::max(begin, end)));
  // An empty place (the end of the text, say) still gets one character to
  // carry the underline.
  if (start == stop) {
    if (stop < length) {
      stop = characterEnd(stop + 1);
    } else if (start > 0) {
      start = characterStart(start - 1);
    }
  }
  m_ErrorBegin = start;
  m_ErrorEnd = stop;
  m_ErrorMessage = message.isEmpty() ? QStringLiteral("error") : message;
  SendScintilla(SCI_SETINDICATORCURRENT, kErrorIndicator);
  SendScintilla(SCI_INDICATORFILLRANGE, start, stop - start);
}

void CodeEditor::clearErrorMark() {
  SendScintilla(SCI_SETINDICATORCURRENT, kErrorIndicator);
  SendScintilla(SCI_INDICATORCLEARRANGE, 0, SendScintilla(SCI_GETLENGTH));
  m_ErrorBegin = m_ErrorEnd = 0;
  m_ErrorMessage.clear();
}

void CodeEditor::setGreyedLines(const std::vector<std::pair<int, int>>& ranges) {
  SendScintilla(SCI_SETINDICATORCURRENT, kGreyIndicator);
  SendScintilla(SCI_INDICATORCLEARRANGE, 0, SendScintilla(SCI_GETLENGTH));
  const int count = lines();
  for (const auto& [first, last] : ranges) {
    if (first < 0 || first >= count || last < first) continue;
    const long start = SendScintilla(SCI_POSITIONFROMLINE, first);
    const long stop = SendScintilla(SCI_GETLINEENDPOSITION, std::min(last, count - 1));
    SendScintilla(SCI_INDICATORFILLRANGE, start, stop - start);
  }
}

bool CodeEditor::isGreyed(int line) const {
  if (line < 0 || line >= lines()) return false;
  const long start = SendScintilla(SCI_POSITIONFROMLINE, line);
  const long stop = SendScintilla(SCI_GETLINEENDPOSITION, line);
  return stop > start && SendScintilla(SCI_INDICATORVALUEAT, kGreyIndicator, start) != 0;
}

void CodeEditor::setLinkedLines(const std::vector<int>& lines) {
  markerDeleteAll(kLinkedLineMarker);
  m_LinkedLines.clear();
  for (const int line : lines) {
    if (line < 0 || line >= this->lines()) continue;
    markerAdd(line, kLinkedLineMarker);
    m_LinkedLines.push_back(line);
  }
  if (!m_LinkedLines.empty()) ensureLineVisible(m_LinkedLines.front());
}

void CodeEditor::setProse(bool prose) {
  if (prose == m_Prose) return;
  m_Prose = prose;
  setWrapMode(prose ? WrapWord : WrapNone);
  // The lexer's keyword lists, emptied for prose; Scintilla restyles the
  // text lazily, as it is shown.
  for (int set = 0; set < kKeywordSets; ++set) {
    const char* words = prose || lexer() == nullptr ? nullptr : lexer()->keywords(set + 1);
    SendScintilla(SCI_SETKEYWORDS, set, words != nullptr ? words : "");
  }
}

void CodeEditor::showHoverTip(const QPoint& globalPos, const QString& text) {
  m_HoverTipShown = true;
  QToolTip::showText(globalPos, text, viewport());
}

void CodeEditor::hideHoverTip() {
  if (!m_HoverTipShown) return;
  m_HoverTipShown = false;
  QToolTip::hideText();
}

void CodeEditor::keyPressEvent(QKeyEvent* event) {
  hideHoverTip();
  QsciScintilla::keyPressEvent(event);
}

void CodeEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
    setFocus();
    const QPoint at = event->position().toPoint();
    const long position = SendScintilla(SCI_POSITIONFROMPOINT, at.x(), at.y());
    SendScintilla(SCI_ADDSELECTION, position, position);
    return;
  }
  m_ColumnDrag = event->button() == Qt::LeftButton && (event->modifiers() & Qt::AltModifier) != 0;
  if (!m_ColumnDrag) {
    QsciScintilla::mousePressEvent(event);
    return;
  }
  QsciScintilla::mousePressEvent(asColumnDrag(*event).get());
}

void CodeEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!m_ColumnDrag) {
    QsciScintilla::mouseMoveEvent(event);
    return;
  }
  QsciScintilla::mouseMoveEvent(asColumnDrag(*event).get());
}

void CodeEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_ColumnDrag) {
    QsciScintilla::mouseReleaseEvent(event);
    return;
  }
  m_ColumnDrag = false;
  QsciScintilla::mouseReleaseEvent(asColumnDrag(*event).get());
}

bool CodeEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport() && event->type() == QEvent::Leave) hideHoverTip();
  if (watched == viewport() && event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const long position =
        SendScintilla(SCI_POSITIONFROMPOINTCLOSE, help->pos().x(), help->pos().y());
    if (hasErrorMark() && position >= 0 &&
        SendScintilla(SCI_INDICATORVALUEAT, kErrorIndicator, position) != 0) {
      QToolTip::showText(help->globalPos(), m_ErrorMessage, viewport());
    } else if (!m_HoverTipShown) {
      QToolTip::hideText();
    }
    return true;
  }
  return QsciScintilla::eventFilter(watched, event);
}

void CodeEditor::dragEnterEvent(QDragEnterEvent* event) {
  if (hasLocalFile(event->mimeData())) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragEnterEvent(event);
}

void CodeEditor::dragMoveEvent(QDragMoveEvent* event) {
  if (hasLocalFile(event->mimeData())) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragMoveEvent(event);
}

void CodeEditor::dropEvent(QDropEvent* event) {
  if (hasLocalFile(event->mimeData())) {
    event->acceptProposedAction();
    emit filesDropped(event->mimeData()->urls());
    return;
  }
  QsciScintilla::dropEvent(event);
}

}  // namespace orvo
