// The window's size at its first start, before the user chose one: large
// enough that the welcome text and both captions show whole on the usual
// screens (1366×768 and up), and never larger than the screen.
#pragma once

#include <QSize>

namespace orvo {

// The share of the screen's free room the window takes at first, and the
// least it takes where the screen has room for it: with the welcome text
// wrapped, 650 pixels of height leave each text area the 13 lines it needs.
inline constexpr double kFirstStartWidthShare = 0.75;
inline constexpr double kFirstStartHeightShare = 0.8;
inline constexpr int kFirstStartMinWidth = 900;
inline constexpr int kFirstStartMinHeight = 650;

QSize firstStartSize(const QSize& available);

}  // namespace orvo
