// File ▸ New, the Help menu's lists (keys, rules), the keys of the View
// switches and their clashes, panels opened in front, and the first start:
// captions, the welcome text as prose and a size that shows it whole.
#include <QDockWidget>
#include <QLabel>
#include <QMap>
#include <QSet>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexercpp.h>
#include <memory>

#include "TestableWindow.h"
#include "app/AppSettings.h"
#include "app/FirstStartSize.h"
#include "app/HelpMenu.h"
#include "app/RulesDialog.h"
#include "app/ShortcutsDialog.h"
#include "orvo/DifferenceRules.h"

namespace {

using Base = QsciScintillaBase;

QString plainText(const QAction* action) {
  QString text = action->text();
  text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  return text;
}

QString keysText(const QList<QKeySequence>& keys) {
  QStringList names;
  for (const QKeySequence& key : keys) names.append(key.toString(QKeySequence::NativeText));
  return names.join(QStringLiteral(", "));
}

// Every display line of the editor's text is on the screen at once.
bool showsWholeText(orvo::CodeEditor* editor) {
  const long displayLines =
      editor->SendScintilla(Base::SCI_VISIBLEFROMDOCLINE, editor->lines() - 1) +
      editor->SendScintilla(Base::SCI_WRAPCOUNT, editor->lines() - 1);
  return editor->SendScintilla(Base::SCI_GETFIRSTVISIBLELINE) == 0 &&
         editor->SendScintilla(Base::SCI_LINESONSCREEN) >= displayLines;
}

int styleAt(orvo::CodeEditor* editor, long position) {
  editor->SendScintilla(Base::SCI_COLOURISE, 0, -1);
  return static_cast<int>(editor->SendScintilla(Base::SCI_GETSTYLEAT, position));
}

}  // namespace

class MenusAndHelpTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  void openWindow() {
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  orvo::HelpMenu* help() const { return window->findChild<orvo::HelpMenu*>(); }
  QDockWidget* dock(const char* name) const {
    return window->findChild<QDockWidget*>(QString::fromLatin1(name));
  }

 private slots:
  void init() {
    useFreshSettings();
    openWindow();
  }
  void cleanup() { window.reset(); }

