// Saving writes the output of the input as it is now and never a stale or
// partial file; an error keeps the last output marked stale; files open in
// linear time and panels show text as the editors do.
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <sys/resource.h>
#include <unistd.h>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/MacroHoverTips.h"
#include "app/MacrosPanel.h"
#include "app/SafeSave.h"
#include "files/SafeFileWrite.h"

namespace {

// Writes through the real writer under a file-size limit of a few bytes,
// as on a device that fills up: the writer meets the failure halfway.
std::optional<std::string> writeOnAFullDevice(const std::string& path, std::string_view bytes) {
  constexpr rlim_t kRoomLeft = 3;
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  const auto previousAction = std::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{kRoomLeft, previous.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  std::optional<std::string> failure = orvo::files::writeFileSafely(path, bytes);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousAction);
  return failure;
}

}  // namespace

class SavingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;
  QTemporaryDir dir;

  void setInput(const char* text) {
    window->input()->setBytes(text, orvo::TextEncoding::Utf8);
  }
  bool markedStale() const { return window->outputMarkedStale(); }

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() {
    window.reset();
    orvo::setFileWriter({});
  }

  // Save right after an edit, before the live preview ran, and with the
  // live preview off, writes the output of the input as it is now.
  void saveWritesTheOutputOfTheCurrentInput_data() {
    QTest::addColumn<bool>("live");
    QTest::newRow("live preview pending") << true;
    QTest::newRow("live preview off") << false;
  }
  void saveWritesTheOutputOfTheCurrentInput() {
    QFETCH(bool, live);
    window->action("ac_LiveMode")->setChecked(live);
    window->nextSavePath = dir.filePath(QStringLiteral("out.txt"));
    setInput("#define A 1\nA\n");
    window->action("ac_Execute")->trigger();
    setInput("#define A 2\nA\n");
    QCOMPARE(window->outputMarkedStale(), !live);  // with live on a run is coming
    window->action("ac_Save")->trigger();
    QCOMPARE(readAll(window->nextSavePath), QByteArray("2\r\n"));
    QVERIFY(!markedStale());
    QVERIFY(window->messages.isEmpty());
  }

  // While the input ends in an error, Save writes nothing and says where.
  void saveRefusesInputWithAnError() {
    window->action("ac_LiveMode")->setChecked(false);
    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    QVERIFY(writeAll(path, "old"));
    setInput("#define A 1\nA\n");
    window->action("ac_Execute")->trigger();
    window->nextSavePath = path;
    window->action("ac_Save")->trigger();
    setInput("int a;\n#define F(x) x\nF(1\n");
    window->action("ac_Save")->trigger();
    QCOMPARE(window->messages.size(), 1);
    QVERIFY(window->messages.front().text.startsWith(QStringLiteral("Nothing was saved")));
    QVERIFY2(window->messages.front().text.contains(QStringLiteral("line 3, column")),
             qPrintable(window->messages.front().text));
    QCOMPARE(readAll(path), QByteArray("1\r\n"));
    QVERIFY(markedStale());
    QVERIFY(window->input()->hasErrorMark());
  }

  // F5 on an error keeps the last output, marked stale, underlines the
  // place and names its line and column.
  void executeOnAnErrorKeepsTheOutputStale() {
    window->action("ac_LiveMode")->setChecked(false);
    setInput("#define A 1\nA\n");
    window->action("ac_Execute")->trigger();
    setInput("int a;\n  F(1\n#define F(x) x\nF(1\n");
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->output()->bytes(), QByteArray("1\r\n"));
    QVERIFY(markedStale());
    QVERIFY(window->input()->hasErrorMark());
    QCOMPARE(window->messages.size(), 1);
    QVERIFY2(window->messages.front().text.startsWith(QStringLiteral("line 4, column")),
             qPrintable(window->messages.front().text));
    QVERIFY(window->status().startsWith(QStringLiteral("line 4, column")));
  }

  // An error in an included file is named with the chain of includes.
  void executeNamesTheIncludeChain() {
    window->action("ac_LiveMode")->setChecked(false);
    QVERIFY(writeAll(dir.filePath(QStringLiteral("outer.h")), "#include \"inner.h\"\n"));
    QVERIFY(writeAll(dir.filePath(QStringLiteral("inner.h")), "\n#error broken here\n"));
    const QString main = dir.filePath(QStringLiteral("main.c"));
    QVERIFY(writeAll(main, "#include \"outer.h\"\n"));
    QVERIFY(window->openFile(main));
    window->action("ac_Execute")->trigger();
    QCOMPARE(window->messages.size(), 1);
    const QString text = window->messages.front().text;
    QVERIFY2(text.contains(QStringLiteral("inner.h:2:")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("included from")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("outer.h, line 1")), qPrintable(text));
  }

  // Output of another file or of input changed with the live preview off
  // is marked stale.
  void outputOfOtherInputIsMarkedStale() {
    window->action("ac_LiveMode")->setChecked(false);
    setInput("int a;\n");
    window->action("ac_Execute")->trigger();
    QVERIFY(!markedStale());
    const QString other = dir.filePath(QStringLiteral("other.c"));
    QVERIFY(writeAll(other, "int b;\n"));
    QVERIFY(window->openFile(other));
    QVERIFY(markedStale());
    window->action("ac_Execute")->trigger();
    QVERIFY(!markedStale());
  }

  // A save that fails on the device reports the reason, not "Saved", and
  // leaves the old file whole: for the output and for the input.
  void failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("output") << "ac_Save";
    QTest::newRow("input") << "ac_SaveInputAs";
  }
  void failedSaveKeepsTheOldFile() {
    QFETCH(QString, action);
    window->action("ac_LiveMode")->setChecked(false);
    QTemporaryDir own;
    const QString path = own.filePath(QStringLiteral("target.txt"));
    QVERIFY(writeAll(path, "the old file"));
    setInput("#define LONG a_long_enough_line_of_output\nLONG\n");
    orvo::setFileWriter(writeOnAFullDevice);
    window->nextSavePath = path;
    window->nextSaveInputPath = path;
    window->action(action.toLatin1().constData())->trigger();
    QCOMPARE(window->messages.size(), 1);
    QVERIFY2(window->messages.front().text.contains(QStringLiteral("File too large")),
             qPrintable(window->messages.front().text));
    QVERIFY(!window->statusBar()->currentMessage().startsWith(QStringLiteral("Saved")));
    QCOMPARE(readAll(path), QByteArray("the old file"));
    QCOMPARE(QDir(own.path()).entryList(QDir::Files), QStringList{QStringLiteral("target.txt")});
  }

  // A save writes into the file all its hard links share, as orvo-pp's -o
  // does: every name sees the new text.
  void saveKeepsHardLinksSharingTheFile() {
    window->action("ac_LiveMode")->setChecked(false);
    QTemporaryDir own;
    const QString path = own.filePath(QStringLiteral("target.txt"));
    const QString twin = own.filePath(QStringLiteral("twin.txt"));
    QVERIFY(writeAll(path, "the old file"));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(twin).constData()), 0);
    setInput("#define A new\nA\n");
    window->nextSavePath = path;
    window->action("ac_Save")->trigger();
    QVERIFY2(window->messages.isEmpty(), qPrintable(window->messages.value(0).text));
    QCOMPARE(readAll(twin), readAll(path));
    QVERIFY(readAll(twin).startsWith("new"));
  }

  // Line ends are converted before the text reaches the editor, in linear
  // time: 20,000 LF lines open well within half a second.
  void largeLfFileOpensQuickly() {
    window->action("ac_LiveMode")->setChecked(false);
    QByteArray text;
    for (int i = 0; i < 20000; ++i) text += "int variable_" + QByteArray::number(i) + " = 0;\n";
    const QString path = dir.filePath(QStringLiteral("lines.c"));
    QVERIFY(writeAll(path, text));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(window->openFile(path));
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed < 500, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    QCOMPARE(window->input()->lines(), 20001);
    QCOMPARE(window->input()->bytes().size(), text.size() + 20000);
  }

  // A Latin-1 file's macros show in the panels as in the editor.
  void panelsShowLatin1TextAsTheEditorDoes() {
    window->action("ac_LiveMode")->setChecked(false);
    const QString path = dir.filePath(QStringLiteral("latin1.c"));
    QVERIFY(writeAll(path, "#define S \"caf\xe9\"\nS\n"));
    QVERIFY(window->openFile(path));
    window->action("ac_Execute")->trigger();
    const QList<QTreeWidgetItem*> rows =
        window->findChild<orvo::MacrosPanel*>()->findItems(QStringLiteral("S"), Qt::MatchExactly);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.front()->text(orvo::MacrosPanel::kValueColumn), QStringLiteral("\"caf\u00e9\""));
    const int use = window->input()->bytes().lastIndexOf("S");
    QCOMPARE(window->findChild<orvo::MacroHoverTips*>()->tipAt(use).section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("#define S \"caf\u00e9\""));
  }

  // A dropped folder is refused once the drop is over, not inside it.
  void droppedFolderIsRefusedAfterTheDrop() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.path())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &dropped);
    QVERIFY(window->messages.isEmpty());
    QTRY_COMPARE(window->messages.size(), 1);
    QVERIFY(window->messages.front().text.contains(QStringLiteral("is a folder")));
  }
};

QTEST_MAIN(SavingTest)
#include "window_saving_test.moc"
