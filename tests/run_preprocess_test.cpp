// The preprocessing run as the window and orvo-pp call it.
#include <gtest/gtest.h>

#include "orvo/Run.h"
#include "tests/support/RunHelpers.h"

namespace orvo::test {
namespace {

TEST(ConvertLineEnds, Table) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"a\rb", "a\rb"},            // no LF at all: lone CRs stay
      {"a\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},        // CR LF is not doubled
      {"\n\n", "\r\n\r\n"},
      {"a\r\n\nb\r", "a\r\n\r\nb\r"},
      {"a\r\rb\n", "a\r\rb\r\n"},  // the character after a CR is copied as it is
      {std::string("a\0b\nc", 5), std::string("a\0b\r\nc", 6)},  // NUL bytes are kept
  };
  for (const auto& c : cases) EXPECT_EQ(convertLineEnds(c.in), c.out);
}

TEST(PreprocessRun, EmptyInputGivesEmptyOutput) {
  const RunResult result = runPreprocessor("", {});
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.output, "");
}

TEST(PreprocessRun, ErrorsAreReturnedWithTheirClassAndDiscardOutput) {
  RunResult result = runPreprocessor("a\r\n#endif\r\n", {});
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->errorClass, ErrorClass::Parse);
  EXPECT_EQ(result.error->text, "incomplete");
  EXPECT_EQ(result.output, "") << "the incomplete banner is never shown";

  result = runPreprocessor("#error  stop here\r\n", {});
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error->errorClass, ErrorClass::Message);
  EXPECT_FALSE(result.error->hasPosition());
  EXPECT_EQ(result.error->text, "  stop here");
}

TEST(PreprocessRun, TwoRunsGiveTheSameOutput) {
  const std::string input = crlf({"#define X(a) a a", "X(1) X(2)", "y"});
  EXPECT_EQ(pp(input), pp(input));
}

}  // namespace
}  // namespace orvo::test
