// Where the time per key goes on a 2 MB single line, in the text widgets
// themselves with none of the window's additions: a bare QScintilla editor
// typing at the end of the line (it lays the whole line out again after each
// change), the same editor's document edited with its painting suppressed
// (what an edit costs before any layout, at the start and at the end of the
// line), and a QPlainTextEdit without wrapping typing at the end.
//
// Usage: QT_QPA_PLATFORM=offscreen long_line_widgets
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Edits timed per widget: enough for a median, few because the slow widgets
// take seconds each.
constexpr int kEdits = 7;
constexpr int kLineBytes = 2 * 1000 * 1000;

// A line of short declarations, the shape of a minified or generated file.
QByteArray LongLine() {
  QByteArray line;
  line.reserve(kLineBytes + 16);
  for (int i = 0; line.size() < kLineBytes; ++i) line += "int v" + QByteArray::number(i) + " = 1; ";
  return line;
}

// Median time of `edit` with the events it causes handled.
double MedianMs(const std::function<void(int)>& edit) {
  std::vector<double> times;
  QElapsedTimer timer;
  for (int k = 0; k < kEdits; ++k) {
    timer.start();
    edit(k);
    QApplication::processEvents();
    times.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Swallows paint events, so that the editor never lays a line out.
struct NoPainting : QObject {
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }
};

void Scintilla(const QByteArray& line) {
  QsciScintilla editor;
  editor.setUtf8(true);
  editor.resize(1000, 700);
  editor.show();
  if (!QTest::qWaitForWindowExposed(&editor)) return;
  editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, line.size(), line.constData());
  editor.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
  QApplication::processEvents();
  std::printf("%-48s %10.1f\n", "QScintilla, typing at the end",
              MedianMs([&editor](int k) { QTest::keyClick(editor.viewport(), char('a' + k)); }));

  NoPainting noPainting;
  editor.viewport()->installEventFilter(&noPainting);
  using Base = QsciScintillaBase;
  const auto insertAt = [&editor](bool atEnd) {
    return [&editor, atEnd](int) {
      editor.SendScintilla(Base::SCI_INSERTTEXT, atEnd ? editor.SendScintilla(Base::SCI_GETLENGTH) : 0, "x");
    };
  };
  const auto deleteAt = [&editor](bool atEnd) {
    return [&editor, atEnd](int) {
      editor.SendScintilla(Base::SCI_DELETERANGE, atEnd ? editor.SendScintilla(Base::SCI_GETLENGTH) - 1 : 0, 1);
    };
  };
  std::printf("%-48s %10.2f\n", "QScintilla unpainted, insert at the start", MedianMs(insertAt(false)));
  std::printf("%-48s %10.2f\n", "QScintilla unpainted, insert at the end", MedianMs(insertAt(true)));
  std::printf("%-48s %10.2f\n", "QScintilla unpainted, delete at the start", MedianMs(deleteAt(false)));
  std::printf("%-48s %10.2f\n", "QScintilla unpainted, delete at the end", MedianMs(deleteAt(true)));
}

void PlainTextEdit(const QByteArray& line) {
  QPlainTextEdit editor;
  editor.setLineWrapMode(QPlainTextEdit::NoWrap);
  editor.resize(1000, 700);
  editor.show();
  if (!QTest::qWaitForWindowExposed(&editor)) return;
  editor.setPlainText(QString::fromLatin1(line));
  editor.moveCursor(QTextCursor::End);
  QApplication::processEvents();
  std::printf("%-48s %10.1f\n", "QPlainTextEdit without wrapping, typing at the end",
              MedianMs([&editor](int k) { QTest::keyClick(editor.viewport(), char('a' + k)); }));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QByteArray line = LongLine();
  std::printf("%-48s %10s\n", "2 MB single line", "median ms");
  Scintilla(line);
  PlainTextEdit(line);
  return 0;
}
