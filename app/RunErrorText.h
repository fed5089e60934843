// The words for where a message arose and what it is, for every place the
// window shows one (the message box, the status bar, the Messages panel):
// line and column in the input, and for an included file the file and the
// chain of includes, always in the same words.
#pragma once

#include <QString>
#include <vector>

#include "orvo/Run.h"

namespace orvo {

class CodeEditor;

// "FILE:3:7".
QString sourcePlaceText(const SourcePlace& place);

// One "included from FILE, line N" line per include directive that led to
// the place's file, innermost first; empty for the input itself.
QString includeChainText(const SourcePlace& place);

// "line 3, column 7" for a place in the input; empty when the error has none.
QString inputPlaceText(const RunError& error, const CodeEditor& input);

// Where a run that ended in `error` stopped: "line 3, column 7" in the
// input, "FILE:3:7" in an included file; empty when the error has no place.
QString stopPlaceText(const RunError& error, const CodeEditor& input);

// `text` followed by one line per note: "note: line 2, column 5: TEXT" for
// a place in the input, "note: FILE:2:5: TEXT" elsewhere, "note: TEXT" for a
// note without a place of its own (it is about its message's place).
QString withNotes(const QString& text, const std::vector<DiagnosticNote>& notes);

// The error's text with its place: "line 3, column 7: TEXT", or for an
// included file "FILE:3:7: TEXT" followed by one "included from" line per
// include directive, outermost last; then the error's notes (withNotes).
QString runErrorText(const RunError& error, const CodeEditor& input);

}  // namespace orvo
