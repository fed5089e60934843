#include "app/HelpMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "app/RulesDialog.h"
#include "app/ShortcutsDialog.h"

namespace orvo {
namespace {

// Brings a dialog that may be open behind the window to the front.
void present(QDialog* dialog) {
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

}  // namespace

HelpMenu::HelpMenu(QMainWindow* window, QMenu* menu) : QObject(window), m_Window(window) {
  QAction* shortcuts = menu->addAction(tr("&Keyboard Shortcuts"));
  shortcuts->setObjectName(QStringLiteral("ac_KeyboardShortcuts"));
  connect(shortcuts, &QAction::triggered, this, &HelpMenu::showShortcuts);
  QAction* rules = menu->addAction(tr("How orvo's &Rules Differ from Standard C"));
  rules->setObjectName(QStringLiteral("ac_DifferenceRules"));
  connect(rules, &QAction::triggered, this, &HelpMenu::showRules);
}

void HelpMenu::showShortcuts() {
  if (m_Shortcuts == nullptr) {
    m_Shortcuts = new ShortcutsDialog(m_Window);
  } else {
    m_Shortcuts->refresh();
  }
  present(m_Shortcuts);
}

void HelpMenu::showRules() {
  if (m_Rules == nullptr) {
    m_Rules = new RulesDialog(m_Window);
    connect(m_Rules, &RulesDialog::exampleChosen, this, &HelpMenu::exampleChosen);
  }
  present(m_Rules);
}

}  // namespace orvo
