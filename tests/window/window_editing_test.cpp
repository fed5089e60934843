// The window's editing basics and layout: the find bar, Replace, Go to
// Line, the Edit menu on the focused area, side by side, the split and the
// docked panels, and the Explain panel's marking of steps.
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/ExplainPanel.h"
#include "app/FindBar.h"
#include "app/LivePreview.h"

namespace {

void setText(orvo::CodeEditor* editor, const QString& text) {
  editor->setBytes(text.toUtf8().toStdString(), orvo::TextEncoding::Utf8);
}

long selectionStart(orvo::CodeEditor* editor) {
  return editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
}

}  // namespace

class EditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  void openWindow() {
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  orvo::FindBar* findBar() const { return window->findChild<orvo::FindBar*>(); }
  orvo::ExplainPanel* explain() const { return window->findChild<orvo::ExplainPanel*>(); }
  // Runs `text` as F5 does and puts the cursor on its 1-based `line`.
  void runAndShowLine(const QString& text, int line) {
    setText(window->input(), text);
    window->action("ac_Execute")->trigger();
    window->input()->setFocus();
    window->input()->setCursorPosition(line - 1, 0);
    explain()->showLines(line, line);
  }

 private slots:
  void init() {
    useFreshSettings();
    openWindow();
  }
  void cleanup() { window.reset(); }

