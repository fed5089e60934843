#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/ExampleCatalogue.h"

namespace {

using orvo::ExampleCatalogue;
using orvo::ExampleRecord;
using orvo::kExampleTextSize;

// Length of a field's text; the rest of the field must be NUL padding.
std::size_t paddedLength(const char (&field)[kExampleTextSize]) {
  const std::size_t length = strnlen(field, kExampleTextSize);
  EXPECT_LT(length, kExampleTextSize);
  EXPECT_TRUE(std::all_of(field + length, field + kExampleTextSize, [](char c) { return c == 0; }));
  return length;
}

TEST(ExampleCatalogue, HoldsThirtyEightPaddedRecordsOfTheListedSizes) {
  ASSERT_EQ(ExampleCatalogue::count(), 38u);
  EXPECT_STREQ(ExampleCatalogue::name(0), "Tokenization");
  EXPECT_STREQ(ExampleCatalogue::name(37), "unshielded_comma2");
  std::size_t longestName = 0, longestInput = 0, longestResult = 0;
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    const ExampleRecord& record = ExampleCatalogue::record(i);
    longestName = std::max(longestName, paddedLength(record.name));
    longestInput = std::max(longestInput, paddedLength(record.input));
    longestResult = std::max(longestResult, paddedLength(record.expectedResult));
  }
  // A lost or doubled escape in the transcription shows in these lengths.
  EXPECT_EQ(longestName, 19u);
  EXPECT_EQ(longestInput, 134u);
  EXPECT_EQ(longestResult, 97u);
}

TEST(ExampleCatalogue, KeepsEscapesBlanksAndLineEndsOfTheTexts) {
  EXPECT_STREQ(ExampleCatalogue::input(2),
               "#define NUMBERS 1, \\\r\n                2, \\\r\n                3\r\n"
               "int x[] = { NUMBERS };");
  EXPECT_STREQ(ExampleCatalogue::input(19), "#define STRINGIFY(EXP) #EXP\r\nSTRINGIFY (p = \"foo\n\";)");
  EXPECT_STREQ(ExampleCatalogue::record(19).expectedResult, "\"p = \"foo\\n\";\"");
  const std::string concatenation = ExampleCatalogue::input(22);
  EXPECT_EQ(concatenation.substr(concatenation.size() - 5), "\r\n}; ");
  EXPECT_STREQ(ExampleCatalogue::record(5).expectedResult, "\r\n37");
}

TEST(ExampleCatalogue, RejectsAnIndexOutOfRange) {
  EXPECT_THROW(ExampleCatalogue::record(38), std::out_of_range);
}

}  // namespace

namespace {

// The group of differences: one example per rule of the table, each with a
// one-line description, in the input area's line ends.
TEST(ExampleCatalogue, DifferencesGroupHasOneDescribedExamplePerRule) {
  const std::vector<orvo::GroupExample> examples = orvo::differenceExamples();
  ASSERT_EQ(examples.size(), 8u);
  for (const orvo::GroupExample& example : examples) {
    EXPECT_FALSE(example.description.empty()) << example.name;
    EXPECT_EQ(example.description.find('\n'), std::string::npos) << example.name;
    EXPECT_NE(example.input.find("\r\n"), std::string::npos) << example.name;
    EXPECT_EQ(example.input.find("\r\n"), example.input.find('\n') - 1) << example.name;
  }
  EXPECT_EQ(examples.front().name, "A macro counts 1 in #if");
}

}  // namespace
