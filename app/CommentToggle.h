// Ctrl+/ in the code editor: puts "// " in front of the selected lines, or
// takes the comment marks away when every one of them has one.
#pragma once

class QsciScintilla;

namespace orvo {

// Acts on the lines every selection touches (a selection that ends at the
// start of a line leaves that line out), as one undo step. Blank lines are
// left as they are. The marks go in at the smallest indentation of the
// lines, so that the text keeps its shape; taking them away removes "//"
// and one blank after it.
void toggleLineComments(QsciScintilla& editor);

}  // namespace orvo
