// Lines, columns, line texts and include chains worked out from offsets.
#include <gtest/gtest.h>

#include <string>

#include "run/SourceRegistry.h"

namespace orvo {
namespace {

TEST(SourceRegistry, LineAndColumnOfOffsets) {
  const std::string text = "ab\r\n\tcd\n\nlast";
  SourceRegistry registry;
  const SourceId main = registry.addMain("in.c", text);
  struct Row {
    int offset;
    int line;
    int column;
    const char* lineText;
  };
  for (const Row& row : {Row{0, 1, 1, "ab"}, Row{2, 1, 3, "ab"}, Row{3, 1, 4, "ab"},
                         Row{4, 2, 1, "\tcd"}, Row{5, 2, 2, "\tcd"}, Row{8, 3, 1, ""},
                         Row{9, 4, 1, "last"}, Row{13, 4, 5, "last"}, Row{99, 4, 5, "last"},
                         Row{-5, 1, 1, "ab"}}) {
    const SourcePlace place = registry.place(main, row.offset, row.offset + 1);
    EXPECT_EQ(place.file, "in.c");
    EXPECT_EQ(place.line, row.line) << row.offset;
    EXPECT_EQ(place.column, row.column) << row.offset;
    EXPECT_EQ(place.lineText, row.lineText) << row.offset;
    EXPECT_TRUE(place.inMainInput);
    EXPECT_LE(place.begin, place.end);
  }
}

TEST(SourceRegistry, NamedTextAndIncludeChain) {
  SourceRegistry registry;
  const SourceId main = registry.addMain("main.c", "x\n  #include \"a.h\"\n");
  const SourceId named = registry.addNamed("<command line>", "#define A 1\n");
  const SourceId a = registry.addIncluded("inc/a.h", "\n#include <b.h>\n", main, 4);
  const SourceId b = registry.addIncluded("inc/b.h", "int b;\n", a, 1);

  const SourcePlace fromCommandLine = registry.place(named, 8, 9);
  EXPECT_EQ(fromCommandLine.file, "<command line>");
  EXPECT_EQ(fromCommandLine.column, 9);
  EXPECT_FALSE(fromCommandLine.inMainInput);
  EXPECT_TRUE(fromCommandLine.includedFrom.empty());

  const SourcePlace inB = registry.place(b, 4, 5);
  EXPECT_EQ(inB.file, "inc/b.h");
  EXPECT_EQ(inB.column, 5);
  ASSERT_EQ(inB.includedFrom.size(), 2u);
  EXPECT_EQ(inB.includedFrom[0].file, "main.c");
  EXPECT_EQ(inB.includedFrom[0].line, 2);
  EXPECT_EQ(inB.includedFrom[0].column, 3);
  EXPECT_EQ(inB.includedFrom[1].file, "inc/a.h");
  EXPECT_EQ(inB.includedFrom[1].line, 2);
}

TEST(SourceRegistry, LongLinesAreCutInThePlace) {
  const std::string text(3 * SourcePlace::kMaxLineTextBytes, 'x');
  SourceRegistry registry;
  const SourcePlace place = registry.place(registry.addMain("big.c", text), 100, 101);
  EXPECT_EQ(place.lineText.size(), SourcePlace::kMaxLineTextBytes);
  EXPECT_EQ(place.column, 101);
}

}  // namespace
}  // namespace orvo
