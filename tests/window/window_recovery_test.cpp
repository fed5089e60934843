// Typed work survives the window's death: unsaved input goes to a recovery
// file a few seconds after each change, a save or a clean close removes it,
// and the next start offers back what a killed window left.
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "TestableWindow.h"
#include "app/RecoveryFile.h"
#include "app/RecoveryRecord.h"

namespace {

// A window writes within RecoveryFile::kDelayMs; a loaded machine may add
// a few seconds.
constexpr int kWriteTimeoutMs = 15000;

QStringList recoveryFiles() {
  return QDir(orvo::RecoveryFile::directory())
      .entryList({QStringLiteral("*.recovery")}, QDir::Files);
}

std::optional<orvo::RecoveryRecord> onlyRecord() {
  const QStringList files = recoveryFiles();
  if (files.size() != 1) return std::nullopt;
  return orvo::RecoveryRecord::decode(
      readAll(QDir(orvo::RecoveryFile::directory()).filePath(files.front())));
}

void removeRecoveryFiles() {
  QDir(orvo::RecoveryFile::directory()).removeRecursively();
}

}  // namespace

class RecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    useFreshSettings();
    removeRecoveryFiles();
  }

  void recordKeepsTextAndOwner_data() {
    QTest::addColumn<int>("kind");  // 0 untitled, 1 example, 2 file
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("latin1");
    QTest::addColumn<QString>("owner");
    QTest::newRow("untitled") << 0 << QString() << QByteArray("#if (1\r\n") << false
                              << "untitled input";
    QTest::newRow("example") << 1 << "object_like1" << QByteArray("x\r\n\r\n") << false
                             << "the example object_like1";
    // A path with a line break and a percent sign, text with every byte
    // value and a blank line of its own.
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte) everyByte.append(char(byte));
    QTest::newRow("file") << 2 << "/tmp/a b\n%41.c" << ("\r\n\r\n" + everyByte) << true
                          << "/tmp/a b\n%41.c";
  }

  void recordKeepsTextAndOwner() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(bool, latin1);
    QFETCH(QString, owner);
    orvo::RecoveryRecord record;
    if (kind == 1) record.document = orvo::InputDocument::example(name);
    if (kind == 2) record.document = orvo::InputDocument::file(name, orvo::LineEndStyle::Lf);
    record.encoding = latin1 ? orvo::TextEncoding::Latin1 : orvo::TextEncoding::Utf8;
    record.text = text;
    record.kept = QDateTime(QDate(2026, 12, 11), QTime(10, 31, 5), Qt::UTC);
    const QByteArray bytes = record.encode();

    const std::optional<orvo::RecoveryRecord> back = orvo::RecoveryRecord::decode(bytes);
    QVERIFY(back);
    QCOMPARE(back->text, text);
    QCOMPARE(back->document.kind(), record.document.kind());
    QCOMPARE(back->document.path(), record.document.path());
    QCOMPARE(back->document.lineEnds(), record.document.lineEnds());
    QCOMPARE(back->encoding, record.encoding);
    QCOMPARE(back->kept, record.kept);
    QCOMPARE(back->owner(), owner);
    // A file cut short (or any other file) is not taken for one.
    QVERIFY(!orvo::RecoveryRecord::decode(bytes.chopped(1)));
    QVERIFY(!orvo::RecoveryRecord::decode(bytes.mid(1)));
  }

  // Kept a moment after typing, again after more typing, gone after a save;
  // kept again after an edit, gone after a clean close.
  void unsavedInputIsKeptUntilSavedOrClosed() {
    QTemporaryDir dir;
    auto window = std::make_unique<TestableWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(recoveryFiles().isEmpty());
    window->input()->setFocus();
    window->input()->selectAll();
    QTest::keyClicks(window->input(), "#define A 1");
    QTRY_VERIFY_WITH_TIMEOUT(onlyRecord() && onlyRecord()->text == "#define A 1", kWriteTimeoutMs);
    QCOMPARE(onlyRecord()->document.kind(), orvo::InputDocument::Kind::Welcome);
    QTest::keyClicks(window->input(), "23");
    QTRY_VERIFY_WITH_TIMEOUT(onlyRecord() && onlyRecord()->text == "#define A 123",
                             kWriteTimeoutMs);

    window->nextSaveInputPath = dir.filePath(QStringLiteral("a.c"));
    window->action("ac_SaveInput")->trigger();
    QCOMPARE(readAll(window->nextSaveInputPath), QByteArray("#define A 123"));
    QTRY_VERIFY(recoveryFiles().isEmpty());

    QTest::keyClicks(window->input(), "4");
    QTRY_VERIFY_WITH_TIMEOUT(onlyRecord() && onlyRecord()->text == "#define A 1234",
                             kWriteTimeoutMs);
    QCOMPARE(onlyRecord()->document.path(), QFileInfo(window->nextSaveInputPath).absoluteFilePath());
    window->nextSaveChoice = TestableWindow::SaveChoice::Discard;
    QVERIFY(window->close());
    window.reset();
    QVERIFY(recoveryFiles().isEmpty());
  }

  // A file whose window is gone is offered with its owner named; each answer
  // does what it says, and a restored text stays unsaved.
  void leftOverInputIsOffered_data() {
    QTest::addColumn<int>("choice");  // TestableWindow::RestoreChoice
    QTest::addColumn<bool>("restored");
    QTest::addColumn<bool>("fileLeft");
    QTest::newRow("restore") << int(TestableWindow::RestoreChoice::Restore) << true << false;
    QTest::newRow("discard") << int(TestableWindow::RestoreChoice::Discard) << false << false;
    QTest::newRow("later") << int(TestableWindow::RestoreChoice::Later) << false << true;
  }

  void leftOverInputIsOffered() {
    QFETCH(int, choice);
    QFETCH(bool, restored);
    QFETCH(bool, fileLeft);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("lost.c"));
    QVERIFY(writeAll(source, "int saved;\n"));
    orvo::RecoveryRecord record;
    record.document = orvo::InputDocument::file(source, orvo::LineEndStyle::Lf);
    record.text = "int saved;\r\nint typed;\r\n";
    record.kept = QDateTime::currentDateTimeUtc();
    // As a window killed before it could remove its lock leaves it: no lock.
    QVERIFY(QDir().mkpath(orvo::RecoveryFile::directory()));
    const QString left = QDir(orvo::RecoveryFile::directory()).filePath("input-x.recovery");
    QVERIFY(writeAll(left, record.encode()));

    TestableWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.nextRestoreChoice = TestableWindow::RestoreChoice(choice);
    window.offerRecovery();
    QCOMPARE(window.askedToRestore, QStringList{QDir::toNativeSeparators(source)});
    QCOMPARE(window.input()->bytes() == record.text, restored);
    QCOMPARE(QFileInfo::exists(left), fileLeft);
    if (restored) {
      QVERIFY(window.input()->isModified());
      QCOMPARE(window.windowTitle(), QStringLiteral("*lost.c — orvo"));
      // Undo shows what the file holds; Redo the kept text again.
      window.input()->undo();
      QCOMPARE(window.input()->bytes(), QByteArray("int saved;\r\n"));
      window.input()->redo();
      QCOMPARE(window.input()->bytes(), record.text);
      // Saving writes to the file it came from, with its line ends.
      window.action("ac_SaveInput")->trigger();
      QCOMPARE(readAll(source), QByteArray("int saved;\nint typed;\n"));
    }
  }

  // A running window's file is its own: another start does not offer it.
  void runningWindowsFileIsNotOffered() {
    TestableWindow first;
    first.input()->selectAll();
    QTest::keyClicks(first.input(), "kept by the first window");
    QTRY_VERIFY_WITH_TIMEOUT(onlyRecord(), kWriteTimeoutMs);
    TestableWindow second;
    second.nextRestoreChoice = TestableWindow::RestoreChoice::Discard;
    second.offerRecovery();
    QVERIFY(second.askedToRestore.isEmpty());
    QVERIFY(onlyRecord());
    // The lock of a window that died with nothing unsaved goes; the running
    // window's own stays.
    const QString deadLock = QDir(orvo::RecoveryFile::directory()).filePath("input-dead.lock");
    QVERIFY(writeAll(deadLock, "2147483646\n" + QCoreApplication::applicationName().toUtf8() +
                                   "\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    second.offerRecovery();
    QVERIFY(!QFileInfo::exists(deadLock));
    QCOMPARE(QDir(orvo::RecoveryFile::directory())
                 .entryList({QStringLiteral("*.lock")}, QDir::Files)
                 .size(),
             2);  // one for each window
  }

  // The real program, killed with SIGKILL after typing, offers the typed
  // text at its next start, and Restore puts it back.
  void killedProgramOffersTypedTextBack() {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/orvo");
    QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));
    QTemporaryDir home;
    const QString report = home.filePath(QStringLiteral("report.json"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ORVO_TEST_PLUGIN_DIR));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                       QStringLiteral("orvowindowdriver"));
    environment.insert(QStringLiteral("ORVO_DRIVER_REPORT"), report);
    const QString typed = QStringLiteral("#define TYPED 42 /* not saved */");
    const QDir state(home.filePath(QStringLiteral("state/orvo")));
    auto readReport = [&report] { return QJsonDocument::fromJson(readAll(report)).object(); };

    QProcess first;
    QProcessEnvironment typing = environment;
    typing.insert(QStringLiteral("ORVO_DRIVER_TYPE"), typed);
    first.setProcessEnvironment(typing);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(readReport().value("typed").toString(), typed, kWriteTimeoutMs);
    auto kept = [&state, &typed] {
      const QStringList files = state.entryList({QStringLiteral("*.recovery")}, QDir::Files);
      if (files.size() != 1) return false;
      const auto record = orvo::RecoveryRecord::decode(readAll(state.filePath(files.front())));
      return record && record->text == typed.toUtf8();
    };
    QTRY_VERIFY_WITH_TIMEOUT(kept(), kWriteTimeoutMs);
    first.kill();  // SIGKILL: no handler, no clean-up runs
    QVERIFY(first.waitForFinished());
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);
    QVERIFY(kept());

    QFile::remove(report);
    QProcess second;
    QProcessEnvironment answering = environment;
    answering.insert(QStringLiteral("ORVO_DRIVER_ANSWER"), QStringLiteral("restore"));
    second.setProcessEnvironment(answering);
    second.start(program, {});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(readReport().value("input").toString(), typed, kWriteTimeoutMs);
    const QJsonObject seen = readReport();
    QVERIFY2(seen.value("question").toString().contains("untitled input"),
             qPrintable(seen.value("question").toString()));
    QCOMPARE(seen.value("title").toString(), QStringLiteral("*Untitled — orvo"));
    second.kill();
    QVERIFY(second.waitForFinished());
  }
};

QTEST_MAIN(RecoveryTest)
#include "window_recovery_test.moc"
