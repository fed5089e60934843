// A result line too long for a read-only code editor to lay out quickly is
// shown cut, with a note at the cut that says how long the line is and how
// to see all of it. The code editor lays out a whole line when it is shown:
// an 8 MB line held the window for 6 to 7 s.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo {

// Lines longer than this (in bytes) are cut to this length: the code
// editor's layout of a line passes a frame (16 ms) at about 20 KB, as for
// typing (LongLineEditor::kLongLineBytes).
inline constexpr std::size_t kLongestShownLine = 16 * 1024;

// `text` with each line longer than kLongestShownLine cut there (at the
// start of a UTF-8 character) and `note` put after the cut, with "%1" in it
// replaced by the number of bytes left out. Lines and their number stay as
// they are, so line numbers keep pointing at the same lines.
std::string cutLongLines(std::string_view text, std::string_view note);

// The note for results of standard C, which `orvo-pp --standard` writes
// whole.
inline constexpr std::string_view kStandardCutNote =
    " … [%1 more bytes of this line are not shown here, so that the window stays quick; "
    "orvo-pp --standard FILE writes the whole result]";

}  // namespace orvo
