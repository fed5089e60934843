// A result line too long to lay out quickly is shown cut, with a note that
// says how much is left out and how to see it, so the window never freezes
// over standard C's result.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <string>

#include "TestableWindow.h"
#include "app/LongLineCut.h"
#include "app/StandardPane.h"

class LongResultLineTest : public QObject {
  Q_OBJECT

 private slots:
  void cutKeepsLinesAndSaysWhatIsLeftOut_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("shown");
    const std::size_t limit = orvo::kLongestShownLine;
    const QByteArray longest(static_cast<qsizetype>(limit), 'x');
    QTest::newRow("short lines") << QByteArray("a\r\nb\n\nc") << QByteArray("a\r\nb\n\nc");
    QTest::newRow("exactly the limit") << longest + "\r\n" << longest + "\r\n";
    QTest::newRow("one byte over, CR LF kept")
        << "a\r\n" + longest + "y\r\nb" << "a\r\n" + longest + "[1 left]\r\nb";
    QTest::newRow("last line without a line end")
        << longest + QByteArray(1234567, 'z') << longest + "[1,234,567 left]";
    // Two-byte characters: the cut falls before the one it would split.
    QByteArray wide;
    for (std::size_t i = 0; i < limit; ++i) wide += "\xc3\xa9";
    QTest::newRow("UTF-8 character kept whole")
        << "a" + wide + "\n"
        << "a" + wide.left(static_cast<qsizetype>(limit) - 2) + "[16,386 left]\n";
  }

  void cutKeepsLinesAndSaysWhatIsLeftOut() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, shown);
    const std::string cut = orvo::cutLongLines(text.toStdString(), "[%1 left]");
    QCOMPARE(QByteArray::fromStdString(cut), shown);
  }

  // Standard C's result of 19 levels of doubling is one line of a megabyte
  // (the main engine stops at its rescan limit): the pane shows its start
  // and the note, on the same one line.
  void standardPaneShowsAMegabyteLineCut() {
    useFreshSettings();
    TestableWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* pane = window.findChild<orvo::StandardPane*>();
    QSignalSpy compared(pane, &orvo::StandardPane::compared);
    window.action("ac_StandardPane")->trigger();
    QVERIFY(compared.wait(20000));
    std::string input = "#define D(x) x x\r\n";
    for (int level = 0; level < 19; ++level) input += "D(";
    input += "1";
    for (int level = 0; level < 19; ++level) input += ")";
    compared.clear();
    window.input()->setBytes(input, orvo::TextEncoding::Utf8);
    QVERIFY(compared.wait(60000));
    QElapsedTimer shown;
    shown.start();
    QTest::qWait(0);  // the pane lays its text out for painting
    const orvo::CodeEditor* standard = pane->standardOutput();
    QCOMPARE(standard->lines(), 2);  // the line and the empty one after its line end
    const QString line = standard->text(0).trimmed();
    QVERIFY2(line.size() < 2 * static_cast<int>(orvo::kLongestShownLine), qPrintable(line.right(200)));
    // 2^19 ones with blanks between them: 1,048,575 bytes, 16,384 shown.
    QVERIFY2(line.endsWith(QStringLiteral(" … [1,032,191 more bytes of this line are not shown here, "
                                          "so that the window stays quick; orvo-pp --standard FILE "
                                          "writes the whole result]")),
             qPrintable(line.right(200)));
    QVERIFY2(shown.elapsed() < 1000, qPrintable(QString::number(shown.elapsed())));
  }
};

QTEST_MAIN(LongResultLineTest)
#include "window_long_result_line_test.moc"
