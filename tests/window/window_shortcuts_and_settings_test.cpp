#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/AppSettings.h"
#include "app/IncludeDirectoriesDialog.h"

namespace {

int zoomOf(const orvo::CodeEditor* editor) {
  return static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_GETZOOM));
}

}  // namespace

class ShortcutsAndSettingsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

  void openWindow() {
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }

 private slots:
  void init() {
    useFreshSettings();
    openWindow();
  }
  void cleanup() { window.reset(); }

  // The keys work while the input editor has the focus, which itself takes
  // many keys; the tool tips name them.
  void keysTriggerTheirActions_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("open") << "ac_open" << QKeySequence(Qt::CTRL | Qt::Key_O);
    QTest::newRow("save") << "ac_Save" << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("save as") << "ac_SaveAs" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QTest::newRow("preprocess F5") << "ac_Execute" << QKeySequence(Qt::Key_F5);
    QTest::newRow("preprocess ctrl+return") << "ac_Execute" << QKeySequence(Qt::CTRL | Qt::Key_Return);
    QTest::newRow("quit") << "ac_Quit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
    QTest::newRow("zoom in") << "ac_ZoomIn" << QKeySequence(Qt::CTRL | Qt::Key_Plus);
    QTest::newRow("zoom in =") << "ac_ZoomIn" << QKeySequence(Qt::CTRL | Qt::Key_Equal);
    QTest::newRow("zoom out") << "ac_ZoomOut" << QKeySequence(Qt::CTRL | Qt::Key_Minus);
    QTest::newRow("zoom reset") << "ac_ZoomReset" << QKeySequence(Qt::CTRL | Qt::Key_0);
    QTest::newRow("standard C") << "ac_StandardPane" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    QTest::newRow("side by side") << "ac_SideBySide" << QKeySequence(Qt::CTRL | Qt::Key_Backslash);
  }
  void keysTriggerTheirActions() {
    QFETCH(QString, action);
    QFETCH(QKeySequence, key);
    QAction* target = window->action(action.toLatin1().constData());
    QVERIFY(target != nullptr);
    QVERIFY(target->shortcuts().contains(key) ||
            (key == QKeySequence(Qt::CTRL | Qt::Key_Plus) &&
             target->shortcuts().contains(QKeySequence::ZoomIn)));
    QVERIFY2(target->toolTip().contains(target->shortcut().toString(QKeySequence::NativeText)),
             qPrintable(target->toolTip()));

    window->activateWindow();
    window->input()->setFocus();
    QTRY_VERIFY(window->input()->hasFocus());
    const QByteArray before = window->input()->bytes();
    QSignalSpy triggered(target, &QAction::triggered);
    QTest::keySequence(window->input(), key);
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(window->input()->bytes(), before);  // the key did not reach the text
  }

  void zoomActsOnBothEditorsWithinLimits() {
    window->action("ac_ZoomIn")->trigger();
    window->action("ac_ZoomIn")->trigger();
    QCOMPARE(zoomOf(window->input()), 2);
    QCOMPARE(zoomOf(window->output()), 2);
    // Zooming one editor with the mouse wheel takes the other along.
    window->output()->zoomTo(5);
    QCOMPARE(zoomOf(window->input()), 5);
    window->action("ac_ZoomReset")->trigger();
    QCOMPARE(zoomOf(window->input()), 0);
    for (int i = 0; i < 40; ++i) window->action("ac_ZoomOut")->trigger();
    QCOMPARE(zoomOf(window->output()), -10);
  }

  void menusHoldTheActions() {
    const auto entries = [this](const char* menu) {
      QStringList names;
      for (QAction* action : window->findChild<QMenu*>(QString::fromLatin1(menu))->actions()) {
        if (!action->isSeparator()) names.append(action->menu() ? action->menu()->objectName() : action->objectName());
      }
      return names;
    };
    QCOMPARE(entries("mi_File"),
             QStringList({"mni_New", "mni_Open", "mi_Recent", "mni_SaveInput", "mni_SaveInputAs", "mni_Save",
                          "mni_SaveAs", "mni_Quit"}));
    QCOMPARE(entries("mi_Edit"),
             QStringList({"ac_Undo", "ac_Redo", "ac_Cut", "ac_Copy", "ac_Paste", "ac_SelectAll",
                          "ac_ToggleComment", "ac_SelectNextMatch", "ac_GoToLine", "ac_Find", "ac_FindNext", "ac_FindPrevious",
                          "ac_Replace"}));
    QCOMPARE(entries("mi_Run"),
             QStringList({"mni_Preprocess", "ac_LiveMode", "ac_IncludeDirectories"}));
    QCOMPARE(window->findChild<QAction*>(QStringLiteral("mni_Preprocess"))->shortcut(),
             QKeySequence(Qt::Key_F5));
    for (const char* name : {"ac_SideBySide", "ac_ShowMessages", "ac_ShowExplain", "ac_ShowMacros"})
      QVERIFY2(entries("mi_View").contains(QString::fromLatin1(name)), name);
    QCOMPARE(entries("mi_Help"),
             QStringList({"ac_KeyboardShortcuts", "ac_DifferenceRules", "ac_About"}));
    // The menu entries show the keys of their actions.
    QCOMPARE(window->findChild<QAction*>(QStringLiteral("mni_Save"))->shortcut(),
             QKeySequence(QKeySequence::Save));
  }

  // The first start fits today's screens; what the user changes comes back
  // at the next start.
  void settingsSurviveARestart() {
    const QRect screen = window->screen()->availableGeometry();
    QCOMPARE(window->width(), std::min(screen.width(), std::max(900, int(screen.width() * 0.75))));
    QCOMPARE(window->height(), std::min(screen.height(), std::max(650, int(screen.height() * 0.8))));
    QVERIFY(window->action("ac_LiveMode")->isChecked());

    QTemporaryDir dir;
    QStringList opened;
    for (int i = 0; i < 10; ++i) {
      opened.prepend(dir.filePath(QStringLiteral("f%1.c").arg(i)));
      QVERIFY(writeAll(opened.front(), "int a;\n"));
      QVERIFY(window->openFile(opened.front()));
    }
    QVERIFY(window->openFile(opened[3]));  // opened again: first once more
    window->nextIncludeDirectories = QStringList{dir.path(), QStringLiteral("/usr/include")};
    window->action("ac_IncludeDirectories")->trigger();
    window->action("ac_ZoomIn")->trigger();
    window->action("ac_LiveMode")->setChecked(false);
    window->resize(760, 560);
    QTRY_COMPARE(window->size(), QSize(760, 560));
    auto* splitter = window->findChild<QSplitter*>(QStringLiteral("Splitter"));
    splitter->setSizes({150, 400});
    const QList<int> sizes = splitter->sizes();
    window->close();
    window.reset();

    openWindow();
    QCOMPARE(window->size(), QSize(760, 560));
    QCOMPARE(window->findChild<QSplitter*>(QStringLiteral("Splitter"))->sizes(), sizes);
    QCOMPARE(zoomOf(window->input()), 1);
    QVERIFY(!window->action("ac_LiveMode")->isChecked());
    const orvo::AppSettings settings;
    QCOMPARE(settings.includeDirectories(), QStringList({dir.path(), "/usr/include"}));
    QCOMPARE(settings.lastDirectory(), dir.path());
    QStringList recent = opened.mid(0, 8);
    recent.move(3, 0);
    QCOMPARE(settings.recentFiles(), recent);
    const QList<QAction*> entries = window->findChild<QMenu*>(QStringLiteral("mi_Recent"))->actions();
    QCOMPARE(entries.front()->data().toString(), recent.front());
    QVERIFY(entries.front()->text().startsWith(QStringLiteral("&1 f6.c")));
  }

  void recentEntryOfAMissingFileIsDropped() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.c"));
    QVERIFY(writeAll(path, "x"));
    QVERIFY(window->openFile(path));
    QFile::remove(path);
    auto* recent = window->findChild<QMenu*>(QStringLiteral("mi_Recent"));
    recent->actions().front()->trigger();
    QTRY_COMPARE(window->messages.size(), 1);
    QVERIFY(window->messages.front().text.contains(QStringLiteral("gone.c")));
    QVERIFY(orvo::AppSettings().recentFiles().isEmpty());
    QVERIFY(!recent->isEnabled());
  }

  // Include directories are searched before the directory of the opened
  // file, in their order.
  void includeDirectoriesComeBeforeTheFilesDirectory() {
    QTemporaryDir source;
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(writeAll(source.filePath(QStringLiteral("main.c")), "#include \"which.h\"\n"));
    QVERIFY(writeAll(source.filePath(QStringLiteral("which.h")), "beside\n"));
    QVERIFY(writeAll(first.filePath(QStringLiteral("which.h")), "first\n"));
    QVERIFY(writeAll(second.filePath(QStringLiteral("which.h")), "second\n"));
    QVERIFY(window->openFile(source.filePath(QStringLiteral("main.c"))));
    window->ac_ExecuteExecute();
    QVERIFY(window->output()->text().contains(QStringLiteral("beside")));

    window->nextIncludeDirectories = QStringList{second.path(), first.path()};
    window->action("ac_IncludeDirectories")->trigger();
    window->ac_ExecuteExecute();
    QVERIFY(window->output()->text().contains(QStringLiteral("second")));

    window->nextIncludeDirectories.reset();  // cancelled: nothing changes
    window->action("ac_IncludeDirectories")->trigger();
    QCOMPARE(orvo::AppSettings().includeDirectories(), QStringList({second.path(), first.path()}));
  }

  void includeDirectoriesDialogEditsTheList() {
    orvo::IncludeDirectoriesDialog dialog({"/a", "/b", "/c"});
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lst_IncludeDirectories"));
    list->setCurrentRow(2);
    const auto click = [&](const QString& text) {
      for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) button->click();
      }
    };
    click(QStringLiteral("Move &Up"));
    QCOMPARE(dialog.directories(), QStringList({"/a", "/c", "/b"}));
    click(QStringLiteral("&Remove"));
    QCOMPARE(dialog.directories(), QStringList({"/a", "/b"}));
    list->item(0)->setText(QStringLiteral("  "));
    QCOMPARE(dialog.directories(), QStringList({"/b"}));
  }
};

QTEST_MAIN(ShortcutsAndSettingsTest)
#include "window_shortcuts_and_settings_test.moc"
