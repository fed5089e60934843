// Help ▸ Keyboard Shortcuts: every key of the window, read from its menus
// and actions when the list opens, so that it names the keys the window
// really has; then the mouse and key gestures of the text areas.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QMainWindow;
class QTreeWidget;

namespace orvo {

struct ShortcutRow {
  QString group;    // the menu, or "Other" for keys no menu shows
  QString command;  // the item's text, without its mnemonic
  QString keys;     // in the platform's words, alternatives after commas
};

// The rows of `window`: each menu's items that have keys, in menu order,
// then the window's other actions with keys, then the text areas' gestures.
QList<ShortcutRow> shortcutRows(const QMainWindow& window);

class ShortcutsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ShortcutsDialog(QMainWindow* window);

  // Reads the keys again (they are read once the dialog is made).
  void refresh();
  QTreeWidget* list() const { return m_List; }

 private:
  QMainWindow* m_Window;
  QTreeWidget* m_List = nullptr;
};

}  // namespace orvo
