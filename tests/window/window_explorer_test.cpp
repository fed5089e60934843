// The expansion explorer in the window: the Explain panel's steps and
// conditional decisions, stepping through them, the Macros panel, tips over
// macro names, greyed skipped lines and the links between output and input
// lines.
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "TestableWindow.h"
#include "app/ExampleCatalogue.h"
#include "app/LivePreview.h"
#include "app/ExplainPanel.h"
#include "app/MacroHoverTips.h"
#include "app/MacrosPanel.h"
#include "app/StandardPane.h"
#include "orvo/StandardRun.h"

namespace {

int exampleIndex(const char* name) {
  for (std::size_t i = 0; i < orvo::ExampleCatalogue::count(); ++i) {
    if (QByteArray(orvo::ExampleCatalogue::name(i)) == name) return static_cast<int>(i);
  }
  return -1;
}

// The kinds of `panel`'s steps, e.g. "call built pass result".
QString stepKinds(const orvo::ExplainPanel& panel) {
  QStringList kinds;
  for (int i = 0; i < panel.stepCount(); ++i)
    kinds << QString::fromLatin1(orvo::RecordedStepKindName(panel.step(i)->kind));
  return kinds.join(QLatin1Char(' '));
}

}  // namespace

class ExplorerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  orvo::ExplainPanel* explain() const { return window->findChild<orvo::ExplainPanel*>(); }
  orvo::MacrosPanel* macros() const { return window->findChild<orvo::MacrosPanel*>(); }

  // Puts the cursor on 0-based `line` of `editor` as a click there would.
  void moveTo(orvo::CodeEditor* editor, int line) {
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    // The editor reports the move when it next updates its view.
    QSignalSpy moved(editor, &QsciScintilla::cursorPositionChanged);
    editor->setCursorPosition(line, 0);
    QTRY_VERIFY(!moved.isEmpty());
  }
  void runExample(const char* name) {
    const int index = exampleIndex(name);
    QVERIFY(index >= 0);
    window->pickExample(index);
    window->ac_ExecuteExecute();
    // Lets the editors report where their cursors went.
    QTest::qWait(50);
  }

  // Standard C's result beside this preprocessor's; waits for the comparison.
  void openStandardPane() {
    auto* pane = window->findChild<orvo::StandardPane*>();
    QSignalSpy compared(pane, &orvo::StandardPane::compared);
    window->action("ac_StandardPane")->trigger();
    QVERIFY(compared.wait(10000));
  }
  // The detail of the first step of one engine on the shown line.
  QString firstDetail(bool standard) const {
    for (int i = 0; i < explain()->stepCount(); ++i)
      if (explain()->isStandardStep(i) == standard)
        return QString::fromStdString(explain()->step(i)->detail);
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

  // str (foo) stringifies the argument as written; xstr (foo) lets a rescan
  // pass replace foo by 4 before str sees it.
  void showsWhyStrGivesFooAndXstrGivesFour() {
    runExample("stringification3");
    moveTo(window->input(), 3);
    QCOMPARE(stepKinds(*explain()), QStringLiteral("call built result"));
    QCOMPARE(explain()->step(0)->detail, std::string("arguments: s = foo"));
    // This preprocessor writes a blank after a stringified argument.
    QCOMPARE(QString::fromStdString(explain()->step(2)->after), QStringLiteral("\"foo\" "));
    QVERIFY(explain()->conditionalText().contains(QStringLiteral("in no conditional")));

    runExample("stringification4");
    moveTo(window->input(), 3);
    // xstr's call, its body, the pass that replaces foo with str's own
    // nested call inside it, then the whole result.
    QCOMPARE(stepKinds(*explain()),
             QStringLiteral("call built pass call built result pass result"));
    const orvo::RecordedStep& pass = *explain()->step(2);
    QCOMPARE(pass.before, std::string("foo"));
    QCOMPARE(pass.after, std::string("4"));
    QVERIFY(pass.detail.find("expanded: foo") != std::string::npos);
    QCOMPARE(explain()->step(3)->step.parent, explain()->step(0)->step.expansion);
    QCOMPARE(QString::fromStdString(explain()->step(7)->after), QStringLiteral("\"4\"  "));
    // The tree nests str's call under xstr's.
    QTreeWidget* tree = explain()->tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("xstr (foo)"));
    QCOMPARE(tree->topLevelItem(0)->text(1), QStringLiteral("→ \"4\"  "));
  }

  void stepsForwardAndBackWithTheChangeMarked() {
    runExample("stringification4");
    moveTo(window->input(), 3);
    QCOMPARE(explain()->currentStep(), -1);
    QAction* forward = window->action("ac_StepForward");
    QAction* back = window->action("ac_StepBack");
    QVERIFY(forward != nullptr && back != nullptr);
    QCOMPARE(forward->shortcut(), QKeySequence(Qt::Key_F10));
    QCOMPARE(back->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F10));

    QTest::keyClick(window->input(), Qt::Key_F10);
    QCOMPARE(explain()->currentStep(), 0);
    forward->trigger();
    forward->trigger();
    QCOMPARE(explain()->currentStep(), 2);
    QVERIFY(explain()->stepViewText().startsWith(QStringLiteral("Step 3 of 8")));
    QCOMPARE(explain()->changedText(), QStringLiteral("4"));
    QCOMPARE(explain()->tree()->currentItem()->text(1), QStringLiteral("4"));

    QTest::keyClick(window->input(), Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(explain()->currentStep(), 1);
    // "xstr (foo)" became "str(foo)": the call is marked whole, although
    // its last tokens also end the result.
    QCOMPARE(explain()->changedText(), QStringLiteral("str(foo)"));
    back->trigger();
    back->trigger();
    QCOMPARE(explain()->currentStep(), 0);  // stays at the first step
    for (int i = 0; i < 20; ++i) forward->trigger();
    QCOMPARE(explain()->currentStep(), 7);

    // Clicking a step selects the call's text and keeps the line's steps.
    QTreeWidgetItem* call = explain()->tree()->topLevelItem(0)->child(0);
    emit explain()->tree()->itemClicked(call, 0);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("xstr (foo)"));
    QCOMPARE(explain()->currentStep(), 0);
    QCOMPARE(explain()->stepCount(), 8);
  }

  void macrosPanelListsTheTableAndTipsShowDefinitions() {
    runExample("stringification4");
    QMap<QString, QTreeWidgetItem*> rows;
    for (int i = 0; i < macros()->topLevelItemCount(); ++i)
      rows.insert(macros()->topLevelItem(i)->text(0), macros()->topLevelItem(i));
    using Column = orvo::MacrosPanel::Column;
    QVERIFY(rows.contains(QStringLiteral("str")) && rows.contains(QStringLiteral("foo")));
    QTreeWidgetItem* str = rows.value(QStringLiteral("str"));
    QCOMPARE(str->text(Column::kKindColumn), QStringLiteral("function-like"));
    QCOMPARE(str->text(Column::kParametersColumn), QStringLiteral("(s)"));
    QCOMPARE(str->text(Column::kValueColumn), QStringLiteral("#s"));
    QCOMPARE(str->text(Column::kPlaceColumn), QStringLiteral("<input>:2:9"));
    QTreeWidgetItem* foo = rows.value(QStringLiteral("foo"));
    QCOMPARE(foo->text(Column::kKindColumn), QStringLiteral("object-like"));
    QCOMPARE(foo->text(Column::kValueColumn), QStringLiteral("4"));
    QTreeWidgetItem* line = rows.value(QStringLiteral("__LINE__"));
    QVERIFY(line != nullptr);
    QCOMPARE(line->text(Column::kPlaceColumn), QStringLiteral("predefined"));
    QVERIFY(line->font(0).italic());

    // Activating a row selects the definition's name.
    emit macros()->itemActivated(foo, 0);
    QCOMPARE(window->input()->selectedText(), QStringLiteral("foo"));

    const int fooInCall = window->input()->bytes().lastIndexOf("foo");
    const QString tip = window->findChild<orvo::MacroHoverTips*>()->tipAt(fooInCall + 1);
    QCOMPARE(tip, QStringLiteral("#define foo 4\ndefined at <input>:3:9"));
    const int xstrName = window->input()->bytes().indexOf("xstr");
    QVERIFY(window->findChild<orvo::MacroHoverTips*>()
                ->tipAt(xstrName)
                .startsWith(QStringLiteral("#define xstr(s) str(s)")));
    QVERIFY(window->findChild<orvo::MacroHoverTips*>()->tipAt(0).isEmpty());  // "#"

    // Not after an #undef; a function-like macro of the name stays.
    window->input()->setText(
        QStringLiteral("#define F 1\n#define F(x) x\n#undef F\nF\n#define G 2\n"));
    window->ac_ExecuteExecute();
    const int fUse = window->input()->bytes().indexOf("\nF\n") + 1;
    QCOMPARE(window->findChild<orvo::MacroHoverTips*>()->tipAt(fUse),
             QStringLiteral("#define F(x) x\ndefined at <input>:2:9"));
    const int gName = window->input()->bytes().indexOf("G");
    QVERIFY(window->findChild<orvo::MacroHoverTips*>()->tipAt(gName).startsWith(
        QStringLiteral("#define G 2")));
    window->pickExample(exampleIndex("stringification4"));
    window->ac_ExecuteExecute();

    // The mouse resting on the name shows the tip.
    emit window->input()->SCN_DWELLSTART(fooInCall, 20, 20);
    QTRY_COMPARE(QToolTip::text(), tip);
    emit window->input()->SCN_DWELLEND(fooInCall, 20, 20);
    QTRY_VERIFY(!QToolTip::isVisible());
  }

  // A user macro counts as 1 in #if here, so Z's branch is taken although
  // Z is 0; the greying follows the run, not the editor's colouring.
  void greysSkippedLinesAndExplainsTheDecision() {
    window->input()->setText(QStringLiteral(
        "#define Z 0\n#if Z\nshown\n#else\nhidden\nhidden too\n#endif\nafter\n"));
    window->ac_ExecuteExecute();
    orvo::CodeEditor* input = window->input();
    const bool expected[] = {false, false, false, false, true, true, false, false};
    for (int line = 0; line < 8; ++line) QCOMPARE(input->isGreyed(line), expected[line]);

    moveTo(input, 2);
    QCOMPARE(explain()->conditionalText(),
             QStringLiteral("#if Z (line 2): Z counts as 1, so the value is 1: taken."));
    moveTo(input, 4);
    QCOMPARE(explain()->conditionalText(),
             QStringLiteral("#else (line 4): not taken, an earlier branch was taken; "
                            "lines 5–6 skipped."));
    moveTo(input, 7);
    QVERIFY(explain()->conditionalText().contains(QStringLiteral("in no conditional")));
  }

  // Each line gets the decision of its innermost conditional; one nested in
  // a skipped branch was never evaluated.
  void namesTheInnermostConditionalOfEachLine() {
    window->input()->setText(QStringLiteral(
        "#if 0\n#if 1\na\n#endif\nb\n#elif 2\n#ifdef NONE\nc\n#endif\nd\n#endif\n#if 3"));
    window->ac_ExecuteExecute();
    const struct {
      int line;  // 0-based
      const char* decision;
    } cases[] = {
        {2, "The conditional on line 2 was not evaluated: it lies in lines 2–5, which the #if "
            "on line 1 skipped."},
        {4, "#if 0 (line 1): value 0: not taken; lines 2–5 skipped."},
        {7, "#ifdef NONE (line 7): value 0: not taken; line 8 skipped."},
        {9, "#elif 2 (line 6): value 2: taken."},
        {11, "#if 3 (line 12): value 3: taken."},
    };
    for (const auto& entry : cases) {
      moveTo(window->input(), entry.line);
      QVERIFY2(explain()->conditionalText().startsWith(QString::fromUtf8(entry.decision)),
               qPrintable(explain()->conditionalText()));
    }
  }

  // CR LF input with an include: output lines from the input point back at
  // their input line and the other way round; lines from the header at no
  // input line.
  void linksOutputAndInputLines() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile header(dir.filePath(QStringLiteral("two.h")));
    QVERIFY(header.open(QIODevice::WriteOnly));
    header.write("h1\r\nh2\r\n");
    header.close();
    QFile source(dir.filePath(QStringLiteral("main.c")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("first\r\n#include \"two.h\"\r\n#define F(a, b) a+b\r\n\r\nx = F(1,\r\n 2);\r\nend\r\n");
    source.close();
    QVERIFY(window->openFile(source.fileName()));
    window->ac_ExecuteExecute();
    const QStringList output = window->output()->text().split(QStringLiteral("\r\n"));
    const int h1 = output.indexOf(QStringLiteral("h1"));
    // The call's line break stays in the output.
    const int call = output.indexOf(QStringLiteral("x = 1+"));
    const int end = output.indexOf(QStringLiteral("end"));
    QVERIFY2(h1 >= 0 && call >= 0 && end >= 0,
             qPrintable(output.join(QLatin1Char('|')) +
                        (window->messages.isEmpty() ? QString() : window->messages.front().text)));

    moveTo(window->input(), 6);
    QCOMPARE(window->output()->linkedLines(), std::vector<int>{end});
    // Both output lines of the call come from both of its input lines.
    moveTo(window->input(), 4);
    QCOMPARE(window->output()->linkedLines(), (std::vector<int>{call, call + 1}));
    QCOMPARE(explain()->stepCount() > 0, true);

    // From the output: the call's line came from input lines 5 and 6.
    moveTo(window->output(), call);
    QCOMPARE(window->input()->linkedLines(), (std::vector<int>{4, 5}));
    QVERIFY(window->output()->linkedLines().empty());
    QCOMPARE(explain()->step(0)->name, std::string("F"));
    moveTo(window->output(), h1);
    QVERIFY(window->input()->linkedLines().empty());
  }

  // The panels start closed; a step key opens Explain, and the next start
  // keeps the panels as they were left.
  void panelsStayAsTheUserLeftThem() {
    auto* explainDock = window->findChild<QDockWidget*>(QStringLiteral("ExplainDock"));
    auto* macrosDock = window->findChild<QDockWidget*>(QStringLiteral("MacrosDock"));
    QVERIFY(!explainDock->isVisible() && !macrosDock->isVisible());
    window->action("ac_StepForward")->trigger();
    QVERIFY(explainDock->isVisible());
    window->action("ac_ShowMacros")->trigger();
    QVERIFY(macrosDock->isVisible());
    window->action("ac_ShowMacros")->trigger();
    QVERIFY(!macrosDock->isVisible());

    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(window->findChild<QDockWidget*>(QStringLiteral("ExplainDock"))->isVisible());
    QVERIFY(!window->findChild<QDockWidget*>(QStringLiteral("MacrosDock"))->isVisible());
    window->findChild<QDockWidget*>(QStringLiteral("ExplainDock"))->close();

    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(!window->findChild<QDockWidget*>(QStringLiteral("ExplainDock"))->isVisible());
  }

  // A run with more steps than are kept says so above the steps.
  void saysWhenStepsWereNoLongerKept() {
    orvo::CodeEditor input;
    const QByteArray text = "#define f(x) x\r\nf(1) f(2) f(3) f(4)\r\n";
    input.setBytes(std::string_view(text.constData(), text.size()), orvo::TextEncoding::Utf8);
    orvo::ExplainPanel panel(&input);
    QLabel* note = panel.findChild<QLabel*>(QStringLiteral("lbl_ExplainNote"));
    panel.setRun(orvo::runRecorded(text.toStdString(), {}).steps);
    QVERIFY(!note->isVisibleTo(&panel));
    panel.setRun(orvo::runRecorded(text.toStdString(), {}, 5).steps);
    QVERIFY(note->isVisibleTo(&panel));
    QVERIFY2(note->text().startsWith(QStringLiteral("Steps stopped being kept at line 2: a run "
                                                    "keeps at most 5 steps, definitions and "
                                                    "decisions")),
             qPrintable(note->text()));
    panel.showLines(2, 2);
    QCOMPARE(panel.stepCount(), 4);  // the first call's steps and the second's call
  }

  void livePreviewFillsThePanels() {
    window->action("ac_LiveMode")->setChecked(true);
    window->livePreview().setDelay(0);
    window->input()->setText(QStringLiteral("#define ANSWER 42\nANSWER\n"));
    QTRY_COMPARE(macros()->findItems(QStringLiteral("ANSWER"), Qt::MatchExactly).size(), 1);
    QVERIFY(window->input()->isGreyed(0) == false);
  }

  // After a run that ends in an error the Macros panel shows that run's
  // table as far as it got, under a caption naming where it stopped, never
  // an older table as current; F5 and live runs alike. A good run takes the
  // caption away.
  void macrosAfterAnErrorSayWhereTheRunStopped() {
    auto* caption = window->findChild<QLabel*>(QStringLiteral("lbl_MacrosCaption"));
    QVERIFY(caption != nullptr);
    const auto shows = [this](const char* name) {
      return macros()->findItems(QString::fromLatin1(name), Qt::MatchExactly).size() == 1;
    };
    window->input()->setText(QStringLiteral("#define OLD 1\nOLD\n"));
    window->ac_ExecuteExecute();
    QVERIFY(shows("OLD"));
    QVERIFY(caption->isHidden());

    window->input()->setText(QStringLiteral("#define NEW 2\n#foo\n"));
    window->ac_ExecuteExecute();
    QVERIFY(shows("NEW"));
    QVERIFY(!shows("OLD"));
    QVERIFY(!caption->isHidden());
    // The place is the one the message box and status bar give.
    const QRegularExpression stoppedAt(QStringLiteral("^The run stopped at line \\d+, column \\d+ "));
    QVERIFY2(caption->text().contains(stoppedAt), qPrintable(caption->text()));
    QVERIFY(window->status().startsWith(caption->text().section(QLatin1Char(' '), 4, 7)));

    window->input()->setText(QStringLiteral("#define FINE 3\n"));
    window->ac_ExecuteExecute();
    QVERIFY(shows("FINE"));
    QVERIFY(caption->isHidden());

    window->action("ac_LiveMode")->setChecked(true);
    window->livePreview().setDelay(0);
    window->input()->setText(QStringLiteral("#define LIVE 4\nint a;\n#bar\n"));
    QTRY_VERIFY(!caption->isHidden());
    QVERIFY(caption->text().contains(stoppedAt));
    QVERIFY(shows("LIVE"));
    QVERIFY(!shows("FINE"));
    window->input()->setText(QStringLiteral("#define AGAIN 5\n"));
    QTRY_VERIFY(caption->isHidden());
    QVERIFY(shows("AGAIN"));
  }

  // A conditional the run stopped at was not skipped: the panel says the
  // run stopped there, with the error, and lines after it say the same;
  // standard C reports its own error there and goes on.
  void explainSaysTheRunStoppedAtAConditional() {
    window->input()->setText(QStringLiteral("int a;\n#if (1\nx\n#endif\n"));
    window->ac_ExecuteExecute();
    QCOMPARE(window->messages.size(), 1);
    moveTo(window->input(), 1);
    QCOMPARE(explain()->conditionalText(),
             QStringLiteral("The conditional on line 2 was not evaluated: the run stopped there "
                            "with the error “) expected”."));
    moveTo(window->input(), 2);
    QVERIFY2(explain()->stepViewText().contains(QStringLiteral(
                 "The run stopped on line 2 with the error “) expected”, before this "
                 "line")),
             qPrintable(explain()->stepViewText()));

    // A live run that stops is explained too, never an older run of
    // another text.
    window->action("ac_LiveMode")->setChecked(true);
    window->livePreview().setDelay(0);
    QSignalSpy finished(&window->livePreview(), &orvo::LivePreview::finished);
    window->input()->setText(QStringLiteral("#define ONE 1\nONE\n#if (1\nx\n#endif\n"));
    QVERIFY(finished.wait(10000));
    moveTo(window->input(), 1);
    QCOMPARE(stepKinds(*explain()), QStringLiteral("replaced result"));
    moveTo(window->input(), 2);
    QVERIFY2(explain()->conditionalText().startsWith(
                 QStringLiteral("The conditional on line 3 was not evaluated: the run stopped there")),
             qPrintable(explain()->conditionalText()));
    window->action("ac_LiveMode")->setChecked(false);
    window->input()->setText(QStringLiteral("int a;\n#if (1\nx\n#endif\n"));
    window->ac_ExecuteExecute();

    openStandardPane();
    moveTo(window->input(), 1);
    QVERIFY2(explain()->conditionalText().endsWith(QStringLiteral(
                 "standard C: error “expected ')' in preprocessor expression”, then "
                 "value 0: not taken.")),
             qPrintable(explain()->conditionalText()));
  }

  // This preprocessor's condition ends at a function-like macro's name; the
  // panel says the rest of the line is no part of it. Where standard C
  // expands nothing for its own error, its heading names the error.
  void explainSaysWhereAConditionEndsAndStandardCsErrors() {
    window->input()->setText(QStringLiteral(
        "#define TWICE(x) ((x) * 2)\n#if TWICE(2) == 5\nyes\n#endif\n"
        "#define min(X, Y) ((X) < (Y) ? (X) : (Y))\nmin()\n"));
    window->ac_ExecuteExecute();
    moveTo(window->input(), 1);
    QCOMPARE(explain()->conditionalText(),
             QStringLiteral("#if TWICE (line 2): TWICE counts as 1, so the value is 1: taken (the "
                            "condition ends at `TWICE`: the rest of the line, `(2) == 5`, is no "
                            "part of it)."));
    openStandardPane();
    moveTo(window->input(), 5);
    QTreeWidget* tree = explain()->tree();
    QTreeWidgetItem* heading = tree->topLevelItem(tree->topLevelItemCount() - 1);
    QCOMPARE(heading->text(0), QStringLiteral("Standard C"));
    QCOMPARE(heading->text(1),
             QStringLiteral("no macro expansions on this line; standard C reports the error "
                            "\u201ctoo few arguments provided to function-like macro "
                            "invocation\u201d here"));
  }

  // Where the blank of `t n` went, and predefined names with their values
  // in both engines.
  void explainNamesDroppedBlanksAndPredefinedValues() {
    window->input()->setText(
        QStringLiteral("#define DECL(t, n) t n;\nDECL(int, x)\nint l = __LINE__;\n"));
    window->ac_ExecuteExecute();
    moveTo(window->input(), 1);
    QCOMPARE(stepKinds(*explain()), QStringLiteral("call built result"));
    for (int i = 0; i < 3; ++i) window->action("ac_StepForward")->trigger();
    const QString result = explain()->stepViewText();
    QVERIFY2(result.contains(QStringLiteral("the argument's leading blank")) &&
                 result.contains(QStringLiteral("`int` and `x` run together into `intx`")),
             qPrintable(result));
    QVERIFY(explain()->tree()->currentItem()->toolTip(0).contains(QStringLiteral("run together")));

    openStandardPane();
    moveTo(window->input(), 2);
    QCOMPARE(firstDetail(false), QStringLiteral("predefined macro __LINE__ → 1"));
    QCOMPARE(firstDetail(true), QStringLiteral("predefined macro __LINE__ → 3"));
    window->action("ac_StepForward")->trigger();
    QVERIFY2(explain()->stepViewText().contains(QStringLiteral("from  __LINE__\n  to  1")),
             qPrintable(explain()->stepViewText()));
  }

  // Past the step limit a conditional that was decided says its decision
  // was not recorded, and the panel offers to record from the line; doing
  // so shows the decision and the steps, and lines above the new start say
  // why they have none. (A panel of its own with a small limit: the
  // window's takes a huge input to reach.)
  void explainRecordsFromALinePastTheStepLimit() {
    orvo::CodeEditor input;
    orvo::ExplainPanel panel(&input);
    const QByteArray text =
        "#define ONE 1\n#define MAX 2\nONE\nONE\nONE\n#ifdef MAX\nONE\n#endif\n";
    input.setBytes(text.toStdString(), orvo::TextEncoding::Utf8, false);
    constexpr std::size_t kSmallLimit = 4;
    panel.setRun(orvo::runRecorded(text.toStdString(), {}, kSmallLimit).steps);
    panel.showLines(7, 7);
    QCOMPARE(panel.conditionalText(),
             QStringLiteral("The conditional on line 6 was not recorded: steps stopped being "
                            "kept at line 3, a limit that keeps the window responsive."));
    QVERIFY2(panel.stepViewText().contains(QStringLiteral("To see them, preprocess a shorter")),
             qPrintable(panel.stepViewText()));
    QCOMPARE(panel.offeredRecordingLine(), 0);  // nothing to run again with yet
    panel.setRunInputSource([&text] { return orvo::RunInput{text.toStdString(), {}}; });
    QCOMPARE(panel.offeredRecordingLine(), 7);
    QVERIFY2(panel.stepViewText().contains(QStringLiteral(
                 "Record Steps from Line 7 runs again and keeps them from this line on.")),
             qPrintable(panel.stepViewText()));
    auto* button = panel.findChild<QPushButton*>(QStringLiteral("pb_RecordFromLine"));
    QCOMPARE(button->text(), QStringLiteral("Record Steps from Line 7"));

    // Standard C's steps, past their own limit too, are recorded again with them.
    orvo::StepRecorder standard(kSmallLimit);
    orvo::RunOptions options;
    options.observer = &standard;
    orvo::runStandardC(text.toStdString(), options);
    panel.setStandardRun(standard.take());
    QCOMPARE(panel.stepCount(), 0);
    QTreeWidgetItem* heading = panel.tree()->topLevelItem(0);
    QCOMPARE(heading->text(1), QStringLiteral("not recorded: steps stopped being kept at line 3"));

    button->click();
    QCOMPARE(panel.conditionalText(),
             QStringLiteral("#ifdef MAX (line 6): this preprocessor: value 1: taken; standard C: "
                            "value 1: taken."));
    QVERIFY(panel.stepCount() > 0);
    QVERIFY(panel.isStandardStep(panel.stepCount() - 1));
    QVERIFY(!panel.isStandardStep(0));
    QCOMPARE(panel.offeredRecordingLine(), 0);
    QVERIFY2(panel.noteText().contains(QStringLiteral("Steps were recorded from line 7 on.")),
             qPrintable(panel.noteText()));
    panel.showLines(3, 3);
    QCOMPARE(panel.stepCount(), 0);
    QVERIFY2(panel.stepViewText().startsWith(
                 QStringLiteral("Steps were recorded from line 7 on, so this line's were not kept")),
             qPrintable(panel.stepViewText()));
    QCOMPARE(panel.offeredRecordingLine(), 3);
  }
};

QTEST_MAIN(ExplorerTest)
#include "window_explorer_test.moc"
