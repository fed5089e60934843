// The input as a document: its name and modified marker in the title, Save
// Input, the question before modified input is replaced, and the examples
// box that cannot be turned by a stray wheel.
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/ExampleCatalogue.h"
#include "app/ExamplesBox.h"
#include "orvo/Run.h"

namespace {

int exampleIndex(const char* name) {
  for (std::size_t i = 0; i < orvo::ExampleCatalogue::count(); ++i) {
    if (QByteArray(orvo::ExampleCatalogue::name(i)) == name) return static_cast<int>(i);
  }
  return -1;
}

// Types `text` at the cursor as the keyboard would.
void type(TestableWindow& window, const char* text) {
  window.input()->setFocus();
  QTest::keyClicks(window.input(), QString::fromLatin1(text));
}

void turnWheel(QWidget* widget, int notches) {
  const QPoint place = widget->rect().center();
  QWheelEvent wheel(QPointF(place), QPointF(widget->mapToGlobal(place)), QPoint(),
                    QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(widget, &wheel);
}

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;
  QTemporaryDir dir;

  QString file(const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    writeAll(path, bytes);
    return path;
  }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->action("ac_LiveMode")->setChecked(false);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() { window.reset(); }

  // The title names what the input area shows and marks it modified.
  void titleNamesWhatIsShown() {
    QCOMPARE(window->windowTitle(), QStringLiteral("orvo"));
    type(*window, "x");
    QCOMPARE(window->windowTitle(), QStringLiteral("*Untitled — orvo"));

    window->pickExample(exampleIndex("object_like2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("object_like2 (example) — orvo"));
    auto* box = window->findChild<orvo::ExamplesBox*>();
    QCOMPARE(box->shownText(), QStringLiteral("object_like2"));
    type(*window, "y");
    QCOMPARE(window->windowTitle(), QStringLiteral("*object_like2 (example) — orvo"));
    QCOMPARE(box->shownText(), QStringLiteral("object_like2 (edited)"));
    window->input()->undo();
    QCOMPARE(box->shownText(), QStringLiteral("object_like2"));

    QVERIFY(window->openFile(file("main.c", "int a;\n")));
    QCOMPARE(window->windowTitle(), QStringLiteral("main.c — orvo"));
    QCOMPARE(box->currentIndex(), -1);
  }

  // Undo and Redo across loaded examples bring back the name of what they
  // show, with its modified mark as it was when it was left.
  void undoAcrossLoadedExamplesNamesWhatIsShown() {
    auto* box = window->findChild<orvo::ExamplesBox*>();
    type(*window, "x");
    window->nextSaveChoice = TestableWindow::SaveChoice::Discard;
    window->pickExample(exampleIndex("object_like2"));
    window->pickExample(exampleIndex("function_like2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("function_like2 (example) — orvo"));

    window->input()->undo();
    QCOMPARE(window->input()->bytes(), QByteArray(orvo::ExampleCatalogue::input(
                                           static_cast<std::size_t>(exampleIndex("object_like2")))));
    QCOMPARE(window->windowTitle(), QStringLiteral("object_like2 (example) — orvo"));
    QCOMPARE(box->shownText(), QStringLiteral("object_like2"));
    window->input()->undo();
    QVERIFY(window->input()->bytes().startsWith("xorvo shows"));
    QCOMPARE(window->windowTitle(), QStringLiteral("*Untitled — orvo"));
    QCOMPARE(box->currentIndex(), -1);

    window->input()->redo();
    QCOMPARE(window->windowTitle(), QStringLiteral("object_like2 (example) — orvo"));
    window->input()->redo();
    QCOMPARE(window->windowTitle(), QStringLiteral("function_like2 (example) — orvo"));
    QCOMPARE(box->shownText(), QStringLiteral("function_like2"));
    // Undo of a typed edit alone keeps the example's name.
    type(*window, "y");
    window->input()->undo();
    QCOMPARE(window->windowTitle(), QStringLiteral("function_like2 (example) — orvo"));
  }

  // Every way of replacing modified input asks first; Cancel keeps the
  // input, Discard replaces it.
  void replacingModifiedInputAsks_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"example", "open", "recent", "drop", "quit"}) QTest::newRow(how) << how;
  }
  void replacingModifiedInputAsks() {
    QFETCH(QString, how);
    const QString other = file("other.c", "int other;\n");
    QVERIFY(window->openFile(file("recent.c", "int recent;\n")));
    QVERIFY(window->openFile(file("mine.c", "int mine;\n")));
    const std::function<void()> replace = [&] {
      if (how == QLatin1String("example")) {
        window->pickExample(0);
      } else if (how == QLatin1String("open")) {
        window->nextOpenPath = other;
        window->action("ac_open")->trigger();
      } else if (how == QLatin1String("recent")) {
        auto* recent = window->findChild<QMenu*>(QStringLiteral("mi_Recent"));
        recent->actions().at(1)->trigger();  // the entry below mine.c
      } else if (how == QLatin1String("drop")) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
      } else {
        window->close();
      }
      QTest::qWait(20);  // recent and dropped files are opened once the event is over
    };

    replace();  // unmodified: no question
    QVERIFY(window->askedToSave.isEmpty());
    if (how == QLatin1String("quit")) {
      QVERIFY(!window->isVisible());
      window->show();
    }

    QVERIFY(window->openFile(file("mine.c", "int mine;\n")));
    type(*window, "typed ");
    window->nextSaveChoice = TestableWindow::SaveChoice::Cancel;
    replace();
    QCOMPARE(window->askedToSave, QStringList{QStringLiteral("mine.c")});
    QCOMPARE(window->input()->bytes(), QByteArray("typed int mine;\r\n"));
    QCOMPARE(window->windowTitle(), QStringLiteral("*mine.c — orvo"));
    QVERIFY(window->isVisible());

    window->nextSaveChoice = TestableWindow::SaveChoice::Discard;
    replace();
    QCOMPARE(window->askedToSave.size(), 2);
    if (how == QLatin1String("quit")) {
      QVERIFY(!window->isVisible());
    } else {
      QVERIFY(!window->input()->bytes().startsWith("typed"));
    }
    QCOMPARE(readAll(dir.filePath(QStringLiteral("mine.c"))), QByteArray("int mine;\n"));
  }

  // Answering Save writes the input (untitled text through Save Input As)
  // before it is replaced; cancelling that dialog keeps the input.
  void saveAnswerSavesTheInputFirst() {
    type(*window, "typed ");
    window->nextSaveChoice = TestableWindow::SaveChoice::Save;
    window->pickExample(0);  // the Save Input dialog is cancelled
    QVERIFY(window->input()->bytes().startsWith("typed "));

    window->nextSaveInputPath = dir.filePath(QStringLiteral("typed.c"));
    window->pickExample(0);
    QVERIFY(readAll(window->nextSaveInputPath).startsWith("typed orvo shows"));
    QCOMPARE(window->input()->bytes(), QByteArray(orvo::ExampleCatalogue::input(0)));
    // Loading the example is one edit: Undo brings the typed text back.
    window->input()->undo();
    QVERIFY(window->input()->bytes().startsWith("typed "));
  }

  // Save Input writes the input to its file with the file's own line ends;
  // Save Input As moves the document to the new folder.
  void saveInputKeepsTheFilesLineEnds() {
    const QString lf = file("lf.c", "#include \"h.h\"\nA\n");
    QVERIFY(window->openFile(lf));
    window->input()->setCursorPosition(1, 1);
    type(*window, "B");
    window->action("ac_SaveInput")->trigger();
    QCOMPARE(readAll(lf), QByteArray("#include \"h.h\"\nAB\n"));
    QCOMPARE(window->windowTitle(), QStringLiteral("lf.c — orvo"));

    QTemporaryDir other;
    window->nextSaveInputPath = other.filePath(QStringLiteral("moved.c"));
    window->action("ac_SaveInputAs")->trigger();
    QCOMPARE(readAll(window->nextSaveInputPath), readAll(lf));
    QCOMPARE(window->windowTitle(), QStringLiteral("moved.c — orvo"));
    QCOMPARE(QString::fromStdString(window->inputDir()), other.path());
    QVERIFY(window->messages.isEmpty());

    // The keys are shown in the File menu.
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mi_File"));
    QStringList keys;
    for (QAction* entry : menu->actions()) keys << entry->shortcut().toString();
    QVERIFY(keys.contains(QStringLiteral("Ctrl+Alt+S")));
    QVERIFY(keys.contains(QStringLiteral("Ctrl+S")));
  }

  // A wheel over the examples box changes nothing until the box has the
  // focus from a click.
  void wheelTurnsTheExamplesOnlyWithFocus() {
    auto* box = window->findChild<orvo::ExamplesBox*>();
    const QByteArray before = window->input()->bytes();
    window->input()->setFocus();
    turnWheel(box, 1);
    turnWheel(box, -1);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(window->input()->bytes(), before);

    QTest::mouseClick(box, Qt::LeftButton);  // opens the list
    box->hidePopup();
    QVERIFY(box->hasFocus());
    turnWheel(box, 1);
    QVERIFY(box->currentIndex() >= 0);
  }

  // The box shows its longest name with "(edited)" uncut, and every
  // example has a description of its own, shown in the status bar.
  void examplesBoxFitsItsNamesAndDescribesEach() {
    auto* box = window->findChild<orvo::ExamplesBox*>();
    int widest = 0;
    QSet<QString> descriptions;
    int examples = 0;
    for (int i = 0; i < box->count(); ++i) {
      // The separator before the group of differences from standard C.
      if (box->itemData(i, Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator"))
        continue;
      ++examples;
      widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i) +
                                                                     QStringLiteral(" (edited)")));
      QVERIFY2(!box->description(i).isEmpty(), qPrintable(box->itemText(i)));
      descriptions.insert(box->description(i));
    }
    QCOMPARE(descriptions.size(), examples);
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect text =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    QVERIFY2(text.width() >= widest, qPrintable(QStringLiteral("%1 < %2").arg(text.width()).arg(widest)));

    window->pickExample(3);
    QVERIFY(window->statusBar()->currentMessage().contains(box->description(3)));
  }

