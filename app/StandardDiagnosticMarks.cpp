#include "app/StandardDiagnosticMarks.h"

#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <utility>

#include "app/CodeEditor.h"
#include "app/RunErrorText.h"

namespace orvo {
namespace {

// Beside the editor's own indicators (8: orvo's error, 9: skipped lines,
// 10: Find's matches).
constexpr int kStandardIndicator = 11;
const QColor kStandardUnderline(0x20, 0x60, 0xd0);
// Places marked at most: a header that warns on every line stays quick to
// show; the Messages panel lists them all.
constexpr std::size_t kMaxMarks = 1000;

// The range itself, or where it shows nothing (a message at the end of a
// line, such as a ')' expected there) the character before it on its line,
// so that the squiggle can be seen.
std::pair<int, int> visibleRange(const CodeEditor& input, int begin, int end) {
  const auto blank = [&input](long position) {
    const char c = static_cast<char>(input.SendScintilla(QsciScintillaBase::SCI_GETCHARAT, position));
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
  };
  for (long position = begin; position < end; ++position)
    if (!blank(position)) return {begin, end};
  const long lineStart = input.SendScintilla(
      QsciScintillaBase::SCI_POSITIONFROMLINE,
      input.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<long>(begin)));
  for (long position = begin - 1; position >= lineStart; --position)
    if (!blank(position)) return {static_cast<int>(position), static_cast<int>(position) + 1};
  return {begin, end};
}

// The input bytes [begin, end) a message marks: its own place in the input,
// or the whole #include line that leads into its file.
std::optional<std::pair<int, int>> inputRangeOf(const Diagnostic& diagnostic, const CodeEditor& input) {
  if (!diagnostic.place || !diagnostic.place->known()) return std::nullopt;
  const SourcePlace& place = *diagnostic.place;
  if (place.inMainInput) return visibleRange(input, place.begin, std::max(place.begin + 1, place.end));
  if (place.includedFrom.empty()) return std::nullopt;
  const int line = place.includedFrom.front().line - 1;
  if (line < 0 || line >= input.lines()) return std::nullopt;
  const int begin = static_cast<int>(input.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
  const int end = static_cast<int>(input.SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
  return std::make_pair(begin, std::max(begin + 1, end));
}

}  // namespace

QString standardMessageText(const Diagnostic& diagnostic) {
  const QString kind = QString::fromLatin1(severityName(diagnostic.severity));
  const QString text = QString::fromStdString(diagnostic.text).trimmed();
  QString shown;
  if (diagnostic.place && diagnostic.place->known() && !diagnostic.place->inMainInput) {
    shown = QObject::tr("standard C: %1: %2: %3").arg(sourcePlaceText(*diagnostic.place), kind, text);
    const QString chain = includeChainText(*diagnostic.place);
    if (!chain.isEmpty()) shown += QLatin1Char('\n') + chain;
  } else {
    shown = QObject::tr("standard C: %1: %2").arg(kind, text);
  }
  return withNotes(shown, diagnostic.notes);
}

StandardDiagnosticMarks::StandardDiagnosticMarks(CodeEditor* editor, QObject* parent)
    : QObject(parent), m_Editor(editor) {
  m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, kStandardIndicator,
                         QsciScintillaBase::INDIC_SQUIGGLE);
  m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, kStandardIndicator, kStandardUnderline);
  m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICSETUNDER, kStandardIndicator, 1);
  // Installed after the editor's own filter, so it sees tool tips first.
  m_Editor->viewport()->installEventFilter(this);
}

void StandardDiagnosticMarks::clear() {
  m_Tips.clear();
  m_Editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, kStandardIndicator);
  m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0,
                         m_Editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
}

void StandardDiagnosticMarks::show(const std::vector<Diagnostic>& diagnostics) {
  clear();
  // Messages at one place share a mark and its tip.
  std::map<std::pair<int, int>, QString> marks;
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity == Severity::Note) continue;
    const std::optional<std::pair<int, int>> range = inputRangeOf(diagnostic, *m_Editor);
    if (!range) continue;
    QString& tip = marks[*range];
    if (!tip.isEmpty()) tip += QStringLiteral("\n\n");
    tip += standardMessageText(diagnostic);
    if (marks.size() >= kMaxMarks) break;
  }
  mark(std::move(marks));
}

void StandardDiagnosticMarks::showOnLines(const std::vector<std::pair<int, QString>>& lineTips) {
  clear();
  std::map<std::pair<int, int>, QString> marks;
  for (const auto& [line, text] : lineTips) {
    if (line < 0 || line >= m_Editor->lines()) continue;
    const int begin = static_cast<int>(m_Editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    const int end = static_cast<int>(m_Editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
    if (end == begin) continue;  // nothing to underline
    QString& tip = marks[{begin, end}];
    if (tip.contains(text)) continue;
    if (!tip.isEmpty()) tip += QStringLiteral("\n\n");
    tip += text;
    if (marks.size() >= kMaxMarks) break;
  }
  mark(std::move(marks));
}

void StandardDiagnosticMarks::mark(std::map<std::pair<int, int>, QString> marks) {
  const long length = m_Editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
  m_Editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, kStandardIndicator);
  for (auto& [range, tip] : marks) {
    const long begin = std::clamp<long>(range.first, 0, length);
    const long end = std::clamp<long>(range.second, begin, length);
    if (end == begin) continue;
    m_Tips.push_back(std::move(tip));
    // The indicator's value names the tip, wherever edits move the mark.
    m_Editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORVALUE, static_cast<long>(m_Tips.size()));
    m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, begin, end - begin);
  }
}

bool StandardDiagnosticMarks::isMarked(int position) const {
  return m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, kStandardIndicator,
                                static_cast<long>(position)) != 0;
}

QString StandardDiagnosticMarks::tipAt(int position) const {
  const long value = m_Editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                            kStandardIndicator, static_cast<long>(position));
  if (value <= 0 || value > static_cast<long>(m_Tips.size())) return QString();
  return m_Tips[static_cast<std::size_t>(value - 1)];
}

bool StandardDiagnosticMarks::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_Editor->viewport() || event->type() != QEvent::ToolTip || m_Tips.empty())
    return QObject::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const long position = m_Editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                               static_cast<unsigned long>(help->pos().x()),
                                               static_cast<long>(help->pos().y()));
  const QString tip = position >= 0 ? tipAt(static_cast<int>(position)) : QString();
  if (tip.isEmpty()) return QObject::eventFilter(watched, event);
  // orvo's own error at the same place is told first.
  QString shown = tip;
  if (m_Editor->hasErrorMark()) {
    const auto [begin, end] = m_Editor->errorMark();
    if (begin <= position && position < end) shown = m_Editor->errorMessage() + QStringLiteral("\n\n") + tip;
  }
  QToolTip::showText(help->globalPos(), shown, m_Editor->viewport());
  return true;
}

}  // namespace orvo
