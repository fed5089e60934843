#include "app/ViewSwitches.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

namespace orvo {
namespace {

constexpr const char* kCoveredProperty = "orvoCoveredByTab";

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
    QAction* toggle = dock->toggleViewAction();
    // Whether the open panel is covered by another one tabbed with it. A
    // panel hidden by its switch keeps what it was, since the switch's
    // handler below asks after the dock has hidden itself.
    QObject::connect(dock, &QDockWidget::visibilityChanged, dock, [dock, toggle](bool visible) {
      if (visible) {
        dock->setProperty(kCoveredProperty, false);
      } else if (toggle->isChecked()) {
        dock->setProperty(kCoveredProperty, true);
      }
    });
    // Connected after the dock's own handler, which shows or hides it first.
    QObject::connect(toggle, &QAction::triggered, dock, [dock, toggle](bool open) {
      if (open) {
        dock->raise();
      } else if (dock->property(kCoveredProperty).toBool()) {
        // The switch of a covered panel brings it to the front instead of
        // closing it unseen: switched once more, so that whoever keeps the
        // panel's state hears it open again.
        dock->setProperty(kCoveredProperty, false);
        toggle->trigger();
      }
    });
  }
}

}  // namespace orvo