  // Ctrl+F opens the bar on the focused area; every match is highlighted;
  // F3 and Shift+F3 (and Enter, Shift+Enter) walk them, wrapping around.
  void findWalksAndCountsTheMatches() {
    setText(window->input(), QStringLiteral("abc ABC x\r\nabc\r\n"));
    window->input()->setFocus();
    QTest::keyClick(window->input(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(findBar()->isVisible());
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("ed_Find"));
    QVERIFY(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("abc"));
    QCOMPARE(findBar()->highlightedCount(), 3);  // case is ignored at first
    QCOMPARE(selectionStart(window->input()), 0L);
    QCOMPARE(findBar()->statusText(), QStringLiteral("1 of 3"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(selectionStart(window->input()), 4L);
    QTest::keyClick(window->input(), Qt::Key_F3);
    QCOMPARE(selectionStart(window->input()), 11L);
    QCOMPARE(findBar()->statusText(), QStringLiteral("3 of 3"));
    window->action("ac_FindNext")->trigger();  // wraps to the start
    QCOMPARE(selectionStart(window->input()), 0L);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);  // and back
    QCOMPARE(selectionStart(window->input()), 11L);

    findBar()->setMatchCase(true);
    QCOMPARE(findBar()->highlightedCount(), 2);
    findBar()->setFindText(QStringLiteral("nowhere"));
    QVERIFY(!findBar()->findNext());
    QCOMPARE(findBar()->statusText(), QStringLiteral("No matches"));

    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!findBar()->isVisible());
    QVERIFY(window->input()->hasFocus());
    // The output area is searched once it has the focus.
    window->output()->setFocus();
    window->action("ac_Find")->trigger();
    QCOMPARE(findBar()->target(), window->output());
  }

  // Replace takes the selected match and moves on; Replace All takes the
  // rest, and one undo brings them all back.
  void replaceOneAndAll() {
    const QString text = QStringLiteral("int a = a + a;\r\n");
    setText(window->input(), text);
    window->input()->setFocus();
    window->action("ac_Replace")->trigger();
    QVERIFY(window->findChild<QLineEdit*>(QStringLiteral("ed_Replace"))->isVisible());
    findBar()->setMatchCase(true);
    findBar()->setFindText(QStringLiteral("a"));
    findBar()->setReplaceText(QStringLiteral("bb"));
    QVERIFY(findBar()->findNext());
    findBar()->replaceCurrent();
    QCOMPARE(window->input()->text(), QStringLiteral("int bb = a + a;\r\n"));
    QCOMPARE(findBar()->replaceAll(), 2);
    QCOMPARE(window->input()->text(), QStringLiteral("int bb = bb + bb;\r\n"));
    window->input()->undo();
    QCOMPARE(window->input()->text(), QStringLiteral("int bb = a + a;\r\n"));
  }

  void goToLineMovesTheFocusedArea() {
    setText(window->input(), QStringLiteral("a\r\nb\r\nc\r\nd\r\n"));
    window->input()->setFocus();
    window->nextLineNumber = 3;
    QTest::keyClick(window->input(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(window->input()->cursorLine(), 2);
    window->nextLineNumber.reset();  // cancelled: stays
    window->action("ac_GoToLine")->trigger();
    QCOMPARE(window->input()->cursorLine(), 2);
  }

  // The Edit menu's items act on the area that had the focus last.
  void editMenuActsOnTheFocusedArea() {
    setText(window->input(), QStringLiteral("typed"));
    window->input()->setFocus();
    QTest::keyClick(window->input(), Qt::Key_End);
    QTest::keyClicks(window->input(), QStringLiteral("!"));
    QCOMPARE(window->input()->text(), QStringLiteral("typed!"));
    window->action("ac_Undo")->trigger();
    QCOMPARE(window->input()->text(), QStringLiteral("typed"));
    window->action("ac_Redo")->trigger();
    QCOMPARE(window->input()->text(), QStringLiteral("typed!"));

    setText(window->output(), QStringLiteral("out put"));
    window->output()->setFocus();
    window->action("ac_SelectAll")->trigger();
    QCOMPARE(window->output()->selectedText(), QStringLiteral("out put"));
    QVERIFY(!window->input()->hasSelectedText());
  }

  // Side by side and the split of each arrangement come back at the next
  // start.
  void arrangementAndSplitSurviveARestart() {
    auto* splitter = window->findChild<QSplitter*>(QStringLiteral("Splitter"));
    QCOMPARE(splitter->orientation(), Qt::Vertical);
    window->action("ac_SideBySide")->trigger();
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QVERIFY(window->input()->geometry().right() < window->output()->mapTo(splitter, QPoint()).x());
    const int room = splitter->sizes()[0] + splitter->sizes()[1];
    splitter->setSizes({room * 3 / 5, room - room * 3 / 5});
    const QList<int> sizes = splitter->sizes();
    window->close();
    window.reset();

    openWindow();
    splitter = window->findChild<QSplitter*>(QStringLiteral("Splitter"));
    QVERIFY(window->action("ac_SideBySide")->isChecked());
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QCOMPARE(splitter->sizes(), sizes);
  }

  // With every panel open the text areas keep a few readable lines, and
  // panels beside each other share the width.
  void panelsLeaveTheOutputReadable() {
    window->resize(900, 560);
    QTRY_COMPARE(window->size(), QSize(900, 560));
    setText(window->input(), QStringLiteral("#define f(x) x\n#define f(x) x\nf(1)\n"));
    window->action("ac_Execute")->trigger();
    auto* messages = window->findChild<QDockWidget*>(QStringLiteral("MessagesDock"));
    QVERIFY(messages->isVisible());
    window->action("ac_ShowExplain")->trigger();
    auto* explainDock = window->findChild<QDockWidget*>(QStringLiteral("ExplainDock"));
    QTRY_VERIFY(explainDock->isVisible());
    QTest::qWait(50);
    const int lineHeight = static_cast<int>(
        window->output()->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0));
    QVERIFY2(window->output()->height() >= 6 * lineHeight,
             qPrintable(QString::number(window->output()->height())));
    QVERIFY(window->input()->height() >= 6 * lineHeight);
    QVERIFY2(messages->width() > window->width() / 3, qPrintable(QString::number(messages->width())));
  }

  // The Messages panel shows the newest run's messages only: a live run
  // that fails leaves no warning of an older run beside its error.
  void messagesBelongToTheLastRun() {
    window->livePreview().setDelay(0);
    setText(window->input(), QStringLiteral("#define f(x) x\n#define f(x) x\n"));
    auto* messages = window->findChild<QTreeWidget*>(QStringLiteral("MessagesPanel"));
    QVERIFY(messages != nullptr);
    QTRY_COMPARE(messages->topLevelItemCount(), 1);
    setText(window->input(), QStringLiteral("#define g(x) x\n#if\n"));
    QTRY_VERIFY(!window->livePreview().busy());
    QTRY_VERIFY(!window->status().isEmpty());
    for (int i = 0; i < messages->topLevelItemCount(); ++i)
      QVERIFY(!messages->topLevelItem(i)->text(2).contains(QStringLiteral("found again")));
  }

  // A hover tip goes with a key press, an edit or the mouse leaving.
  void hoverTipNeverStaysStuck() {
    orvo::CodeEditor* input = window->input();
    setText(input, QStringLiteral("#define A 1\r\nA\r\n"));
    const QPoint place = input->viewport()->mapToGlobal(QPoint(5, 5));
    input->showHoverTip(place, QStringLiteral("tip"));
    QVERIFY(input->hoverTipShown());
    QTest::keyClick(input, Qt::Key_Right);
    QVERIFY(!input->hoverTipShown());
    input->showHoverTip(place, QStringLiteral("tip"));
    input->insert(QStringLiteral("x"));
    QVERIFY(!input->hoverTipShown());
    input->showHoverTip(place, QStringLiteral("tip"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(input->viewport(), &leave);
    QVERIFY(!input->hoverTipShown());
  }

  void panelsZoomWithTheEditors() {
    const qreal before = explain()->font().pointSizeF();
    window->action("ac_ZoomIn")->trigger();
    window->action("ac_ZoomIn")->trigger();
    QCOMPARE(explain()->font().pointSizeF(), before + 2);
    window->action("ac_ZoomReset")->trigger();
    QCOMPARE(explain()->font().pointSizeF(), before);
  }

  // A macro left as it stands because it is being expanded is marked and
  // its reason given; a call without parameters shows no empty list; the
  // tips hold the whole step text.
  void explainMarksBusyMacrosAndEmptyCalls() {
    runAndShowLine(QStringLiteral("#define F F + 1\nF\n#define G() 1\nG()\n"), 2);
    int pass = -1;
    for (int i = 0; i < explain()->stepCount(); ++i) {
      if (explain()->step(i)->kind == orvo::RecordedStep::Kind::Pass) pass = i;
    }
    QVERIFY(pass >= 0);
    for (int i = 0; i <= pass; ++i) window->action("ac_StepForward")->trigger();
    QVERIFY2(explain()->stepViewText().contains(
                 QStringLiteral("F is being expanded: a macro does not expand inside itself")),
             qPrintable(explain()->stepViewText()));
    QTreeWidgetItem* item = explain()->tree()->currentItem();
    QVERIFY(item->toolTip(0).contains(QStringLiteral("does not expand inside itself")));

    explain()->showLines(4, 4);
    QVERIFY(explain()->stepCount() > 0);
    QCOMPARE(explain()->step(0)->detail, std::string());
    window->action("ac_StepForward")->trigger();
    QVERIFY(explain()->stepViewText().contains(QStringLiteral("— call\n")));
  }

  // Past the step limit a line says why it shows no steps and how to see
  // them; a line before it still shows its own. (A panel of its own with a
  // small limit: the window's takes a huge input to reach.)
  void explainSaysWhenTheStepLimitHidLine() {
    orvo::CodeEditor input;
    orvo::ExplainPanel panel(&input);
    const QByteArray text = "#define ONE 1\nONE\nONE\nONE\nONE\nONE\nONE\n";
    input.setBytes(text.toStdString(), orvo::TextEncoding::Utf8, false);
    constexpr std::size_t kSmallLimit = 4;
    panel.setRun(orvo::runRecorded(text.toStdString(), {}, kSmallLimit).steps);
    panel.showLines(7, 7);
    QCOMPARE(panel.stepCount(), 0);
    QVERIFY2(panel.stepViewText().contains(QStringLiteral("Steps stopped being kept at line 3")),
             qPrintable(panel.stepViewText()));
    panel.showLines(2, 2);
    QVERIFY(panel.stepCount() > 0);
  }
};

QTEST_MAIN(EditingTest)
#include "window_editing_test.moc"
