#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>
#include <string>

#include "app/CodeEditor.h"

Q_DECLARE_METATYPE(std::string)

class CodeEditorTest : public QObject {
  Q_OBJECT

 private slots:
  // The bytes go in and come out unchanged (NUL bytes too), apart from line
  // ends, which become CR LF; a file's lines all end in CR LF.
  void keepsBytesAndWritesLines_data() {
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("held");
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("empty") << QByteArray() << 0 << QByteArray() << QByteArray();
    QTest::newRow("one line") << QByteArray("ab") << 0 << QByteArray("ab") << QByteArray("ab\r\n");
    QTest::newRow("lf and lone cr become crlf")
        << QByteArray("a\nb\rc\r\n") << 0 << QByteArray("a\r\nb\r\nc\r\n")
        << QByteArray("a\r\nb\r\nc\r\n");
    QTest::newRow("only a break") << QByteArray("\n") << 0 << QByteArray("\r\n")
                                  << QByteArray("\r\n");
    QTest::newRow("utf-8") << QByteArray("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80") << 0
                           << QByteArray("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80")
                           << QByteArray("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\r\n");
    QTest::newRow("latin-1") << QByteArray("caf\xe9\xff") << 1 << QByteArray("caf\xe9\xff")
                             << QByteArray("caf\xe9\xff\r\n");
    QTest::newRow("nul byte") << QByteArray("a\0b", 3) << 0 << QByteArray("a\0b", 3)
                              << QByteArray("a\0b\r\n", 5);
  }
  void keepsBytesAndWritesLines() {
    QFETCH(QByteArray, given);
    QFETCH(int, encoding);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, lines);
    QCOMPARE(static_cast<int>(orvo::encodingOf(given)), encoding);
    orvo::CodeEditor editor;
    editor.setBytes(std::string_view(given.constData(), given.size()), orvo::encodingOf(given));
    QCOMPARE(editor.bytes(), held);
    QCOMPARE(editor.fileLines(), lines);
  }

  // Text "a" CR LF "ä€😀" CR LF "z": bytes 0 a, 1-2 CR LF, 3-4 ä, 5-7 €,
  // 8-11 😀, 12-13 CR LF, 14 z. A byte range is widened to the characters
  // it touches.
  void selectsWholeCharactersForByteRanges_data() {
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::newRow("one ascii byte") << 0 << 1 << 0 << 1;
    QTest::newRow("the line break") << 1 << 3 << 1 << 3;
    QTest::newRow("between cr and lf") << 2 << 2 << 1 << 3;
    QTest::newRow("inside the two-byte letter") << 4 << 4 << 3 << 5;
    QTest::newRow("from inside ä into €") << 4 << 6 << 3 << 8;
    QTest::newRow("inside the non-bmp character") << 9 << 10 << 8 << 12;
    QTest::newRow("z") << 14 << 15 << 14 << 15;
    QTest::newRow("text end") << 15 << 15 << 15 << 15;
    QTest::newRow("outside the text") << -3 << 99 << 0 << 15;
  }
  void selectsWholeCharactersForByteRanges() {
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(int, start);
    QFETCH(int, stop);
    orvo::CodeEditor editor;
    editor.setBytes("a\r\n\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\r\nz", orvo::TextEncoding::Utf8);
    editor.selectBytes(begin, end);
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART), long{start});
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), long{stop});
  }

  // A place that shows nothing (the line break a parse stopped after)
  // moves to the text that follows, up to the end of its line.
  void visiblePlaceOfAByteRange_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::newRow("a token stays") << QByteArray("ab\r\n#foo x\r\n") << 0 << 2 << 0 << 2;
    QTest::newRow("a line break moves on") << QByteArray("ab\r\n#foo x\r\n") << 2 << 4 << 4 << 10;
    QTest::newRow("over blank lines") << QByteArray("a \r\n\r\n  #foo\r\n") << 1 << 4 << 8 << 12;
    QTest::newRow("at the end it stays") << QByteArray("ab\r\n  ") << 2 << 4 << 2 << 4;
  }
  void visiblePlaceOfAByteRange() {
    QFETCH(QByteArray, text);
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(int, start);
    QFETCH(int, stop);
    orvo::CodeEditor editor;
    editor.setBytes(text.toStdString(), orvo::TextEncoding::Utf8);
    QCOMPARE(editor.visiblePlace(begin, end), std::make_pair(start, stop));
  }

  // An error place always underlines at least one character, and the mark
  // follows the text when the user edits in front of it.
  void errorMarkCoversACharacterAndFollowsEdits() {
    orvo::CodeEditor editor;
    editor.setBytes("ab\r\n#x", orvo::TextEncoding::Utf8);
    editor.markError(6, 6, QStringLiteral("at the end"));
    QVERIFY(editor.hasErrorMark());
    QCOMPARE(editor.errorMark(), std::make_pair(5, 6));
    QCOMPARE(editor.errorMessage(), QStringLiteral("at the end"));
    QCOMPARE(editor.lineOfByte(5), 1);

    editor.markError(0, 0, QStringLiteral("at the start"));
    QCOMPARE(editor.errorMark(), std::make_pair(0, 1));
    editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 0UL, "xyz");
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_INDICATOREND, 8, 3), 4L);

    // Resting the mouse on the mark shows the message; elsewhere nothing.
    editor.resize(400, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const auto pointAt = [&editor](int position) {
      return QPoint(
          static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, long{position})) + 2,
          static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, long{position})) + 4);
    };
    QHelpEvent onMark(QEvent::ToolTip, pointAt(3), editor.viewport()->mapToGlobal(pointAt(3)));
    QApplication::sendEvent(editor.viewport(), &onMark);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("at the start"));
    QHelpEvent offMark(QEvent::ToolTip, pointAt(6), editor.viewport()->mapToGlobal(pointAt(6)));
    QApplication::sendEvent(editor.viewport(), &offMark);
    QTRY_VERIFY(QToolTip::text().isEmpty());

    editor.clearErrorMark();
    QVERIFY(!editor.hasErrorMark());
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8, 3), 0L);
  }
};

QTEST_MAIN(CodeEditorTest)
#include "window_code_editor_test.moc"
