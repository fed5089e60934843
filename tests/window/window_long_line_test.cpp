// An input with a very long line is edited in the long-line editor, which
// keeps its own text and hands it to the code editor's document: what is
// saved, run or asked about is always the text as typed.
#include <QFile>
#include <QInputMethodEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/LongLineEditor.h"

namespace {

// A line just over the threshold, of short declarations.
QByteArray longLine() {
  QByteArray line;
  for (int i = 0; line.size() <= orvo::LongLineEditor::kLongLineBytes; ++i)
    line += "int v" + QByteArray::number(i) + " = 1; ";
  return line;
}

}  // namespace

class LongLineTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;
  QTemporaryDir dir;
  QString path;

  orvo::LongLineEditor* editor() const { return window->findChild<orvo::LongLineEditor*>(); }
  void openLongLine(const QByteArray& head) {
    path = dir.filePath(QStringLiteral("long.c"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#define A 1\n" + head + longLine() + "\nA\n");
    file.close();
    QVERIFY(window->openFile(path));
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->action("ac_LiveMode")->setChecked(false);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  void cleanup() { window.reset(); }

  // Keys edit the text; whatever reads the input right after a key (Save,
  // a run, the modified question) gets the typed text exactly, and Undo
  // and Redo walk the edits.
  void typedTextIsWhatIsReadAndSaved() {
    openLongLine("");
    QVERIFY(editor()->isActive());
    QVERIFY(editor()->isVisible());
    QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("edited as plain text")));
    const QByteArray loaded = window->input()->bytes();
    QCOMPARE(loaded.left(13), QByteArray("#define A 1\r\n"));

    window->input()->setFocus();
    QTRY_VERIFY(editor()->hasFocus());
    QTest::keyClick(editor(), Qt::Key_Down);
    QTest::keyClick(editor(), Qt::Key_End);
    QTest::keyClicks(editor(), QStringLiteral("x;"));
    QKeyEvent eAcute(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"));
    QApplication::sendEvent(editor(), &eAcute);
    QCOMPARE(window->input()->bytes(), QByteArray(loaded).insert(loaded.indexOf("\r\nA"), "x;\xc3\xa9"));
    // Text composed by an input method comes in whole.
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ü"));
    QApplication::sendEvent(editor(), &composed);
    QCOMPARE(editor()->text(), QByteArray(loaded).insert(loaded.indexOf("\r\nA"), "x;\xc3\xa9\xc3\xbc"));
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QVERIFY(window->input()->isModified());
    QVERIFY(window->windowTitle().startsWith(QLatin1Char('*')));

    // Backspace takes the whole character; Shift+Left selects, typing replaces.
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QTest::keyClick(editor(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(editor(), QStringLiteral("!"));
    QTest::keyClick(editor(), Qt::Key_Return);
    const QByteArray typed = QByteArray(loaded).insert(loaded.indexOf("\r\nA"), "x!\r\n");
    QCOMPARE(window->input()->bytes(), typed);
    QCOMPARE(editor()->text(), typed);

    window->action("ac_SaveInput")->trigger();
    QCOMPARE(readAll(path), QByteArray(typed).replace("\r\n", "\n"));

    // Typed characters are one edit; each Backspace, the replacement and the
    // line break one more.
    for (int i = 0; i < 5; ++i) QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->input()->bytes(), loaded);
    QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(window->input()->bytes(),
             QByteArray(loaded).insert(loaded.indexOf("\r\nA"), "x;\xc3\xa9\xc3\xbc"));
  }

  // F5 runs the typed text at once, and an error's place is selected in
  // the long-line editor.
  void preprocessRunsTheTypedTextAndSelectsTheErrorPlace() {
    openLongLine("");
    window->input()->setFocus();
    QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor(), QStringLiteral("+A"));
    window->action("ac_Execute")->trigger();
    QVERIFY(window->messages.isEmpty());
    QVERIFY(window->output()->text().endsWith(QStringLiteral("1\r\n+1")));

    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), QStringLiteral("#foo"));
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->messages.size(), 1);
    QVERIFY(editor()->hasFocus());
    QVERIFY(editor()->cursorPosition() > window->input()->bytes().lastIndexOf("+A"));
  }

  // A question before replacing the input sees typed text as a change, and
  // an input without long lines goes back to the code editor.
  void replacingAsksAndShortInputGoesBackToTheCodeEditor() {
    openLongLine("");
    window->input()->setFocus();
    QTest::keyClicks(editor(), QStringLiteral("typed"));
    window->nextSaveChoice = TestableWindow::SaveChoice::Discard;
    window->pickExample(0);
    QCOMPARE(window->askedToSave, QStringList{QStringLiteral("long.c")});
    QVERIFY(!editor()->isActive());
    QVERIFY(!editor()->isVisible());
    QVERIFY(window->input()->viewport()->isVisible());
  }
};

QTEST_MAIN(LongLineTest)
#include "window_long_line_test.moc"
