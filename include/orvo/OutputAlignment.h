// Lines up two preprocessed results by the input line each output line
// came from, as a side-by-side diff view does: a line of one result stands
// beside the line of the other that the same input line wrote, and where
// one result has no such line the other side gets a gap. The results'
// texts are left as they are; the alignment only says how many gap rows to
// show where, and which rows differ.
#pragma once

#include <string_view>
#include <vector>

#include "orvo/Explanation.h"

namespace orvo {

// One result's side of the alignment. Lines are 0-based output lines.
struct AlignedSide {
  // Gap rows above the first line.
  int gapAtTop = 0;
  // Gap rows below each line.
  std::vector<int> gapAfter;
  // Whether each line's tokens differ from those beside it (a line beside a
  // gap differs when it has any token: blank lines never differ).
  std::vector<bool> differs;
  // The row (0-based, gap rows counted) each line stands on.
  std::vector<int> rowOf;
};

struct OutputAlignment {
  AlignedSide main;
  AlignedSide standard;
  int rows = 0;
};

// Aligns `mainText` and `standardText` (LF or CR LF line ends) by their
// explanations' line maps; files are matched by name (included files by
// their canonical paths). Lines the maps do not cover stand beside gaps.
// Time grows with the lines times their logarithm, so a result of a
// hundred thousand lines aligns in a few milliseconds.
OutputAlignment alignOutputs(std::string_view mainText, const RunExplanation& mainExplanation,
                             std::string_view standardText,
                             const RunExplanation& standardExplanation);

// Whether two output lines hold the same tokens: blanks and comments only
// separate tokens, so `int  x ;` equals `int x;` but `intx;` does not.
bool sameTokens(std::string_view a, std::string_view b);

}  // namespace orvo
