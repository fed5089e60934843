// The editing basics of the input area, driven by real key and mouse
// events: auto-indent, bracket highlighting, Ctrl+/ comments, Ctrl+click
// carets, Alt+drag columns, Ctrl+D's next match, Tab and Shift+Tab on a
// selection.
#include <QImage>
#include <QMouseEvent>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/CommentToggle.h"
#include "app/EditingBasics.h"

namespace {

using Base = QsciScintillaBase;

void setText(orvo::CodeEditor* editor, const QByteArray& text) {
  editor->setBytes(text.toStdString(), orvo::TextEncoding::Utf8, false);
}

// The middle of the character at byte `position`, in viewport coordinates.
QPoint pointOf(orvo::CodeEditor* editor, long position) {
  const int x = static_cast<int>(editor->SendScintilla(Base::SCI_POINTXFROMPOSITION, 0, position));
  const int y = static_cast<int>(editor->SendScintilla(Base::SCI_POINTYFROMPOSITION, 0, position));
  const int height = static_cast<int>(editor->SendScintilla(Base::SCI_TEXTHEIGHT, 0));
  return {x + 2, y + height / 2};
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(type, at, target->mapToGlobal(at),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, modifiers);
  QApplication::sendEvent(target, &event);
}

long selections(orvo::CodeEditor* editor) { return editor->SendScintilla(Base::SCI_GETSELECTIONS); }

}  // namespace

class EditingBasicsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::CodeEditor* focusedInput(const QByteArray& text) {
    orvo::CodeEditor* input = window->input();
    setText(input, text);
    // Styled as it would be once shown: indentation after a brace reads
    // the brace's style.
    input->SendScintilla(Base::SCI_COLOURISE, 0, -1);
    window->activateWindow();
    input->setFocus();
    return input;
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->resize(900, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() { window.reset(); }

  // A new line keeps the indentation of the one before, one level more
  // after an opening brace, all of it in spaces.
  void newLineKeepsTheIndentation_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QByteArray("    int x;") << QByteArray("    int x;\r\n    y");
    QTest::newRow("after a brace") << QByteArray("    if (x) {")
                                   << QByteArray("    if (x) {\r\n        y");
    QTest::newRow("at the margin") << QByteArray("int x;") << QByteArray("int x;\r\ny");
  }
  void newLineKeepsTheIndentation() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    orvo::CodeEditor* input = focusedInput(line);
    input->SendScintilla(Base::SCI_DOCUMENTEND);
    QTest::keyClick(input, Qt::Key_Return);
    QTest::keyClick(input, Qt::Key_Y);
    QCOMPARE(input->bytes(), expected);
  }

  // The bracket at the caret and its partner are drawn highlighted; a
  // bracket without a partner is drawn as unmatched.
  void bracketsAtTheCaretAreHighlighted() {
    orvo::CodeEditor* input = focusedInput("f(a, (b)) + g(c\r\n");
    const auto backgroundAt = [input](long position) {
      QApplication::processEvents();
      const QImage image = input->viewport()->grab().toImage();
      const QPoint point = pointOf(input, position);
      // The top edge of the character cell, clear of its glyph.
      const int y = static_cast<int>(input->SendScintilla(Base::SCI_POINTYFROMPOSITION, 0, position)) + 1;
      return QColor(image.pixel(point.x(), y));
    };
    input->SendScintilla(Base::SCI_GOTOPOS, 1);  // before the first "("
    QTRY_COMPARE(backgroundAt(1), orvo::kMatchedBraceBack);
    QCOMPARE(backgroundAt(8), orvo::kMatchedBraceBack);  // its ")"
    QVERIFY(backgroundAt(5) != orvo::kMatchedBraceBack);  // the inner "("
    input->SendScintilla(Base::SCI_GOTOPOS, 13);  // before the "(" of g
    QTRY_COMPARE(backgroundAt(13), orvo::kUnmatchedBraceBack);
    QVERIFY(backgroundAt(1) != orvo::kMatchedBraceBack);
  }

  // Ctrl+/ comments the selected lines at their smallest indentation and,
  // pressed again, takes the marks away: the text is as it was.
  void ctrlSlashTogglesLineComments() {
    const QByteArray text("#define A 1\r\n  #define B 2\r\n\r\nA B\r\n");
    orvo::CodeEditor* input = focusedInput(text);
    // From inside the first line to the start of the last: that line is
    // not selected.
    input->SendScintilla(Base::SCI_SETSEL, 3, text.indexOf("A B"));
    QTest::keyClick(input, Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(input->bytes(), QByteArray("// #define A 1\r\n//   #define B 2\r\n\r\nA B\r\n"));
    // The selection still covers the same text, so the key undoes itself.
    QCOMPARE(input->SendScintilla(Base::SCI_GETSELECTIONSTART), 6L);
    QCOMPARE(input->SendScintilla(Base::SCI_GETSELECTIONEND), long(text.indexOf("A B") + 6));
    QTest::keyClick(input, Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(input->bytes(), text);
    // One undo step each.
    QTest::keyClick(input, Qt::Key_Slash, Qt::ControlModifier);
    input->undo();
    QCOMPARE(input->bytes(), text);
  }

  // Lines some of which are commented get comments; marks without a blank
  // after them go as well; blank lines stay blank.
  void commentToggleCases_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("mixed lines") << QByteArray("// a\nb\n") << QByteArray("// // a\n// b\n");
    QTest::newRow("marks without blank") << QByteArray("//a\n  //b\n") << QByteArray("a\n  b\n");
    QTest::newRow("indented") << QByteArray("\tx\n\t\ty\n") << QByteArray("\t// x\n\t// \ty\n");
    QTest::newRow("blank lines only") << QByteArray("\n  \n") << QByteArray("\n  \n");
  }
  void commentToggleCases() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    orvo::CodeEditor* input = window->input();
    setText(input, text);
    input->SendScintilla(Base::SCI_SELECTALL);
    orvo::toggleLineComments(*input);
    QCOMPARE(input->bytes(), expected);
  }

  // Ctrl+click adds a caret; typing goes to both; Escape leaves one.
  void ctrlClickAddsACaret() {
    orvo::CodeEditor* input = focusedInput("abc\r\ndef\r\n");
    input->SendScintilla(Base::SCI_GOTOPOS, 1);
    const QPoint second = pointOf(input, 6);  // between "d" and "e"
    QTest::mouseClick(input->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
    QCOMPARE(selections(input), 2L);
    QTest::keyClick(input, Qt::Key_X);
    QCOMPARE(input->bytes(), QByteArray("axbc\r\ndxef\r\n"));
    QTest::keyClick(input, Qt::Key_Escape);
    QCOMPARE(selections(input), 1L);
  }

  // Alt+drag selects a column: one selection per line, typed into each.
  void altDragSelectsAColumn() {
    orvo::CodeEditor* input = focusedInput("abcd\r\nefgh\r\nijkl\r\n");
    QWidget* view = input->viewport();
    const QPoint from = pointOf(input, 1) - QPoint(2, 0);   // before "b"
    const QPoint to = pointOf(input, 15) - QPoint(2, 0);    // before "l"
    sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::AltModifier);
    sendMouse(view, QEvent::MouseMove, to, Qt::LeftButton, Qt::AltModifier);
    sendMouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::AltModifier);
    QVERIFY(input->SendScintilla(Base::SCI_SELECTIONISRECTANGLE) != 0);
    QCOMPARE(selections(input), 3L);
    QTest::keyClick(input, Qt::Key_Minus);
    QCOMPARE(input->bytes(), QByteArray("a-d\r\ne-h\r\ni-l\r\n"));
  }

  // Ctrl+D selects the word at the caret, then adds its next occurrence,
  // wrapping; the text never changes.
  void ctrlDSelectsTheNextMatch() {
    const QByteArray text("foo bar Foo foo\r\nfoo\r\n");
    orvo::CodeEditor* input = focusedInput(text);
    input->SendScintilla(Base::SCI_GOTOPOS, 13);  // inside the third "foo"
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(selections(input), 1L);
    QCOMPARE(input->selectedText(), QStringLiteral("foo"));
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);  // wraps to the first
    QCOMPARE(selections(input), 3L);
    QCOMPARE(input->bytes(), text);
    QTest::keyClick(input, Qt::Key_Z);
    QCOMPARE(input->bytes(), QByteArray("z bar Foo z\r\nz\r\n"));
  }

  // Tab indents every selected line by one level, Shift+Tab takes one away.
  void tabIndentsTheSelectedLines() {
    const QByteArray text("a\r\n    b\r\nc\r\n");
    orvo::CodeEditor* input = focusedInput(text);
    input->SendScintilla(Base::SCI_SETSEL, 0, text.indexOf('c'));
    QTest::keyClick(input, Qt::Key_Tab);
    QCOMPARE(input->bytes(), QByteArray("    a\r\n        b\r\nc\r\n"));
    QTest::keyClick(input, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(input->bytes(), text);
  }
};

QTEST_MAIN(EditingBasicsTest)
#include "window_editing_basics_test.moc"
