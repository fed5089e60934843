// Standard C in the Explain panel and on the live preview's worker: with
// the Standard C pane open, the panel shows both engines' steps for the
// line at the cursor and both decisions of its conditional; the comparison
// is made by the live preview's own run, cancelled with it; with the pane
// closed no standard run is made at all.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/ExplainPanel.h"
#include "app/LivePreview.h"
#include "app/StandardPane.h"

class StandardExplainTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::ExplainPanel* explain() const { return window->findChild<orvo::ExplainPanel*>(); }
  orvo::StandardPane* pane() const { return window->findChild<orvo::StandardPane*>(); }

  void moveTo(orvo::CodeEditor* editor, int line) {
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    QSignalSpy moved(editor, &QsciScintilla::cursorPositionChanged);
    editor->setCursorPosition(line, 0);
    QTRY_VERIFY(!moved.isEmpty());
  }
  void togglePaneAndWait() {
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_StandardPane")->trigger();
    QVERIFY(compared.wait(10000));
  }
  // The result text of the first expansion among the panel's steps of one engine.
  QString resultOf(bool standard) const {
    for (int i = 0; i < explain()->stepCount(); ++i) {
      const orvo::RecordedStep& step = *explain()->step(i);
      if (explain()->isStandardStep(i) == standard && step.kind == orvo::RecordedStep::Kind::Result)
        return QString::fromStdString(step.after);
    }
    return QStringLiteral("<none>");
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

  void explainShowsBothEnginesStepsAndDecisions() {
    window->input()->setText(QStringLiteral(
        "#define DECL(t,n) t n;\nDECL(int, x)\n#define V 5\n#if V > 3\nbig\n#else\nsmall\n#endif\n"));
    window->ac_ExecuteExecute();
    togglePaneAndWait();

    moveTo(window->input(), 1);
    QCOMPARE(resultOf(false).trimmed(), QStringLiteral("intx;"));
    QCOMPARE(resultOf(true), QStringLiteral("int x;"));
    // Standard C's steps under their own heading, after this preprocessor's.
    QTreeWidget* tree = explain()->tree();
    QTreeWidgetItem* heading = tree->topLevelItem(tree->topLevelItemCount() - 1);
    QCOMPARE(heading->text(0), QStringLiteral("Standard C"));
    QCOMPARE(heading->child(0)->text(0), QStringLiteral("DECL(int, x)"));
    QCOMPARE(heading->child(0)->text(1), QStringLiteral("→ int x;"));
    // Clicking the heading shows no step.
    emit tree->itemClicked(heading, 0);
    QCOMPARE(explain()->currentStep(), -1);

    // Each branch with both decisions.
    moveTo(window->input(), 4);
    QVERIFY2(explain()->conditionalText().contains(QStringLiteral(
                 "this preprocessor: V counts 1 → value 0, not taken; standard C: V is 5 → "
                 "value 1, taken")),
             qPrintable(explain()->conditionalText()));
    moveTo(window->input(), 6);
    QVERIFY2(explain()->conditionalText().contains(QStringLiteral(
                 "this preprocessor: taken; standard C: not taken, an earlier branch was taken")),
             qPrintable(explain()->conditionalText()));

    // Closing the pane takes standard C out of the panel.
    window->action("ac_StandardPane")->trigger();
    QVERIFY(!explain()->conditionalText().contains(QStringLiteral("standard C")));
    moveTo(window->input(), 1);
    QCOMPARE(resultOf(true), QStringLiteral("<none>"));
    QVERIFY(tree->findItems(QStringLiteral("Standard C"), Qt::MatchExactly).isEmpty());
  }

  void defaultWindowMakesNoStandardRun() {
    window->action("ac_LiveMode")->setChecked(true);
    orvo::LivePreview& preview = window->livePreview();
    preview.setDelay(0);
    QVERIFY(!preview.withStandard());
    QSignalSpy finished(&preview, &orvo::LivePreview::finished);
    QSignalSpy compared(&preview, &orvo::LivePreview::compared);
    window->input()->setText(QStringLiteral("#define A 1\nA\n"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(compared.count(), 0);
  }

  // One job runs both engines: each result comes with its comparison, an
  // edit cancels both, and a run the edit made stale is never shown.
  void comparisonRidesOnTheLivePreviewsRun() {
    window->action("ac_LiveMode")->setChecked(true);
    orvo::LivePreview& preview = window->livePreview();
    preview.setDelay(0);
    togglePaneAndWait();
    QVERIFY(preview.withStandard());

    QSignalSpy finished(&preview, &orvo::LivePreview::finished);
    QSignalSpy compared(&preview, &orvo::LivePreview::compared);
    // Doubles its tokens at each of 40 levels: both engines would run until
    // their limits.
    QString explosive = QStringLiteral("#define A0 x x\n");
    for (int level = 1; level <= 40; ++level)
      explosive += QStringLiteral("#define A%1 A%2 A%2\n").arg(level).arg(level - 1);
    explosive += QStringLiteral("A40\n");
    window->input()->setText(explosive);
    QTRY_VERIFY(preview.busy());
    QTest::qWait(300);  // the run is under way
    QElapsedTimer clock;
    clock.start();
    window->input()->setText(QStringLiteral("#define V 5\n#if V > 3\nbig\n#endif\n"));
    // The explosive run's main result may have come before the edit, as
    // soon as it was made; none may come after it.
    finished.clear();
    QTRY_VERIFY_WITH_TIMEOUT(compared.count() == 1, 10000);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(pane()->standardOutput()->text().trimmed(), QStringLiteral("big"));
  }
};

QTEST_MAIN(StandardExplainTest)
#include "window_standard_explain_test.moc"
