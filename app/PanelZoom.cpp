#include "app/PanelZoom.h"

#include <Qsci/qsciscintilla.h>

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace orvo {
namespace {

// Where a panel keeps its font size at zoom 0, so that zooming back and
// forth never drifts.
const char* const kBasePointSize = "orvoBasePointSize";
// Smaller text is no longer readable on any screen.
constexpr double kMinPointSize = 5.0;

}  // namespace

void zoomPanel(QWidget* panel, int zoom) {
  if (panel == nullptr) return;
  QVariant base = panel->property(kBasePointSize);
  if (!base.isValid()) {
    base = panel->font().pointSizeF();
    panel->setProperty(kBasePointSize, base);
  }
  QFont font = panel->font();
  font.setPointSizeF(std::max(kMinPointSize, base.toDouble() + zoom));
  panel->setFont(font);
  // Text areas in a panel draw with their own fonts: they zoom as the
  // window's text areas do.
  for (QsciScintilla* editor : panel->findChildren<QsciScintilla*>()) {
    if (editor->SendScintilla(QsciScintillaBase::SCI_GETZOOM) != zoom) editor->zoomTo(zoom);
  }
}

}  // namespace orvo
