#include <QComboBox>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QSplitter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/ExampleCatalogue.h"
#include "orvo/Run.h"

namespace {

// Puts `text` into an editor as typing it would: line ends become CR LF.
void setText(orvo::CodeEditor* editor, const QString& text) {
  editor->setBytes(text.toUtf8().toStdString(), orvo::TextEncoding::Utf8);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() { window.reset(); }

  void startsWithTheControlsAndTheHelpText() {
    QCOMPARE(window->windowTitle(), QStringLiteral("orvo"));
    for (const char* name : {"ToolBar1", "tb_Open", "tb_Save", "tb_Execute", "cb_Examples",
                             "memo_Input", "Splitter", "memo_Output", "StatusBar1", "mi_File",
                             "mni_Open", "mni_Save"}) {
      QVERIFY2(window->findChild<QObject*>(QString::fromLatin1(name)) != nullptr, name);
    }
    const auto* open = window->findChild<QAction*>(QStringLiteral("ac_open"));
    QVERIFY(open != nullptr);
    QCOMPARE(open->text(), QStringLiteral("&Open"));
    QCOMPARE(open->toolTip(), QStringLiteral("Open input file (Ctrl+O)"));
    QVERIFY(!open->icon().isNull());
    QCOMPARE(window->findChild<QAction*>(QStringLiteral("ac_Execute"))->toolTip(),
             QStringLiteral("Preprocess (F5, Ctrl+Return)"));
    QCOMPARE(window->examples()->toolTip(), QStringLiteral("macro examples"));
    // As wide as the longest name.
    QVERIFY(window->examples()->width() >=
            window->examples()->fontMetrics().horizontalAdvance(QStringLiteral("precedence_problem2")));

    // The 38 examples, a separator, the heading and the group of
    // differences from standard C; the box no wider than the catalogue's
    // longest name needs (with " (edited)"), so the tool bar keeps its room.
    QCOMPARE(window->examples()->count(), 38 + 1 + 1 + 8);
    QVERIFY(window->examples()->width() <
            window->examples()->fontMetrics().horizontalAdvance(
                QStringLiteral("Differences from standard C: Blanks around macro arguments")));
    QCOMPARE(window->examples()->itemText(0), QStringLiteral("Tokenization"));
    QCOMPARE(window->examples()->itemText(37), QStringLiteral("unshielded_comma2"));
    QCOMPARE(window->examples()->currentIndex(), -1);

    // One line per paragraph, each a whole sentence or two; preprocessed at
    // once, since live preview is on at the first start.
    const QStringList help = window->input()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(help.size(), 9);
    QCOMPARE(help[0], QStringLiteral("orvo shows what the C preprocessor makes of a piece of code."));
    for (int i = 0; i < help.size(); i += 2) {
      QVERIFY2(help[i].endsWith(QLatin1Char('.')), qPrintable(help[i]));
      if (i + 1 < help.size()) QVERIFY(help[i + 1].isEmpty());
    }
    QVERIFY(window->output()->text().startsWith(help[0]));
    QVERIFY(!window->outputMarkedStale());
    QVERIFY(window->inputDir().empty());
  }

  void pickingAnExampleReplacesTheInputExactly() {
    window->input()->setText(QStringLiteral("typed by the user"));
    window->output()->setText(QStringLiteral("earlier output"));
    window->pickExample(2);
    QCOMPARE(window->examples()->currentText(), QStringLiteral("object_like2"));
    QCOMPARE(window->input()->bytes(),
             QByteArray("#define NUMBERS 1, \\\r\n                2, \\\r\n                3\r\n"
                        "int x[] = { NUMBERS };"));
    QCOMPARE(window->output()->text(), QStringLiteral("earlier output"));
    QVERIFY(window->messages.isEmpty());
  }

  // The group of differences from standard C follows a separator and its
  // heading; an item loads its example and tells what it shows in its
  // tooltip.
  void differencesGroupFollowsTheExamples() {
    QComboBox* examples = window->examples();
    const int heading = static_cast<int>(orvo::ExampleCatalogue::count()) + 1;
    QCOMPARE(examples->itemText(heading), QStringLiteral("Differences from standard C"));
    const int first = heading + 1;
    QCOMPARE(examples->count(), first + 8);
    QCOMPARE(examples->itemText(first), QStringLiteral("A macro counts 1 in #if"));
    QCOMPARE(examples->itemData(first, Qt::ToolTipRole).toString(),
             QStringLiteral("V is 5, yet #if V > 3 takes the #else branch here"));
    window->pickExample(first);
    QCOMPARE(window->input()->bytes(),
             QByteArray("#define V 5\r\n#if V > 3\r\nbig\r\n#else\r\nsmall\r\n#endif\r\n"));
  }

  void preprocessingAnExampleFillsTheOutput_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(orvo::ExampleCatalogue::count()); ++i) {
      QTest::newRow(orvo::ExampleCatalogue::name(i)) << i;
    }
  }
  void preprocessingAnExampleFillsTheOutput() {
    QFETCH(int, index);
    window->pickExample(index);
    window->findChild<QAction*>(QStringLiteral("ac_Execute"))->trigger();
    QVERIFY(window->messages.isEmpty());
    QVERIFY(!window->output()->text().trimmed().isEmpty());
  }

  void emptyInputGivesEmptyOutputAndNoMessage() {
    window->output()->setText(QStringLiteral("earlier output"));
    window->input()->clear();
    window->ac_ExecuteExecute();
    QVERIFY(window->messages.isEmpty());
    QVERIFY(window->output()->text().isEmpty());
  }

  // Non-ASCII text and CR LF line ends in front of the error make the
  // engine's byte offsets differ from the area's character positions.
  void syntaxErrorShowsOneMessageAndMarksTheLastToken_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("unterminated comment") << QStringLiteral("int \u00e4\u20ac = 1;\n/* x");
    QTest::newRow("unknown directive") << QStringLiteral("char* s = \"\U0001F600\";\n#foo");
  }
  void syntaxErrorShowsOneMessageAndMarksTheLastToken() {
    QFETCH(QString, input);
    window->output()->setText(QStringLiteral("earlier output"));
    setText(window->input(), input);
    window->ac_ExecuteExecute();

    QCOMPARE(window->messages.size(), 1);
    QCOMPARE(window->messages.front().caption, QStringLiteral("orvo"));
    QVERIFY(!window->messages.front().text.isEmpty());
    // The last output stays, marked stale.
    QCOMPARE(window->output()->text(), QStringLiteral("earlier output"));
    QVERIFY(window->outputMarkedStale());

    // The selection holds exactly the bytes the engine names.
    const std::string bytes = window->input()->bytes().toStdString();
    QVERIFY(bytes.find("\r\n") != std::string::npos);
    const orvo::RunResult direct = orvo::runPreprocessor(bytes, {});
    QVERIFY(!direct.ok());
    QVERIFY(direct.error->hasPosition());
    // The first line is the error; its notes follow on lines of their own.
    QVERIFY(window->messages.front().text.section(QLatin1Char('\n'), 0, 0).endsWith(
        QString::fromUtf8(direct.error->text)));
    QVERIFY(window->messages.front().text.startsWith(QStringLiteral("line ")));
    const std::string token = bytes.substr(direct.error->begin,
                                           direct.error->end - direct.error->begin);
    QCOMPARE(window->input()->selectedText(), QString::fromUtf8(token));
    QCOMPARE(window->input()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART),
             static_cast<long>(direct.error->begin));
  }

  // A resize keeps the split the user chose in proportion (within a pixel
  // of rounding), however the window grows or shrinks, in both arrangements.
  void resizeKeepsTheSplitInProportion_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QSize>("size");
    QTest::newRow("above, smaller") << false << QSize(700, 480);
    QTest::newRow("above, taller") << false << QSize(700, 860);
    QTest::newRow("beside, narrower") << true << QSize(760, 600);
    QTest::newRow("beside, wider") << true << QSize(1300, 600);
  }
  void resizeKeepsTheSplitInProportion() {
    QFETCH(bool, sideBySide);
    QFETCH(QSize, size);
    window->action("ac_SideBySide")->setChecked(sideBySide);
    auto* splitter = window->findChild<QSplitter*>(QStringLiteral("Splitter"));
    QCOMPARE(splitter->orientation(), sideBySide ? Qt::Horizontal : Qt::Vertical);
    const int room = splitter->sizes()[0] + splitter->sizes()[1];
    // Two fifths for the input: more than its least readable size in every row.
    const int input = room * 2 / 5;
    splitter->setSizes({input, room - input});
    const double dragged = static_cast<double>(splitter->sizes()[0]) / room;
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    const QList<int> sizes = splitter->sizes();
    const double share = static_cast<double>(sizes[0]) / (sizes[0] + sizes[1]);
    QVERIFY2(std::abs(share - dragged) < 0.01, qPrintable(QString::number(share)));
    QVERIFY(window->output()->geometry().bottom() <
            window->findChild<QWidget*>(QStringLiteral("StatusBar1"))->geometry().top());
  }

  void openedFileDirectoryIsSearchedForIncludes() {
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(first.isValid() && second.isValid());
    const QString mainPath = first.filePath(QStringLiteral("main.c"));
    QVERIFY(writeAll(mainPath, "#include \"beside.h\"\r\nint after;\r\n"));
    QVERIFY(writeAll(first.filePath(QStringLiteral("beside.h")), "int from_beside;\r\n"));

    window->nextOpenPath = mainPath;
    window->findChild<QAction*>(QStringLiteral("mni_Open"))->trigger();
    QCOMPARE(QString::fromStdString(window->inputDir()), first.path());
    // The editor holds the file's text with CR LF line ends.
    QCOMPARE(window->input()->bytes(), QByteArray("#include \"beside.h\"\r\nint after;\r\n"));

    window->ac_ExecuteExecute();
    QVERIFY(window->messages.isEmpty());
    QVERIFY(window->output()->text().contains(QStringLiteral("from_beside")));

    // A second file from another directory replaces the directory.
    const QString otherPath = second.filePath(QStringLiteral("other.c"));
    QVERIFY(writeAll(otherPath, "int other;"));
    window->nextOpenPath = otherPath;
    window->ac_openExecute();
    QCOMPARE(QString::fromStdString(window->inputDir()), second.path());
  }

  void failedOrCancelledOpenKeepsTheWindowAsItWas() {
    QTemporaryDir dir;
    window->nextOpenPath = dir.filePath(QStringLiteral("main.c"));
    QVERIFY(writeAll(window->nextOpenPath, "int a;"));
    window->ac_openExecute();
    window->input()->setText(QStringLiteral("kept"));

    window->nextOpenPath = dir.filePath(QStringLiteral("missing/none.c"));
    window->ac_openExecute();
    QCOMPARE(window->messages.size(), 1);
    QCOMPARE(window->messages.front().caption, QStringLiteral("orvo"));
    QVERIFY(window->messages.front().text.contains(QStringLiteral("none.c")));
    QCOMPARE(window->input()->text(), QStringLiteral("kept"));
    QCOMPARE(QString::fromStdString(window->inputDir()), dir.path());

    window->nextOpenPath.clear();
    window->ac_openExecute();
    QCOMPARE(window->messages.size(), 1);
    QCOMPARE(window->input()->text(), QStringLiteral("kept"));
  }

  void openKeepsTheBytesOfAFileThatIsNotUtf8() {
    QTemporaryDir dir;
    window->nextOpenPath = dir.filePath(QStringLiteral("latin1.c"));
    QVERIFY(writeAll(window->nextOpenPath, "char c = '\xe4';"));
    window->ac_openExecute();
    QCOMPARE(window->input()->text(), QStringLiteral("char c = '\u00e4';"));
    QCOMPARE(window->input()->bytes(), QByteArray("char c = '\xe4';"));
  }

  // Save writes the output of the input as it is (preprocessing it first).
  void saveEndsEveryLineWithCrLf_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("empty output") << QString() << QByteArray();
    QTest::newRow("one line") << QStringLiteral("x") << QByteArray("x\r\n");
    QTest::newRow("trailing break") << QStringLiteral("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("blank lines") << QStringLiteral("\n\na") << QByteArray("\r\n\r\na\r\n");
    QTest::newRow("utf-8") << QStringLiteral("\u00e4\U0001F600") << QByteArray("\xc3\xa4\xf0\x9f\x98\x80\r\n");
  }
  void saveEndsEveryLineWithCrLf() {
    QFETCH(QString, output);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    window->nextSavePath = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(writeAll(window->nextSavePath, "old content"));
    window->input()->setText(output);
    window->findChild<QAction*>(QStringLiteral("mni_Save"))->trigger();
    QVERIFY(window->messages.isEmpty());
    QCOMPARE(readAll(window->nextSavePath), saved);
  }

  void failedSaveShowsAMessage() {
    QTemporaryDir dir;
    window->nextSavePath = dir.filePath(QStringLiteral("missing/out.txt"));
    window->input()->setText(QStringLiteral("x"));
    window->ac_SaveExecute();
    QCOMPARE(window->messages.size(), 1);
    QCOMPARE(window->messages.front().caption, QStringLiteral("orvo"));
    QVERIFY(window->messages.front().text.contains(QStringLiteral("out.txt")));
    QCOMPARE(window->output()->text(), QStringLiteral("x"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "window_main_window_test.moc"
