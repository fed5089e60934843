// Lining up two results by input line, and telling lines that differ by
// their tokens from lines that differ by blanks alone.
#include <QtTest>

#include "orvo/OutputAlignment.h"

namespace {

// A line map from (file, first line) pairs; file -1 for a line no input line wrote.
orvo::RunExplanation mapOf(std::vector<std::string> files, const std::vector<std::pair<int, int>>& origins) {
  orvo::RunExplanation explanation;
  explanation.files = std::move(files);
  for (const auto& [file, line] : origins) explanation.lineMap.push_back(orvo::LineOrigin{file, line, line});
  return explanation;
}

}  // namespace

class OutputAlignmentTest : public QObject {
  Q_OBJECT

 private slots:
  void tokensDecideWhetherLinesDiffer_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("blanks between tokens") << "int  x ;" << "int x;" << true;
    QTest::newRow("parentheses spaced") << "( ( a ) )" << "((a))" << true;
    QTest::newRow("blank lines") << "" << "   \t" << true;
    QTest::newRow("a comment is a blank") << "x = 1; // macro \"F\" passed 2 arguments" << "x = 1;" << true;
    QTest::newRow("names run together") << "intx;" << "int x;" << false;
    QTest::newRow("two pluses or one increment") << "a + + b" << "a ++ b" << false;
    QTest::newRow("blanks inside a literal") << "\"a b\"" << "\"a  b\"" << false;
    QTest::newRow("a suffix") << "10UL" << "10 UL" << false;
  }
  void tokensDecideWhetherLinesDiffer() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(orvo::sameTokens(a.toStdString(), b.toStdString()), same);
  }

  void linesOfOneInputLineShareARow() {
    // orvo keeps a blank line for each of two directives; standard C
    // writes only the declaration of line 3 and the branch of line 4 that
    // orvo skipped, where orvo wrote line 6.
    const orvo::RunExplanation main = mapOf({"<input>"}, {{0, 1}, {0, 2}, {0, 3}, {0, 6}});
    const orvo::RunExplanation standard = mapOf({"<input>"}, {{0, 3}, {0, 4}});
    const orvo::OutputAlignment aligned =
        orvo::alignOutputs("\n\nint x;\nsmall\n", main, "int x;\nbig\n", standard);
    // Rows: blank, blank, int x | int x, (gap) | big, small | (gap), last | last.
    QCOMPARE(aligned.rows, 6);
    QCOMPARE(aligned.standard.gapAtTop, 2);
    QCOMPARE(aligned.main.rowOf, (std::vector<int>{0, 1, 2, 4, 5}));
    QCOMPARE(aligned.standard.rowOf, (std::vector<int>{2, 3, 5}));
    QCOMPARE(aligned.main.gapAfter, (std::vector<int>{0, 0, 1, 0, 0}));
    QCOMPARE(aligned.standard.gapAfter, (std::vector<int>{0, 1, 0}));
    // Blank lines beside gaps are no difference; each branch's line is one.
    QCOMPARE(aligned.main.differs, (std::vector<bool>{false, false, false, true, false}));
    QCOMPARE(aligned.standard.differs, (std::vector<bool>{false, true, false}));
  }

  void includedFilesMatchByPathWhateverTheirSpelling() {
    const orvo::RunExplanation main = mapOf({"<input>", "/usr/include/./stddef.h"}, {{1, 5}, {0, 2}});
    const orvo::RunExplanation standard = mapOf({"<input>", "/usr/include/stddef.h"}, {{1, 5}, {0, 2}});
    const orvo::OutputAlignment aligned = orvo::alignOutputs("a\nb", main, "a\nb", standard);
    QCOMPARE(aligned.rows, 2);
    QCOMPARE(aligned.main.rowOf, aligned.standard.rowOf);
  }

  void linesOutOfOrderStandApart() {
    // Pairs that would cross keep the longest run in order; the rest stand
    // beside gaps, and nothing is lost.
    const orvo::RunExplanation main = mapOf({"<input>"}, {{0, 1}, {0, 2}, {0, 3}});
    const orvo::RunExplanation standard = mapOf({"<input>"}, {{0, 3}, {0, 1}, {0, 2}});
    const orvo::OutputAlignment aligned = orvo::alignOutputs("a\nb\nc", main, "c\na\nb", standard);
    QCOMPARE(aligned.rows, 4);
    QCOMPARE(aligned.main.rowOf[0], aligned.standard.rowOf[1]);
    QCOMPARE(aligned.main.rowOf[1], aligned.standard.rowOf[2]);
    QVERIFY(aligned.main.rowOf[2] != aligned.standard.rowOf[0]);
  }
};

QTEST_MAIN(OutputAlignmentTest)
#include "window_output_alignment_test.moc"
