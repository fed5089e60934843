#include "app/ViewSwitches.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

namespace orvo {
namespace {

void giveKey(QMainWindow& window, const char* name, const QKeySequence& key) {
  QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
  if (action == nullptr) return;
  action->setShortcut(key);
  action->setToolTip(QStringLiteral("%1 (%2)").arg(action->toolTip(),
                                                    key.toString(QKeySequence::NativeText)));
  // The keys work wherever the focus is in the window.
  window.addAction(action);
}

}  // namespace

void setUpViewSwitches(QMainWindow& window) {
  giveKey(window, "ac_StandardPane", kStandardPaneKey);
  giveKey(window, "ac_SideBySide", kSideBySideKey);
  for (QDockWidget* dock : window.findChildren<QDockWidget*>()) {
    // Connected after the dock's own handler, which shows it first.
    QObject::connect(dock->toggleViewAction(), &QAction::triggered, dock, [dock](bool open) {
      if (open) dock->raise();
    });
  }
}

}  // namespace orvo
