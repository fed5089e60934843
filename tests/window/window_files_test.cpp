#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"

namespace {

// Drops `urls` on `target` as a file manager would.
void drop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint place = target->rect().center();
  QDragEnterEvent enter(place, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent dropped(QPointF(place), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestableWindow> window;
  QTemporaryDir dir;

 private slots:
  void init() {
    useFreshSettings();
    window = std::make_unique<TestableWindow>();
    window->action("ac_LiveMode")->setChecked(false);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() { window.reset(); }

  // Open, preprocess and save keep every byte: UTF-8 and Latin-1 text pass
  // through unchanged, and line ends become CR LF.
  void bytesSurviveOpenPreprocessAndSave_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("crlf") << QByteArray("#define A x\r\nA\r\n") << QByteArray("x\r\n");
    QTest::newRow("lf") << QByteArray("#define A x\nA\n") << QByteArray("x\r\n");
    QTest::newRow("utf-8") << QByteArray("#define S \"\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\"\nS\n")
                           << QByteArray("\"\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\"\r\n");
    QTest::newRow("latin-1") << QByteArray("#define S \"caf\xe9\"\n// \xff\nS\n")
                             << QByteArray(" \r\n\"caf\xe9\"\r\n");
  }
  void bytesSurviveOpenPreprocessAndSave() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    const QString input = dir.filePath(QStringLiteral("in.c"));
    const QString output = dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(writeAll(input, file));
    window->nextOpenPath = input;
    window->action("ac_open")->trigger();
    QByteArray held = file;
    held.replace("\r\n", "\n").replace("\n", "\r\n");
    QCOMPARE(window->input()->bytes(), held);

    window->action("ac_Execute")->trigger();
    QVERIFY(window->messages.isEmpty());
    window->nextSavePath = output;
    window->action("ac_Save")->trigger();
    QCOMPARE(readAll(output), saved);
    QCOMPARE(readAll(input), file);  // the input file is never written
  }

  // Save asks once and then writes to the same file; Save As always asks.
  void saveRemembersItsFileAndSaveAsAsks() {
    const QString first = dir.filePath(QStringLiteral("first.txt"));
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    window->input()->setText(QStringLiteral("one"));
    window->nextSavePath = first;
    window->action("ac_Save")->trigger();
    window->nextSavePath.clear();  // a dialog now would cancel
    window->input()->setText(QStringLiteral("two"));
    window->action("ac_Save")->trigger();
    QCOMPARE(readAll(first), QByteArray("two\r\n"));

    window->action("ac_SaveAs")->trigger();  // cancelled: nothing written
    window->nextSavePath = second;
    window->action("ac_SaveAs")->trigger();
    QCOMPARE(readAll(second), QByteArray("two\r\n"));
    QVERIFY(window->messages.isEmpty());
  }

  // A file dropped on the window or on either editor is opened like Open;
  // a text drop still inserts text.
  void droppedFileIsOpened_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("window") << "frm_orvo";
    QTest::newRow("input editor") << "memo_Input";
    QTest::newRow("output editor") << "memo_Output";
  }
  void droppedFileIsOpened() {
    QFETCH(QString, target);
    const QString path = dir.filePath(QStringLiteral("dropped.c"));
    QVERIFY(writeAll(path, "int dropped;\n"));
    QWidget* widget = target == QLatin1String("frm_orvo")
                          ? static_cast<QWidget*>(window.get())
                          : window->findChild<orvo::CodeEditor*>(target)->viewport();
    drop(widget, {QUrl(QStringLiteral("https://example.org/x.c")), QUrl::fromLocalFile(path)});
    // Opened once the drop is over.
    QTRY_COMPARE(window->input()->bytes(), QByteArray("int dropped;\r\n"));
    QCOMPARE(QString::fromStdString(window->inputDir()), dir.path());
    QVERIFY(window->messages.isEmpty());
  }
};

QTEST_MAIN(FilesTest)
#include "window_files_test.moc"
