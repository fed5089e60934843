// What the window says about its input is about that input: an example
// shows its rule as it opens, the status bar shows the error the note
// points to, an output of another document is never passed off as this
// input's, Go to Line moves the panels along, and About names every library
// the program loads.
#include <QDockWidget>
#include <QStatusBar>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/AboutBox.h"
#include "app/ExamplesBox.h"
#include "app/ExplainPanel.h"

namespace {

// Go to Line as the real question leaves things: another window holds the
// focus while the answer is acted on.
class AskingWindow : public TestableWindow {
 public:
  QWidget question;

 protected:
  std::optional<int> askLineNumber(int, int) override {
    question.show();
    question.activateWindow();
    QTest::qWaitForWindowActive(&question);
    return nextLineNumber;
  }
};

}  // namespace

class ExamplesAndStatusTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<AskingWindow> window;

  orvo::ExamplesBox* examples() const { return window->findChild<orvo::ExamplesBox*>(); }
  QString noteText() const { return window->findChild<QLabel*>(QStringLiteral("lbl_Stale"))->text(); }
  QLabel* statusLabel() const { return window->findChild<QLabel*>(QStringLiteral("lbl_RunStatus")); }
  void pick(const char* name) {
    const int index = window->examples()->findText(QString::fromUtf8(name));
    QVERIFY2(index >= 0, name);
    window->pickExample(index);
  }
  void type(const QString& text) {
    window->input()->setFocus();
    QTest::keyClicks(window->input(), text);
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<AskingWindow>();
    window->action("ac_LiveMode")->setChecked(false);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  void cleanup() { window.reset(); }

  // The subdirectory rule's example finds its header one folder below its
  // own include directory as it opens, with no message.
  void exampleBringsTheFolderItIncludes() {
    pick("Includes found in subdirectories");
    window->ac_ExecuteExecute();
    QVERIFY(window->messages.isEmpty());
    QVERIFY2(window->output()->text().contains(QStringLiteral("int sys_found = 1;")),
             qPrintable(window->output()->text()));
    QVERIFY(window->findChild<QDockWidget*>(QStringLiteral("MessagesDock"))->isHidden());
    // Typed into, it is still the example and still finds the header.
    window->input()->setCursorPosition(1, 0);
    type(QStringLiteral("sys_found"));
    QTest::keyClick(window->input(), Qt::Key_Return);
    window->ac_ExecuteExecute();
    QVERIFY(window->output()->text().contains(QStringLiteral("int sys_found = 1;")));
  }

  // A description shown for a hovered item goes with the list; an error
  // after a picked example is readable where the note says it is.
  void statusBarShowsTheErrorTheNotePointsTo() {
    QStatusBar* bar = window->statusBar();
    QComboBox* list = examples();
    list->showPopup();
    emit list->highlighted(1);
    QCOMPARE(bar->currentMessage(), examples()->description(1));
    list->hidePopup();
    QVERIFY(bar->currentMessage().isEmpty());

    window->action("ac_LiveMode")->setChecked(true);
    pick("object_like1");
    QVERIFY(bar->currentMessage().startsWith(QStringLiteral("object_like1: ")));
    window->input()->setCursorPosition(0, 0);
    type(QStringLiteral("#if (1"));
    QTest::keyClick(window->input(), Qt::Key_Return);
    QTRY_VERIFY(window->outputMarkedStale());
    QVERIFY(noteText().contains(QStringLiteral("see the status bar")));
    QVERIFY(bar->currentMessage().isEmpty());
    QTRY_VERIFY(statusLabel()->isVisible() && !statusLabel()->text().isEmpty());
    QVERIFY2(statusLabel()->text().startsWith(QStringLiteral("line 1:")),
             qPrintable(statusLabel()->text()));
  }

  // After an error the output stays only as the same document's last
  // working output; another example's is never shown as this input's.
  void outputOfAnotherDocumentIsNotShownAsThisOnes() {
    pick("object_like1");
    window->ac_ExecuteExecute();
    QVERIFY(window->output()->text().contains(QStringLiteral("malloc(1024)")));
    // The same document edited into an error: its last output stays, stale.
    window->input()->setCursorPosition(0, 0);
    type(QStringLiteral("#if (1"));
    QTest::keyClick(window->input(), Qt::Key_Return);
    window->ac_ExecuteExecute();
    QVERIFY(window->output()->text().contains(QStringLiteral("malloc(1024)")));
    QVERIFY(noteText().contains(QStringLiteral("last output that worked")));

    // Another example typed over before any run of it: no output at all.
    pick("object_like3");
    window->input()->selectAll();
    type(QStringLiteral("#if (1"));
    window->ac_ExecuteExecute();
    QCOMPARE(window->output()->text(), QString());
    QVERIFY2(noteText().contains(QStringLiteral("there is no output yet")), qPrintable(noteText()));

    // Live as well: the run of the example picked is cancelled by typing.
    window->action("ac_LiveMode")->setChecked(true);
    pick("object_like1");
    QTRY_VERIFY(window->output()->text().contains(QStringLiteral("malloc(1024)")));
    pick("object_like3");
    window->input()->selectAll();
    type(QStringLiteral("#if (1"));
    QTRY_VERIFY(window->outputMarkedStale());
    QCOMPARE(window->output()->text(), QString());
  }

  // The Explain panel and the output's linked lines follow Go to Line at
  // once, though the question left another window active.
  void goToLineMovesThePanelsAlong() {
    window->input()->setBytes("#define A(x) x + 1\r\nplain\r\nA(2)\r\n", orvo::TextEncoding::Utf8);
    window->ac_ExecuteExecute();
    window->findChild<QAction*>(QStringLiteral("ac_ShowExplain"))->setChecked(true);
    auto* explain = window->findChild<orvo::ExplainPanel*>();
    window->input()->setFocus();
    window->nextLineNumber = 3;
    window->action("ac_GoToLine")->trigger();
    QVERIFY(window->question.isActiveWindow());
    QTRY_VERIFY(explain->stepCount() > 0);
    const std::vector<int> linked = window->output()->linkedLines();
    QCOMPARE(linked.size(), std::size_t{1});
    QVERIFY(window->output()->text(linked.front()).contains(QStringLiteral("2 + 1")));
    window->nextLineNumber = 2;
    window->action("ac_GoToLine")->trigger();
    QTRY_COMPARE(explain->stepCount(), 0);
  }

  void aboutNamesEveryLibraryLoaded() {
    const QString text = orvo::aboutText();
    for (const char* library : {"Qt ", "QScintilla ", "Boost ", "Clang and LLVM 14"})
      QVERIFY2(text.contains(QString::fromLatin1(library)), library);
    QVERIFY(text.contains(QStringLiteral("Apache License 2.0 with LLVM Exceptions")));
  }
};

QTEST_MAIN(ExamplesAndStatusTest)
#include "window_examples_and_status_test.moc"
