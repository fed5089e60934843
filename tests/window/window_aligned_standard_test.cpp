// The Standard C pane beside the output, as a learner reads it: both results
// lined up by input line with gaps (the texts untouched), exactly the
// differing lines marked, a difference shown on both sides, never a result
// of an earlier input without saying so, standard C's own messages in the
// pane, the input and the Messages panel, included files opened read-only,
// and zoom.
#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/AlignedOutputs.h"
#include "app/DifferencesPanel.h"
#include "app/IncludedFileViewer.h"
#include "app/MessagesPanel.h"
#include "app/StandardDiagnosticMarks.h"
#include "app/StandardPane.h"

namespace {

using Sci = QsciScintillaBase;

// Where a line shows, in rows from the editor's top (gap rows counted).
int screenRow(orvo::CodeEditor* editor, int line) {
  const int lineHeight = static_cast<int>(editor->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
  const int display = static_cast<int>(editor->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, line));
  return display - editor->firstVisibleLine() + editor->topGap() / lineHeight;
}

bool onScreen(orvo::CodeEditor* editor, int line) {
  const int row = screenRow(editor, line);
  return row >= 0 && row < editor->SendScintilla(Sci::SCI_LINESONSCREEN);
}

bool marked(orvo::CodeEditor* editor, int line) {
  return (editor->markersAtLine(line) & (1u << orvo::AlignedOutputs::kDifferenceMarker)) != 0;
}

QStringList linesOf(orvo::CodeEditor* editor) {
  QStringList lines;
  for (int i = 0; i < editor->lines(); ++i) {
    QString text = editor->text(i);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    lines << text;
  }
  return lines;
}

// A learner's program of 60 lines: comments and directives (which keep a
// blank line each in orvo's result and none in standard C's) between
// declarations, some through a macro whose result differs.
QString learnerProgram() {
  QString text = QStringLiteral("#define DECL(t, n) t n;\n");
  for (int k = 1; k <= 9; ++k) {
    text += QStringLiteral("/* part %1 */\n#define A%1 %1\nint a%1 = A%1;\nint b%1 = a%1 + 1;\n"
                           "DECL(int, x%1)\n\n")
                .arg(k);
  }
  return text;
}

}  // namespace

class AlignedStandardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::StandardPane* pane() const { return window->findChild<orvo::StandardPane*>(); }
  orvo::CodeEditor* standard() const { return pane()->standardOutput(); }
  MessagesPanel* messages() const { return window->findChild<MessagesPanel*>(); }
  orvo::IncludedFileViewer* includedFiles() const {
    return window->findChild<orvo::IncludedFileViewer*>();
  }

  void openPane() {
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_StandardPane")->trigger();
    QVERIFY(compared.wait(10000));
  }
  // F5, then the comparison that follows it.
  void preprocessAndCompare() {
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_Execute")->trigger();
    QVERIFY(compared.wait(10000));
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->resize(1200, 700);
    window->show();
  }
  void cleanup() { window.reset(); }

  void linesStandSideBySideByInputLine() {
    window->input()->setText(learnerProgram());
    window->action("ac_Execute")->trigger();
    const QString outputBefore = window->output()->text();
    openPane();
    const QStringList main = linesOf(window->output());
    const QStringList standardLines = linesOf(standard());
    // The texts stay the results: no line was added to either.
    QCOMPARE(window->output()->text(), outputBefore);
    QVERIFY(!standardLines.contains(QString()) || standardLines.indexOf(QString()) == standardLines.size() - 1);

    for (int k = 1; k <= 9; ++k) {
      const int mainLine = main.indexOf(QStringLiteral("intx%1; ").arg(k));
      const int standardLine = standardLines.indexOf(QStringLiteral("int x%1;").arg(k));
      QVERIFY2(mainLine >= 0 && standardLine >= 0, qPrintable(QString::number(k)));
      // Both halves of each difference on one row, both marked.
      QCOMPARE(screenRow(window->output(), mainLine), screenRow(standard(), standardLine));
      QVERIFY(marked(window->output(), mainLine));
      QVERIFY(marked(standard(), standardLine));
      // Unchanged lines stand side by side, unmarked.
      const int mainSame = main.indexOf(QStringLiteral("int b%1 = a%1 + 1;").arg(k));
      const int standardSame = standardLines.indexOf(QStringLiteral("int b%1 = a%1 + 1;").arg(k));
      QCOMPARE(screenRow(window->output(), mainSame), screenRow(standard(), standardSame));
      QVERIFY(!marked(window->output(), mainSame));
      QVERIFY(!marked(standard(), standardSame));
    }
    // Exactly the differing lines are marked.
    for (int i = 0; i < standardLines.size(); ++i)
      QCOMPARE(marked(standard(), i), standardLines[i].startsWith(QStringLiteral("int x")));

    // Scrolling either side keeps the rows in step.
    const int deep = main.indexOf(QStringLiteral("intx7; "));
    window->output()->setFirstVisibleLine(
        static_cast<int>(window->output()->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, deep)));
    QTRY_COMPARE(screenRow(standard(), standardLines.indexOf(QStringLiteral("int x7;"))), screenRow(window->output(), deep));
    standard()->setFirstVisibleLine(0);
    QTRY_COMPARE(screenRow(window->output(), 0), 0);
  }

  void activatingADifferenceShowsBothHalves() {
    window->input()->setText(learnerProgram() + QString(QStringLiteral("int filler;\n")).repeated(80));
    window->action("ac_Execute")->trigger();
    openPane();
    orvo::DifferencesPanel* list = pane()->differencesPanel();
    const QStringList standardLines = linesOf(standard());
    const QStringList main = linesOf(window->output());
    // The difference of DECL(int, x7), on input line 42.
    int row = -1;
    for (int i = 0; i < static_cast<int>(list->differences().size()); ++i) {
      const auto& place = list->differences()[static_cast<std::size_t>(i)].place;
      if (place && place->line == 42) row = i;
    }
    QVERIFY(row >= 0);
    window->output()->setFirstVisibleLine(window->output()->lines() - 1);
    emit list->itemActivated(list->item(row));
    QCOMPARE(standard()->selectedText(), QStringLiteral("int x7;"));
    const int standardLine = standardLines.indexOf(QStringLiteral("int x7;"));
    const int mainLine = main.indexOf(QStringLiteral("intx7; "));
    QVERIFY(onScreen(standard(), standardLine));
    QVERIFY(onScreen(window->output(), mainLine));
    QCOMPARE(screenRow(window->output(), mainLine), screenRow(standard(), standardLine));
  }

  void activatingABranchDifferenceKeepsRowsInStep() {
    // A branch each engine takes differently near the end, where the
    // shorter result's editor would stop scrolling before the other's.
    window->input()->setText(QStringLiteral(
        "#define DECL(t, n)  t n;\n#define min(X, Y)   ((X) < (Y) ? (X) : (Y))\n#define LIMIT 10\n\n"
        "DECL(int, count)\nDECL(double, ratio)\n\nint clamp(int v) {\n  return min(v, LIMIT);\n}\n\n"
        "#if LIMIT > 5\nint big = min(LIMIT);\n#else\nint small;\n#endif\nint done;\n"));
    window->action("ac_Execute")->trigger();
    openPane();
    orvo::DifferencesPanel* list = pane()->differencesPanel();
    QVERIFY(list->item(2)->text().startsWith(QStringLiteral("line 13: #if LIMIT > 5")));
    emit list->itemActivated(list->item(2));
    QCOMPARE(standard()->selectedText(), QStringLiteral("int big = min;"));
    const int a = linesOf(window->output()).indexOf(QStringLiteral("int done;"));
    const int b = linesOf(standard()).indexOf(QStringLiteral("int done;"));
    QCOMPARE(screenRow(window->output(), a), screenRow(standard(), b));
    QVERIFY(onScreen(standard(), linesOf(standard()).indexOf(QStringLiteral("int big = min;"))));
  }

  void paneIsNeverSilentlyStale() {
    QTemporaryDir directory;
    window->input()->setText(QStringLiteral("#define V 5\nint v = V;\n"));
    openPane();
    // Typed and saved at once, before the live run.
    window->input()->setCursorPosition(1, 10);
    window->input()->insert(QStringLiteral(" ONE"));
    window->nextSavePath = directory.filePath(QStringLiteral("out.c"));
    window->action("ac_Save")->trigger();
    QVERIFY(readAll(window->nextSavePath).contains("ONE"));
    QVERIFY(pane()->isOutOfDate() || standard()->text().contains(QStringLiteral("ONE")));
    QTRY_VERIFY_WITH_TIMEOUT(standard()->text().contains(QStringLiteral("ONE")), 10000);
    QVERIFY(!pane()->isOutOfDate());

    // Without the live preview an edit leaves the pane out of date until F5.
    window->action("ac_LiveMode")->setChecked(false);
    window->input()->append(QStringLiteral("TWO\n"));
    QVERIFY(pane()->isOutOfDate());
    QVERIFY(!pane()->differencesPanel()->isEnabled());
    preprocessAndCompare();
    QVERIFY(pane()->differencesPanel()->isEnabled());
    QVERIFY(!pane()->isOutOfDate());
    QVERIFY(standard()->text().contains(QStringLiteral("TWO")));
  }

  void standardErrorsShowWhereOrvosDo_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("line");  // 1-based input line the mark is on
    QTest::newRow("#if (1") << QStringLiteral("a\n#if (1\nb\n#endif\n")
                            << QStringLiteral("expected ')' in preprocessor expression") << 2;
    QTest::newRow("function_like10")
        << QStringLiteral("#define min(X, Y)  ((X) < (Y) ? (X) : (Y))\nmin()")
        << QStringLiteral("too few arguments provided to function-like macro invocation") << 2;
    QTest::newRow("unshielded_comma1")
        << QStringLiteral("#define foo  a,b\n#define bar(x) lose(x)\n#define lose(x) (1 + (x))\nbar(foo)")
        << QStringLiteral("too many arguments provided to function-like macro invocation") << 4;
    QTest::newRow("missing header") << QStringLiteral("#include <sys.h>\nint x;\n")
                                    << QStringLiteral("'sys.h' file not found") << 1;
  }
  void standardErrorsShowWhereOrvosDo() {
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(int, line);
    window->input()->setText(input);
    openPane();
    // In the pane, above standard C's result.
    QVERIFY(pane()->messagesNote()->isVisible());
    QVERIFY2(pane()->messagesNote()->text().startsWith(QStringLiteral("Standard C reports an error: line %1").arg(line)),
             qPrintable(pane()->messagesNote()->text()));
    QVERIFY(pane()->messagesNote()->text().contains(message));
    // In the input: a mark of its own on that line, the message its tip.
    const int start = static_cast<int>(window->input()->SendScintilla(Sci::SCI_POSITIONFROMLINE, line - 1));
    const int end = static_cast<int>(window->input()->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line - 1));
    int markedAt = -1;
    for (int i = start; i < end && markedAt < 0; ++i)
      if (pane()->diagnosticMarks()->isMarked(i)) markedAt = i;
    QVERIFY(markedAt >= 0);
    QVERIFY(pane()->diagnosticMarks()->tipAt(markedAt).startsWith(QStringLiteral("standard C: error: ") + message));
    // On the line of standard C's result that the input line wrote, if any.
    const int resultLine = linesOf(standard()).indexOf(QStringLiteral("min"));
    if (QTest::currentDataTag() == QByteArray("function_like10")) {
      QVERIFY(resultLine >= 0);
      const int at = static_cast<int>(standard()->SendScintilla(Sci::SCI_POSITIONFROMLINE, resultLine));
      QVERIFY(pane()->resultMarks()->tipAt(at).contains(message));
    }
    // In Messages, under "Standard C".
    QTreeWidgetItem* group = messages()->standardRow();
    QVERIFY(group != nullptr);
    QCOMPARE(group->text(0), QStringLiteral("Standard C"));
    bool listed = false;
    for (int i = 0; i < group->childCount(); ++i)
      listed = listed || (group->child(i)->text(2) == message && group->child(i)->text(1) == QStringLiteral("error"));
    QVERIFY(listed);
    QVERIFY(window->findChild<QDockWidget*>(QStringLiteral("MessagesDock"))->isVisible());

    // Closing the pane takes all of it away.
    window->action("ac_StandardPane")->trigger();
    QVERIFY(messages()->standardRow() == nullptr);
    QVERIFY(!pane()->diagnosticMarks()->isMarked(markedAt));
  }

  void includedFileOpensReadOnlyAtItsLine() {
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("inc")));
    QVERIFY(writeAll(directory.filePath(QStringLiteral("inc/outer.h")), "int outer;\n#include \"bad.h\"\n"));
    QVERIFY(writeAll(directory.filePath(QStringLiteral("inc/bad.h")), "int bad;\n\n#if (B\n#endif\n"));
    window->nextIncludeDirectories = QStringList{directory.filePath(QStringLiteral("inc"))};
    window->action("ac_IncludeDirectories")->trigger();
    window->input()->setText(QStringLiteral("int a;\nint b;\nint c;\n#include \"outer.h\"\nint d;\n"));
    openPane();

    // Standard C's error in bad.h marks the input's #include line.
    const int includeLine = static_cast<int>(window->input()->SendScintilla(Sci::SCI_POSITIONFROMLINE, 3));
    QVERIFY(pane()->diagnosticMarks()->isMarked(includeLine));
    QVERIFY(pane()->diagnosticMarks()->tipAt(includeLine).contains(QStringLiteral("bad.h:3:")));
    QVERIFY(pane()->messagesNote()->text().contains(QStringLiteral("(included from line 4 of the input)")));

    // Its row in Messages opens bad.h at line 3.
    QTreeWidgetItem* group = messages()->standardRow();
    QVERIFY(group != nullptr && group->childCount() > 0);
    QTreeWidgetItem* row = group->child(0);
    QVERIFY(row->text(0).contains(QStringLiteral("bad.h:3:")));
    emit messages()->itemActivated(row, 0);
    QVERIFY(includedFiles()->dock()->isVisible());
    orvo::CodeEditor* viewer = includedFiles()->viewer();
    QVERIFY(viewer->isReadOnly());
    QVERIFY(viewer->text().contains(QStringLiteral("#if (B")));
    QCOMPARE(viewer->selectedText(), QStringLiteral("#if (B"));
    QVERIFY(window->input()->markersAtLine(3) & (1u << orvo::IncludedFileViewer::kIncludeLineMarker));
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("lbl_IncludedFile"))
                ->text()
                .contains(QStringLiteral("included from line 4 of the input")));
  }

  void differenceInAnIncludedFileOpensIt() {
    QTemporaryDir directory;
    const QString header = directory.filePath(QStringLiteral("deep.h"));
    QVERIFY(writeAll(header, "int one;\nint two;\nint three;\n"));
    openPane();
    orvo::compare::Difference difference;
    orvo::SourcePlace place;
    place.file = header.toStdString();
    place.line = 2;
    place.column = 1;
    place.includedFrom = {orvo::IncludeStep{"<input>", 1, 1}};
    difference.place = place;
    difference.reason = "a reason";
    orvo::DifferencesPanel* list = pane()->differencesPanel();
    list->showDifferences({difference});
    // The row names the file, not a line of the input.
    QVERIFY(list->item(0)->text().startsWith(header + QStringLiteral(":2: ")));
    emit list->itemActivated(list->item(0));
    QVERIFY(includedFiles()->dock()->isVisible());
    QCOMPARE(includedFiles()->viewer()->selectedText(), QStringLiteral("int two;"));
    QVERIFY(window->input()->markersAtLine(0) & (1u << orvo::IncludedFileViewer::kIncludeLineMarker));
  }

  void zoomReachesThePaneAndTheViewer() {
    openPane();
    window->action("ac_ZoomIn")->trigger();
    window->action("ac_ZoomIn")->trigger();
    QCOMPARE(standard()->SendScintilla(Sci::SCI_GETZOOM), 2L);
    QCOMPARE(includedFiles()->viewer()->SendScintilla(Sci::SCI_GETZOOM), 2L);
    // Zooming the pane with the wheel zooms the window's areas too.
    standard()->zoomTo(-1);
    QTRY_COMPARE(window->output()->SendScintilla(Sci::SCI_GETZOOM), -1L);
  }
};

QTEST_MAIN(AlignedStandardTest)
#include "window_aligned_standard_test.moc"