  // Ctrl+N asks about changed input as Open does; Cancel keeps it, Discard
  // empties the area under the name "Untitled", and Undo brings the text back.
  void newAsksThenEmptiesTheInput() {
    orvo::CodeEditor* input = window->input();
    window->activateWindow();
    input->setFocus();
    QTest::keyClicks(input, "int kept;");
    const QByteArray typed = input->bytes();
    window->nextSaveChoice = TestableWindow::SaveChoice::Cancel;
    QTest::keyClick(input, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(window->askedToSave, QStringList({"Untitled"}));
    QCOMPARE(input->bytes(), typed);

    window->nextSaveChoice = TestableWindow::SaveChoice::Discard;
    QTest::keyClick(input, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(input->bytes(), QByteArray());
    QCOMPARE(window->windowTitle(), QStringLiteral("Untitled — orvo"));
    QVERIFY(!input->isProse());
    input->undo();
    QCOMPARE(input->bytes(), typed);

    // Unchanged input is replaced without a question.
    window->pickExample(0);
    window->askedToSave.clear();
    window->action("ac_New")->trigger();
    QVERIFY(window->askedToSave.isEmpty());
    QCOMPARE(input->bytes(), QByteArray());
  }

  // The list has a row for the keys of every action that has keys, named
  // as its menu names it, the Edit menu's code edits among them, and the
  // editors' own gestures.
  void shortcutListNamesEveryActionWithKeys() {
    window->action("ac_KeyboardShortcuts")->trigger();
    orvo::ShortcutsDialog* dialog = help()->shortcutsDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QSet<QString> rows;
    QMap<QString, QString> commandOfKeys;
    for (QTreeWidgetItemIterator it(dialog->list()); *it != nullptr; ++it) {
      rows.insert((*it)->text(0) + QStringLiteral(" = ") + (*it)->text(1));
      commandOfKeys[(*it)->text(1)] = (*it)->text(0);
    }
    int withKeys = 0;
    for (const QAction* action : window->findChildren<QAction*>()) {
      if (action->shortcuts().isEmpty()) continue;
      ++withKeys;
      const QString keys = keysText(action->shortcuts());
      QVERIFY2(commandOfKeys.contains(keys), qPrintable(plainText(action) + " " + keys));
      QVERIFY2(!commandOfKeys[keys].startsWith(QStringLiteral("ac_")), qPrintable(keys));
    }
    QVERIFY(withKeys > 20);
    for (const char* row : {"Toggle Comment = Ctrl+/", "Select Next Match = Ctrl+D",
                            "New = Ctrl+N", "Preprocess = F5, Ctrl+Return",
                            "Standard C = Ctrl+Shift+C",
                            "Input and Output Side by Side = Ctrl+\\", "Add a caret = Ctrl+Click"})
      QVERIFY2(rows.contains(QString::fromLatin1(row)), row);
  }

  // No key can reach two actions from the input area (Qt would then run
  // neither), and none of the window's keys is taken by the editors (whose
  // own editing keys the Edit menu only shows).
  void keysDoNotClash() {
    const auto reachable = [](const QAction* action) {
      if (action->shortcutContext() != Qt::WidgetShortcut) return true;
      const QList<QObject*> widgets = action->associatedObjects();
      return std::any_of(widgets.begin(), widgets.end(), [](QObject* widget) {
        return qobject_cast<orvo::CodeEditor*>(widget) != nullptr;
      });
    };
    QMap<QString, QString> actionOfKey;
    const QSet<QString> editorOwn = {"ac_Undo", "ac_Redo", "ac_Cut", "ac_Copy", "ac_Paste",
                                     "ac_SelectAll"};
    for (const QAction* action : window->findChildren<QAction*>()) {
      if (!reachable(action)) continue;
      for (const QKeySequence& key : action->shortcuts()) {
        const QString name = key.toString();
        QVERIFY2(!actionOfKey.contains(name),
                 qPrintable(name + ": " + actionOfKey[name] + ", " + action->objectName()));
        actionOfKey[name] = action->objectName();
        if (editorOwn.contains(action->objectName())) continue;
        QVERIFY2(window->input()->standardCommands()->boundTo(key[0].toCombined()) == nullptr,
                 qPrintable(name + " is the editor's: " + action->objectName()));
      }
    }
    QVERIFY(actionOfKey.contains(QStringLiteral("Ctrl+/")));
  }

  // The new keys act from inside the input area, and its text stays as it was.
  void viewKeysWorkFromTheInput() {
    window->activateWindow();
    window->input()->setFocus();
    QTRY_VERIFY(window->input()->hasFocus());
    const QByteArray before = window->input()->bytes();
    QTest::keyClick(window->input(), Qt::Key_Backslash, Qt::ControlModifier);
    QVERIFY(window->action("ac_SideBySide")->isChecked());
    QTest::keyClick(window->input(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(dock("StandardDock")->isVisible());
    QCOMPARE(window->input()->bytes(), before);
  }

  // A panel opened by its key comes to the front of the panel it is
  // tabbed with; the key of a covered panel raises it.
  void openedPanelIsRaised() {
    window->activateWindow();
    window->input()->setFocus();
    QTest::keyClick(window->input(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(dock("ExplainDock")->isVisible());
    QTest::keyClick(window->input(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_VERIFY(dock("MacrosDock")->isVisible());
    QVERIFY(!dock("MacrosDock")->visibleRegion().isEmpty());
    // Explain's key, while Macros covers it, brings it back to the front;
    // pressed again it closes the panel.
    QTRY_VERIFY(dock("ExplainDock")->visibleRegion().isEmpty());
    QTest::keyClick(window->input(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(!dock("ExplainDock")->visibleRegion().isEmpty());
    QVERIFY(window->action("ac_ShowExplain")->isChecked());
    QVERIFY(orvo::AppSettings().panelOpen(QStringLiteral("ExplainDock")));
    QTest::keyClick(window->input(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(!dock("ExplainDock")->isVisible());
    QVERIFY(!window->action("ac_ShowExplain")->isChecked());
  }

  // Each rule is a row; a row with an example opens it in the input.
  void rulesListOpensTheExamples() {
    window->action("ac_DifferenceRules")->trigger();
    orvo::RulesDialog* dialog = help()->rulesDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QTableWidget* list = dialog->list();
    const auto rules = orvo::compare::differenceRules();
    QCOMPARE(list->rowCount(), static_cast<int>(rules.size()));
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("A macro counts 1 in #if"));
    // The explanation is shown whole, over more than one line.
    QVERIFY(list->rowHeight(0) > 2 * list->fontMetrics().height());
    emit list->cellActivated(0, 1);
    QCOMPARE(window->input()->bytes(),
             QByteArray("#define V 5\r\n#if V > 3\r\nbig\r\n#else\r\nsmall\r\n#endif\r\n"));
    QCOMPARE(window->windowTitle(), QStringLiteral("A macro counts 1 in #if (example) — orvo"));
    QCOMPARE(window->examples()->currentText(), QStringLiteral("A macro counts 1 in #if"));
  }

  // Captions name both areas; the welcome text is prose (wrapped, no word
  // coloured as a keyword) and preprocesses to itself; once edited it is code.
  void firstStartShowsCaptionsAndProse() {
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lbl_InputCaption"))->text(),
             QStringLiteral("Input"));
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lbl_OutputCaption"))->text(),
             QStringLiteral("Output"));
    orvo::CodeEditor* input = window->input();
    QCOMPARE(window->output()->bytes(), input->bytes());
    const long word = input->bytes().indexOf(" this ") + 1;
    QVERIFY(word > 0);
    QVERIFY(input->isProse() && window->output()->isProse());
    QVERIFY(styleAt(input, word) != QsciLexerCPP::Keyword);
    QCOMPARE(input->wrapMode(), QsciScintilla::WrapWord);

    window->activateWindow();
    input->setFocus();
    input->SendScintilla(Base::SCI_DOCUMENTEND);
    QTest::keyClick(input, Qt::Key_X);
    QVERIFY(!input->isProse());
    QCOMPARE(styleAt(input, word), static_cast<int>(QsciLexerCPP::Keyword));
    QTRY_VERIFY(!window->output()->isProse());
  }

  // At the first-start size of the usual screens both areas show the whole
  // welcome text and its output.
  void firstStartSizeShowsTheWholeWelcome_data() {
    QTest::addColumn<QSize>("screen");
    // The free room of the screen, a panel of the desktop taken away.
    QTest::newRow("1366x768") << QSize(1366, 768 - 28);
    QTest::newRow("1920x1080") << QSize(1920, 1080 - 28);
  }
  void firstStartSizeShowsTheWholeWelcome() {
    QFETCH(QSize, screen);
    const QSize size = orvo::firstStartSize(screen);
    QVERIFY(size.width() <= screen.width() && size.height() <= screen.height());
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    QTRY_VERIFY(showsWholeText(window->input()));
    QVERIFY(showsWholeText(window->output()));
  }

  // Cancel on an example's save question leaves the box naming what the
  // input shows.
  void examplesBoxKeepsItsEntryAfterCancel() {
    window->pickExample(2);
    window->input()->append(QStringLiteral(" "));
    window->nextSaveChoice = TestableWindow::SaveChoice::Cancel;
    window->pickExample(4);
    QCOMPARE(window->examples()->currentIndex(), 2);
    QCOMPARE(window->input()->bytes().right(1), QByteArray(" "));
  }
};

QTEST_MAIN(MenusAndHelpTest)
#include "window_menus_and_help_test.moc"
