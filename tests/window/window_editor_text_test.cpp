#include <QTextDocument>
#include <QtTest>
#include <string>

#include "app/EditorText.h"

Q_DECLARE_METATYPE(std::string)

namespace {

QString fromBytes(const char* bytes) { return QString::fromUtf8(bytes); }

}  // namespace

class EditorTextTest : public QObject {
  Q_OBJECT

 private slots:
  void bytesAndLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<std::string>("lines");
    QTest::newRow("empty") << QString() << std::string() << std::string();
    QTest::newRow("one line") << QStringLiteral("ab") << std::string("ab") << std::string("ab\r\n");
    QTest::newRow("crlf stays one break") << QStringLiteral("a\r\nb") << std::string("a\r\nb")
                                          << std::string("a\r\nb\r\n");
    QTest::newRow("trailing break") << QStringLiteral("a\n") << std::string("a\r\n")
                                    << std::string("a\r\n");
    QTest::newRow("only a break") << QStringLiteral("\n") << std::string("\r\n")
                                  << std::string("\r\n");
    QTest::newRow("utf-8") << fromBytes("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80")
                           << std::string("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80")
                           << std::string("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\r\n");
    QTest::newRow("soft line break") << QStringLiteral("a\u2028b") << std::string("a\r\nb")
                                     << std::string("a\r\nb\r\n");
  }
  void bytesAndLines() {
    QFETCH(QString, text);
    QFETCH(std::string, bytes);
    QFETCH(std::string, lines);
    QTextDocument document;
    document.setPlainText(text);
    const orvo::EditorText editorText(document);
    QCOMPARE(editorText.bytes(), bytes);
    QCOMPARE(editorText.lines(), lines);
  }

  // Text "a" CR LF "ä€😀" CR LF "z": bytes 0 a, 1-2 CR LF, 3-4 ä, 5-7 €,
  // 8-11 😀, 12-13 CR LF, 14 z. Positions: a 0, break 1, ä 2, € 3, 😀 4-5,
  // break 6, z 7, end 8.
  void byteOffsetsMapToCursorPositions_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("start");  // positionOf
    QTest::addColumn<int>("after");  // positionAfter
    QTest::newRow("text start") << 0 << 0 << 0;
    QTest::newRow("after a") << 1 << 1 << 1;
    QTest::newRow("between CR and LF") << 2 << 1 << 2;
    QTest::newRow("at the two-byte letter") << 3 << 2 << 2;
    QTest::newRow("inside the two-byte letter") << 4 << 2 << 3;
    QTest::newRow("at the euro sign") << 5 << 3 << 3;
    QTest::newRow("inside the euro sign") << 7 << 3 << 4;
    QTest::newRow("at the non-BMP character") << 8 << 4 << 4;
    QTest::newRow("inside the non-BMP character") << 10 << 4 << 6;
    QTest::newRow("at z") << 14 << 7 << 7;
    QTest::newRow("text end") << 15 << 8 << 8;
    QTest::newRow("before the text") << -3 << 0 << 0;
    QTest::newRow("beyond the text") << 99 << 8 << 8;
  }
  void byteOffsetsMapToCursorPositions() {
    QFETCH(int, offset);
    QFETCH(int, start);
    QFETCH(int, after);
    QTextDocument document;
    document.setPlainText(fromBytes("a\r\n\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\r\nz"));
    const orvo::EditorText editorText(document);
    QCOMPARE(editorText.bytes().size(), std::size_t{15});
    QCOMPARE(editorText.positionOf(offset), start);
    QCOMPARE(editorText.positionAfter(offset), after);
  }

  void emptyTextMapsEverythingToZero() {
    QTextDocument document;
    const orvo::EditorText editorText(document);
    for (int offset : {-1, 0, 1}) {
      QCOMPARE(editorText.positionOf(offset), 0);
      QCOMPARE(editorText.positionAfter(offset), 0);
    }
  }
};

QTEST_MAIN(EditorTextTest)
#include "window_editor_text_test.moc"
