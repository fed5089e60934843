// Conditional sections through the whole preprocessing run: which branch is
// written, what the directive lines leave, and what skipped text may hold.
#include <gtest/gtest.h>

#include <string>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

using test::crlf;
using test::pp;
using test::ppError;

TEST(ConditionalSection, WritesOnlyTheTakenBranch) {
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      // The else line's line break is the first group of the taken branch.
      {crlf({"#ifdef X", "a", "#else", "b", "#endif", ""}), "\r\nb\r\n\r\n"},
      {crlf({"#ifndef X", "a", "#else", "b", "#endif"}), "\r\na\r\n"},
      // An empty replacement still defines the name.
      {crlf({"#define X", "#ifdef X", "y", "#endif"}), "\r\ny\r\n"},
      {crlf({"#define X", "#ifndef X", "y", "#endif"}), ""},
      {crlf({"#if 0", "a", "#elif 1", "b", "#endif", ""}), "\r\nb\r\n\r\n"},
      // Once a branch was taken, later true conditions are passed over.
      {crlf({"#if 1", "a", "#elif 1", "b", "#else", "c", "#endif"}), "\r\na\r\n"},
      {crlf({"#if 0", "a", "#elif 0", "b", "#else", "c", "#endif"}), "\r\nc\r\n"},
      {crlf({"#if 1", "A", "#endif", "B"}), "\r\nA\r\n\r\nB"},
      {crlf({"#if 0", "A", "#endif", "B"}), "\r\nB"},
      // Sections nest in taken and in skipped branches.
      {crlf({"#if 1", "#if 0", "a", "#elif 0", "b", "#else", "c", "#endif", "#endif"}),
       "\r\n\r\nc\r\n\r\n"},
      {crlf({"#if 0", "#ifdef Q", "q", "#else", "r", "#endif", "s", "#else", "t", "#endif"}),
       "\r\nt\r\n"},
      {crlf({"#if 0", "#if 1", "#elif 2", "#else", "#endif", "#elif 1", "u", "#endif"}),
       "\r\nu\r\n"},
      // Text after #else is a text line of the else branch.
      {crlf({"#define x 5", "#if 0", "#else x", "#endif"}), " 5\r\n"},
      {crlf({"#define x 5", "#if 1", "#else x", "#endif"}), "\r\n"},
      // Text after a taken if directive is a text line of its branch.
      {crlf({"#define X", "#ifdef X junk", "#endif"}), " junk\r\n"},
      // Skipped text is searched for directives only, not parsed: a string
      // literal ends the stretch at its #endif.
      {crlf({"#if 0", "x \"#endif\" y", "z"}), "\" y\r\nz"},
      {crlf({"#if 0", "#error no", "#define Z", "\"unterminated", "#endif", "Z"}), "\r\nZ"},
  };
  for (const auto& c : cases) EXPECT_EQ(pp(c.input), c.output) << c.input;
}

TEST(ConditionalSection, EvaluatesElifAfterATakenBranchButNotSkippedConditions) {
  EXPECT_EQ(ppError(crlf({"#if 1", "#elif 1/0", "#endif"})), "division by 0");
  EXPECT_EQ(ppError(crlf({"#if 0", "#if 1/0", "#elif 1/0", "#endif", "#endif"})), "<no error>");
  EXPECT_EQ(ppError(crlf({"#if 0", "#if 10L", "#endif", "#endif"})), "<no error>");
}

}  // namespace
}  // namespace orvo
