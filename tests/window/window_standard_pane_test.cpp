// The Standard C pane and the Differences list: standard C's result beside
// the output, differing lines marked on both sides, each difference with
// its reason, activation showing the input place and both lines, and the
// pane's switch remembered.
#include <QAction>
#include <QDockWidget>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/DifferencesPanel.h"
#include "app/StandardPane.h"

class StandardPaneTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::StandardPane* pane() const { return window->findChild<orvo::StandardPane*>(); }

  // Opens the pane by its View menu switch and waits for the comparison.
  void openAndCompare() {
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_StandardPane")->trigger();
    QVERIFY(compared.wait(10000));
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->show();
  }
  void cleanup() { window.reset(); }

  void showsStandardResultAndMarksDifferingLines() {
    window->input()->setText(QStringLiteral("a\n#define V 5\n#if V > 3\nbig\n#else\nsmall\n#endif\n"));
    window->action("ac_Execute")->trigger();
    QVERIFY(window->output()->text().contains(QStringLiteral("small")));
    openAndCompare();
    QVERIFY(pane()->dock()->isVisible());
    QCOMPARE(pane()->standardOutput()->text(), QStringLiteral("a\r\nbig\r\n"));
    orvo::DifferencesPanel* list = pane()->differencesPanel();
    QCOMPARE(list->count(), 2);
    QVERIFY(list->item(0)->text().startsWith(
        QStringLiteral("line 4: #if V > 3 (line 3): here V counts as 1 (a defined macro's value is not "
                       "used), so `V > 3` is 0: not taken; in standard C V is 5, so it is 1: taken")));
    // Line 2 of standard C's result ("big") is marked; on the output side
    // the line that holds "small".
    constexpr unsigned kDifferenceMarkerBit = 1u << 21;
    QVERIFY(pane()->standardOutput()->markersAtLine(1) & kDifferenceMarkerBit);
    QVERIFY(!(pane()->standardOutput()->markersAtLine(0) & kDifferenceMarkerBit));
    const int smallLine = window->output()->text().split(QStringLiteral("\r\n")).indexOf(QStringLiteral("small"));
    QVERIFY(window->output()->markersAtLine(smallLine) & kDifferenceMarkerBit);

    // Activating the first difference selects its input line and both lines.
    QSignalSpy placed(pane(), &orvo::StandardPane::inputPlaceActivated);
    emit list->itemActivated(list->item(0));
    QCOMPARE(placed.count(), 1);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("big"));
    QCOMPARE(pane()->standardOutput()->selectedText(), QStringLiteral("big"));
  }

  void switchIsRememberedAndOutputsScrollTogether() {
    openAndCompare();
    window.reset();
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(pane()->dock()->isVisible());
    QVERIFY(window->action("ac_StandardPane")->isChecked());

    QString text;
    for (int i = 0; i < 300; ++i) text += QStringLiteral("line %1\n").arg(i);
    window->input()->setText(text);
    // A run with the pane open compares too.
    QSignalSpy compared(pane(), &orvo::StandardPane::compared);
    window->action("ac_Execute")->trigger();
    QVERIFY(compared.wait(10000));
    window->output()->setFirstVisibleLine(120);
    QTRY_COMPARE(pane()->standardOutput()->firstVisibleLine(), 120);
  }
};

QTEST_MAIN(StandardPaneTest)
#include "window_standard_pane_test.moc"
