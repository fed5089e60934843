// Help ▸ About: the version and the licences of what the program ships with.
#pragma once

#include <QString>

class QWidget;

namespace orvo {

// The text of the About box (rich text).
QString aboutText();

void showAboutBox(QWidget* parent);

}  // namespace orvo