  // One click on an Open Recent entry loads its file.
  void openRecentLoadsOnOneClick() {
    QVERIFY(window->openFile(file("first.c", "int first;\n")));
    QVERIFY(window->openFile(file("second.c", "int second;\n")));
    auto* recent = window->findChild<QMenu*>(QStringLiteral("mi_Recent"));
    recent->popup(window->mapToGlobal(QPoint(20, 20)));
    QTRY_VERIFY(recent->isVisible());
    QAction* entry = recent->actions().at(1);
    QTest::mouseMove(recent, recent->actionGeometry(entry).center());
    QTest::mouseClick(recent, Qt::LeftButton, {}, recent->actionGeometry(entry).center());
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("first.c — orvo"));
    QVERIFY(!recent->isVisible());
  }

  // The restored definition gives unshielded_comma2 its reference result.
  void unshieldedComma2GivesItsReferenceResult() {
    const int index = exampleIndex("unshielded_comma2");
    const orvo::RunResult result = orvo::runPreprocessor(orvo::ExampleCatalogue::input(index), {});
    QVERIFY(result.ok());
    QString output = QString::fromStdString(result.output).trimmed();
    QCOMPARE(output.remove(QLatin1Char(' ')),
             QString::fromLatin1(orvo::ExampleCatalogue::record(index).expectedResult)
                 .remove(QLatin1Char(' ')));
  }
};

QTEST_MAIN(DocumentTest)
#include "window_document_test.moc"
