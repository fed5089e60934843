// The window's messages: the panel under the output that lists a run's
// warnings and errors, selecting a place in the input, and the message box
// that names an included file's place.
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"

class MessagesPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  QTreeWidget* panel() const {
    return window->findChild<QTreeWidget*>(QStringLiteral("MessagesPanel"));
  }
  QDockWidget* dock() const {
    return window->findChild<QDockWidget*>(QStringLiteral("MessagesDock"));
  }
  void run(const QString& input) {
    window->input()->setText(input);
    window->ac_ExecuteExecute();
  }

 private slots:
  void init() {
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() { window.reset(); }

  void listsWarningsAndSelectsTheActivatedPlace() {
    QVERIFY(panel() != nullptr && dock() != nullptr);
    // Non-ASCII text and CR LF line ends make byte offsets differ from
    // character positions.
    run(QStringLiteral("a \u00e4\u20ac\n#define f(x) x\n#define f(x) x\nb"));
    QVERIFY(window->messages.isEmpty());
    QVERIFY(!window->output()->text().isEmpty());
    QVERIFY(dock()->isVisible());
    QCOMPARE(panel()->topLevelItemCount(), 1);
    QTreeWidgetItem* found = panel()->topLevelItem(0);
    QCOMPARE(found->text(0), QStringLiteral("<input>:3:9"));
    QCOMPARE(found->text(1), QStringLiteral("warning"));
    QCOMPARE(found->text(2), QStringLiteral("f found again"));

    emit panel()->itemActivated(found, 0);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("f(x) x"));

    // A run without messages hides the panel again.
    run(QStringLiteral("plain"));
    QCOMPARE(panel()->topLevelItemCount(), 0);
    QVERIFY(!dock()->isVisible());
  }

  void notesAreRowsUnderTheirMessageAndSelectTheirPlace() {
    run(QStringLiteral("#define F(a, b) a\nF(1)\n"));
    QCOMPARE(panel()->topLevelItemCount(), 1);
    QTreeWidgetItem* warning = panel()->topLevelItem(0);
    QCOMPARE(warning->text(2), QStringLiteral("macro \"F\" requires 2 arguments, but only 1 given"));
    QCOMPARE(warning->childCount(), 1);
    QTreeWidgetItem* note = warning->child(0);
    QCOMPARE(note->text(0), QStringLiteral("<input>:1:9"));
    QCOMPARE(note->text(1), QStringLiteral("note"));
    QCOMPARE(note->text(2), QStringLiteral("macro \"F\" defined here"));
    emit panel()->itemActivated(note, 0);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("F"));
  }

  void errorInTheMainInputSelectsItsPlace() {
    run(QStringLiteral("x\n  #error stop\n"));
    QCOMPARE(window->messages.size(), 1);
    QCOMPARE(window->messages.front().text, QStringLiteral("line 2, column 3:  stop"));
    QCOMPARE(window->input()->selectedText(), QStringLiteral("#error"));
  }

  void errorInAnIncludedFileNamesFileAndLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile header(dir.filePath(QStringLiteral("bad.h")));
    QVERIFY(header.open(QIODevice::WriteOnly));
    header.write("one\n#if 1 / 0\n#endif\n");
    header.close();
    QFile source(dir.filePath(QStringLiteral("main.c")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("#include \"bad.h\"\n");
    source.close();
    window->nextOpenPath = source.fileName();
    window->ac_openExecute();

    window->input()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    window->ac_ExecuteExecute();
    QCOMPARE(window->messages.size(), 1);
    const QString text = window->messages.front().text;
    QVERIFY2(text.contains(QStringLiteral("bad.h:2:")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral(": division by 0")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("included from <input>, line 1")), qPrintable(text));
    QVERIFY(!window->input()->hasSelectedText());
  }

  void recordedErrorOfAnIncludedFileIsListedAndNamedOnActivation() {
    QTemporaryDir dir;
    QFile header(dir.filePath(QStringLiteral("stop.h")));
    QVERIFY(header.open(QIODevice::WriteOnly));
    header.write("kept\n#endif\nlost\n");
    header.close();
    QFile source(dir.filePath(QStringLiteral("main.c")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("#include \"stop.h\"\nafter\n");
    source.close();
    window->nextOpenPath = source.fileName();
    window->ac_openExecute();
    window->ac_ExecuteExecute();

    QVERIFY(window->messages.isEmpty());
    QVERIFY(window->output()->text().contains(QStringLiteral("after")));
    QCOMPARE(panel()->topLevelItemCount(), 1);
    QTreeWidgetItem* item = panel()->topLevelItem(0);
    QCOMPARE(item->text(1), QStringLiteral("error"));
    QVERIFY(item->text(0).endsWith(QStringLiteral("stop.h:2:1")));
    emit panel()->itemActivated(item, 0);
    QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("stop.h:2:1")));
  }
};

QTEST_MAIN(MessagesPanelTest)
#include "window_messages_panel_test.moc"
