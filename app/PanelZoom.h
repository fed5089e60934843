// Zooms a panel's text with the editors: the editors' zoom is in points
// added to their font size, and a panel gets the same number of points.
#pragma once

class QWidget;

namespace orvo {

// Sets `panel`'s font to its size at zoom 0 plus `zoom` points (at least a
// readable minimum); its children follow unless they set a font of their own.
// Text areas in it zoom to `zoom` as the window's own do.
void zoomPanel(QWidget* panel, int zoom);

}  // namespace orvo
