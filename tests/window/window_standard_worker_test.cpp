// The window survives the end of the standard-C worker: killed while the
// Standard C pane's run is under way, the window keeps running with the
// typed text, says standard C stopped, and the next run compares again.
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/DifferencesPanel.h"
#include "app/StandardPane.h"
#include "tests/support/WorkerProcesses.h"

class StandardWorkerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::StandardPane* pane() const { return window->findChild<orvo::StandardPane*>(); }

  // Runs the input with the pane open and waits for the comparison.
  void runAndCompare() {
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_Execute")->trigger();
    QVERIFY(compared.wait(20000));
  }

  QString differences() const {
    QString text;
    for (int i = 0; i < pane()->differencesPanel()->count(); ++i)
      text += pane()->differencesPanel()->item(i)->text() + QLatin1Char('\n');
    return text;
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->show();
  }
  void cleanup() { window.reset(); }

  void aKilledWorkerLeavesTheWindowWithTheTextAndSaysStandardCStopped() {
    window->action("ac_StandardPane")->trigger();
    window->input()->setText(QStringLiteral("a\n"));
    runAndCompare();

    // Object-like macros that double at each level: standard C expands
    // for seconds before its budget ends the run.
    QString text = QStringLiteral("#define A0 x\n");
    for (int k = 1; k <= 40; ++k)
      text += QStringLiteral("#define A%1 A%2 A%2\n").arg(k).arg(k - 1);
    text += QStringLiteral("A40 typed\n");
    window->input()->setText(text);
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_Execute")->trigger();
    // Killed once its run has used a third of a second of processor time.
    QTRY_VERIFY_WITH_TIMEOUT(orvo::test::aStandardWorkerIsBusy(sysconf(_SC_CLK_TCK) / 3), 20000);
    QVERIFY(orvo::test::killStandardWorkers() >= 1);
    QVERIFY(compared.wait(20000));

    QVERIFY(window->isVisible());
    QCOMPARE(window->input()->text(), text);
    QVERIFY2(differences().contains(QStringLiteral("standard C stopped: its process was killed")),
             qPrintable(differences()));

    // A fresh worker takes the next run.
    window->input()->setText(QStringLiteral("#define V 5\nV\n"));
    runAndCompare();
    QVERIFY2(!differences().contains(QStringLiteral("stopped")), qPrintable(differences()));
    QCOMPARE(pane()->standardOutput()->text(), QStringLiteral("5\r\n"));
  }
};

QTEST_MAIN(StandardWorkerTest)
#include "window_standard_worker_test.moc"
