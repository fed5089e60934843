// Line ends of text on its way into an editor, converted in one pass over
// the bytes: the editor's own conversion moves the rest of the text at each
// line end it changes and so takes time that grows with the square of the
// number of lines.
#pragma once

#include <string>
#include <string_view>

namespace orvo {

// `bytes` with every LF, CR and CR LF line end written as CR LF.
std::string withCrLfLineEnds(std::string_view bytes);

// How a file ends its lines, so that saving it again keeps its style.
enum class LineEndStyle { CrLf, Lf };

// LF when the text has an LF line end and no CR LF one; CR LF otherwise.
LineEndStyle lineEndStyleOf(std::string_view bytes);

// `crlfText` (CR LF line ends, as the editor holds it) written in `style`.
std::string withLineEnds(std::string_view crlfText, LineEndStyle style);

}  // namespace orvo
