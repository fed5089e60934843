// The editing a C programmer expects of any code editor, set up on a code
// editor: a new line keeps the indentation (and indents after an opening
// brace), the bracket at the cursor and its partner are highlighted,
// Ctrl+click adds a caret, Alt+drag selects a column, typing goes to every
// caret, and Tab and Shift+Tab indent and unindent the selected lines.
#pragma once

#include <QColor>
#include <span>

class QsciScintilla;

namespace orvo {

// Indentation is made of spaces, this many to a level.
inline constexpr int kIndentWidth = 4;

// The background of the bracket at the caret and its partner, and of a
// bracket without one.
extern const QColor kMatchedBraceBack;
extern const QColor kUnmatchedBraceBack;

void setUpEditingBasics(QsciScintilla& editor);

// A gesture the editor handles itself, with no action of the window to name
// it, for the list of keys.
struct EditorGesture {
  const char* keys;
  const char* what;
};
// The gestures setUpEditingBasics() gives an editor.
std::span<const EditorGesture> editorGestures();

// Selects the word at the caret; with a selection, adds the next place
// where its text occurs (matching case, wrapping at the end) as another
// selection, and shows it.
void selectNextMatch(QsciScintilla& editor);

}  // namespace orvo
