// The words for an error that ended a run, for the status bar and the
// message box: where it is (line and column, and for an error in an
// included file the file and the chain of includes) and what it is.
#pragma once

#include <QString>

#include "orvo/Run.h"

namespace orvo {

class CodeEditor;

// "line 3, column 7" for a place in the input; empty when the error has none.
QString inputPlaceText(const RunError& error, const CodeEditor& input);

// The error's text with its place: "line 3, column 7: TEXT", or for an
// included file "FILE:3:7: TEXT" followed by one "included from" line per
// include directive, outermost last.
QString runErrorText(const RunError& error, const CodeEditor& input);

}  // namespace orvo
