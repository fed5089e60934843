#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "TestableWindow.h"
#include "app/LivePreview.h"

namespace {

// An input that keeps a run busy for a while.
std::string longInput() {
  std::string text = "#define A 1\r\n#define B(x) (x + A)\r\n";
  for (int i = 0; i < 200000; ++i) text += "int x" + std::to_string(i) + " = B(A);\r\n";
  return text;
}

}  // namespace

class LivePreviewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  void setInput(const std::string& text) {
    window->input()->setBytes(text, orvo::TextEncoding::Utf8);
  }
  void moveCursorToEnd() { window->input()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND); }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->action("ac_LiveMode")->isChecked());
  }
  void cleanup() { window.reset(); }

  // Each edit starts over: only the run over the newest input reports, even
  // when an older run was under way when the input changed.
  void onlyTheNewestRunReports() {
    std::vector<std::string> inputs = {longInput(), "#define N 7\r\nn = N;\r\n"};
    std::size_t taken = 0;
    orvo::LivePreview preview([&] { return orvo::RunInput{inputs.at(taken++), {}}; });
    preview.setDelay(0);
    QSignalSpy finished(&preview, &orvo::LivePreview::finished);

    preview.inputChanged();
    QTRY_COMPARE(taken, std::size_t{1});  // the long run is under way
    preview.inputChanged();
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(taken, std::size_t{2});
    const auto result = finished.takeFirst().at(0).value<orvo::RunResult>();
    QVERIFY(result.ok());
    QCOMPARE(result.output, std::string("n = 7;\r\n"));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 0);
  }

  // A run cancelled while under way never reports, and the preview is idle
  // soon after.
  void cancelledRunNeverReports() {
    const std::string input = longInput();
    bool started = false;
    orvo::LivePreview preview([&] {
      started = true;
      return orvo::RunInput{input, {}};
    });
    preview.setDelay(0);
    QSignalSpy finished(&preview, &orvo::LivePreview::finished);
    preview.inputChanged();
    QTRY_VERIFY(started);
    preview.cancel();
    QTRY_VERIFY(!preview.busy());
    QTest::qWait(100);
    QCOMPARE(finished.count(), 0);
  }

  // With standard C wanted, the main result arrives as soon as it is made:
  // here the main engine stops at its rescan limit at once, while standard
  // C takes seconds over the same 19 levels of doubling. The comparison
  // follows in the same job; a cancel then ends the job.
  void mainResultDoesNotWaitForStandardC() {
    std::string input = "#define D(x) x x\n";
    for (int level = 0; level < 19; ++level) input += "D(";
    input += "1";
    for (int level = 0; level < 19; ++level) input += ")";
    orvo::LivePreview preview([&] { return orvo::RunInput{input, {}}; });
    preview.setWithStandard(true);
    QSignalSpy finished(&preview, &orvo::LivePreview::finished);
    QSignalSpy compared(&preview, &orvo::LivePreview::compared);
    QElapsedTimer clock;
    clock.start();
    preview.runNow();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    const qint64 mainArrived = clock.elapsed();
    QCOMPARE(compared.count(), 0);
    QVERIFY(preview.busy());
    QVERIFY(!finished.front().at(0).value<orvo::RunResult>().ok());
    QTRY_COMPARE_WITH_TIMEOUT(compared.count(), 1, 60000);
    QVERIFY2(clock.elapsed() > mainArrived, qPrintable(QString::number(mainArrived)));
    QCOMPARE(finished.count(), 1);
    const auto comparison =
        compared.front().at(0).value<std::shared_ptr<const orvo::compare::Comparison>>();
    QVERIFY(comparison->standard.ok());
    QVERIFY(!comparison->main.ok());
  }

  // Typing goes on while a run over a long input is under way, and the
  // output ends up matching the input as typed.
  void typingDoesNotWaitForALongRun() {
    const std::string text = longInput();
    setInput(text);
    moveCursorToEnd();
    window->input()->setFocus();
    QTRY_VERIFY(window->livePreview().busy());
    QTest::qWait(window->livePreview().delay() + 50);  // the run has started
    QElapsedTimer typing;
    typing.start();
    QTest::keyClicks(window->input(), "int end;");
    QVERIFY2(typing.elapsed() < 1000, qPrintable(QString::number(typing.elapsed())));
    QVERIFY(window->input()->bytes().endsWith("int end;"));
    QTRY_VERIFY_WITH_TIMEOUT(window->output()->text().endsWith(QStringLiteral("int end;")), 30000);
  }

  void typingFillsTheOutput() {
    setInput("#define N 42\r\n");
    moveCursorToEnd();
    window->input()->setFocus();
    QTest::keyClicks(window->input(), "int x = N;");
    QTRY_COMPARE(window->output()->text(), QStringLiteral("int x = 42;"));
    QVERIFY(window->messages.isEmpty());
    QVERIFY(!window->outputMarkedStale());
    QVERIFY(window->status().isEmpty());
  }

  // An error in live mode shows no message box: it is underlined in the
  // input and named in the status bar, and the output keeps the last result
  // that worked, marked as stale.
  void errorIsMarkedWithoutAMessageBox() {
    setInput("#define A 1\r\nint a = A;\r\n");
    QTRY_COMPARE(window->output()->text(), QStringLiteral("int a = 1;\r\n"));

    setInput("#define A 1\r\n#foo\r\nint a = A;\r\n");
    moveCursorToEnd();
    QTRY_VERIFY(window->outputMarkedStale());
    QTRY_VERIFY(window->input()->hasErrorMark());
    QVERIFY(window->status().startsWith(QStringLiteral("line 2: ")));
    QCOMPARE(window->input()->lineOfByte(window->input()->errorMark().first), 1);
    // The mark's tool tip is the status text with the notes after it.
    QVERIFY(window->input()->errorMessage().startsWith(window->status().mid(8) + QLatin1Char('\n')));
    QCOMPARE(window->output()->text(), QStringLiteral("int a = 1;\r\n"));
    QVERIFY(window->messages.isEmpty());
    // A click on the status text selects the place.
    QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("lbl_RunStatus")), Qt::LeftButton);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("#foo"));

    // Fixing the error brings fresh output and clears the marks.
    setInput("#define A 2\r\nint a = A;\r\n");
    QTRY_COMPARE(window->output()->text(), QStringLiteral("int a = 2;\r\n"));
    QVERIFY(!window->outputMarkedStale());
    QVERIFY(!window->input()->hasErrorMark());
    QVERIFY(window->status().isEmpty());
  }

  // A directive being typed on the last line has no line break yet: its
  // error waits while the user types there and shows when the cursor
  // leaves the line.
  void errorOnTheLineBeingTypedWaits() {
    setInput("int a;\r\n");
    QTRY_VERIFY(!window->output()->text().isEmpty());
    setInput("int a;\r\n#define X 1");
    moveCursorToEnd();
    QTRY_VERIFY(window->outputMarkedStale());
    QVERIFY(!window->input()->hasErrorMark());
    QVERIFY(window->status().isEmpty());

    window->input()->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0);
    QTRY_VERIFY(window->input()->hasErrorMark());
    QVERIFY(window->status().startsWith(QStringLiteral("line 2: ")));
  }

  // Without further edits, a held error shows once typing has paused.
  void heldErrorShowsAfterAPause() {
    setInput("#if 1\r\nx");
    moveCursorToEnd();
    QTRY_VERIFY(window->outputMarkedStale());
    QTRY_VERIFY_WITH_TIMEOUT(window->input()->hasErrorMark(), 5000);
    QVERIFY(window->messages.isEmpty());
  }

  // Preprocess keeps its message box in live mode, marks the place at
  // once, and its output is not replaced by a live run that was waiting.
  void preprocessActionKeepsItsMessageBox() {
    setInput("#foo\r\n");
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->messages.size(), 1);
    QVERIFY(window->input()->hasErrorMark());
    QTest::qWait(window->livePreview().delay() + 300);
    QCOMPARE(window->messages.size(), 1);
    QVERIFY(window->input()->hasErrorMark());
    QVERIFY(window->status().startsWith(QStringLiteral("line 1, column 1")));

    // A live run over older text is under way when the user edits and
    // preprocesses: its result never replaces the newer output.
    setInput(longInput());
    QTRY_VERIFY(window->livePreview().busy());
    QTest::qWait(window->livePreview().delay() + 50);
    setInput("#define Q 5\r\nq = Q;\r\n");
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->output()->text(), QStringLiteral("q = 5;\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(!window->livePreview().busy(), 30000);
    QTest::qWait(100);
    QCOMPARE(window->output()->text(), QStringLiteral("q = 5;\r\n"));
  }

  // The message box gives the error's notes after its text, each with its
  // own place.
  void preprocessMessageBoxShowsTheNotes() {
    setInput("#define f(x) x\r\nint a = f(1;\r\n");
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->messages.size(), 1);
    const QStringList lines = window->messages.front().text.split(QLatin1Char('\n'));
    QVERIFY2(lines.size() >= 2, qPrintable(window->messages.front().text));
    QVERIFY(lines[0].startsWith(QStringLiteral("line 2, column ")));
    QVERIFY(lines[0].endsWith(QStringLiteral("EOF found; ) expected")));
    QVERIFY(lines.contains(QStringLiteral("note: line 2, column 10: to match this '('")));
  }

  void switchedOffNothingRunsAfterEdits() {
    window->action("ac_LiveMode")->setChecked(false);
    const QString helpOutput = window->output()->text();
    setInput("int a;\r\n");
    QTest::qWait(window->livePreview().delay() + 300);
    QCOMPARE(window->output()->text(), helpOutput);
    window->action("ac_LiveMode")->setChecked(true);
    QTRY_COMPARE(window->output()->text(), QStringLiteral("int a;\r\n"));
  }
};

QTEST_MAIN(LivePreviewTest)
#include "window_live_preview_test.moc"
