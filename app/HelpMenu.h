// The Help menu's lists: Keyboard Shortcuts and How orvo's rules differ
// from standard C. Both open beside the window and stay open while
// it is used.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace orvo {

class RulesDialog;
class ShortcutsDialog;

class HelpMenu : public QObject {
  Q_OBJECT

 public:
  // Adds the items for `window` to `menu`.
  HelpMenu(QMainWindow* window, QMenu* menu);

  // Made when first shown; null until then.
  ShortcutsDialog* shortcutsDialog() const { return m_Shortcuts; }
  RulesDialog* rulesDialog() const { return m_Rules; }

 signals:
  // A rule's example was asked for, by its name in the examples box.
  void exampleChosen(const QString& name);

 private:
  void showShortcuts();
  void showRules();

  QMainWindow* m_Window;
  ShortcutsDialog* m_Shortcuts = nullptr;
  RulesDialog* m_Rules = nullptr;
};

}  // namespace orvo
