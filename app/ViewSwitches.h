// The View menu's switches as a keyboard user needs them: keys for the
// Standard C pane and the side-by-side arrangement, and a panel opened by
// its switch or key comes to the front of the panels tabbed with it, so
// that it never opens hidden behind another; the switch of an open panel
// covered by another brings it to the front instead of closing it.
#pragma once

#include <QKeySequence>

class QMainWindow;

namespace orvo {

// Free in the window and in the editors (which give up Ctrl+\, their
// word-part move, for it); Ctrl+\ splits the view in common editors.
inline const QKeySequence kStandardPaneKey{Qt::CTRL | Qt::SHIFT | Qt::Key_C};
inline const QKeySequence kSideBySideKey{Qt::CTRL | Qt::Key_Backslash};

// Call once the window's panels and switches exist.
void setUpViewSwitches(QMainWindow& window);

}  // namespace orvo
