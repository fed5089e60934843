#include "app/ShortcutsDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/EditingBasics.h"

namespace orvo {
namespace {

// Room for the list's longest rows without a scroll bar on common screens.
constexpr int kDialogWidth = 560;
constexpr int kDialogHeight = 620;

QString plainText(const QAction& action) {
  QString text = action.text();
  text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  return text;
}

QString keysText(const QList<QKeySequence>& keys) {
  QStringList names;
  for (const QKeySequence& key : keys) names.append(key.toString(QKeySequence::NativeText));
  return names.join(QStringLiteral(", "));
}

// A menu entry carries the keys of the action it runs (whose own text may
// be a bare name): the keys make one row.

void addMenuRows(const QMenu& menu, const QString& group, QList<ShortcutRow>& rows,
                 QSet<QString>& listed) {
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    if (const QMenu* submenu = action->menu()) {
      addMenuRows(*submenu, group, rows, listed);
      continue;
    }
    if (action->shortcuts().isEmpty()) continue;
    const ShortcutRow row{group, plainText(*action), keysText(action->shortcuts())};
    if (!listed.contains(row.keys)) rows.append(row);
    listed.insert(row.keys);
  }
}

}  // namespace

QList<ShortcutRow> shortcutRows(const QMainWindow& window) {
  QList<ShortcutRow> rows;
  QSet<QString> listed;
  for (const QAction* top : window.menuBar()->actions()) {
    if (const QMenu* menu = top->menu()) addMenuRows(*menu, plainText(*top), rows, listed);
  }
  for (const QAction* action : window.findChildren<QAction*>()) {
    if (action->shortcuts().isEmpty()) continue;
    const ShortcutRow row{QObject::tr("Other"), plainText(*action), keysText(action->shortcuts())};
    if (listed.contains(row.keys)) continue;
    listed.insert(row.keys);
    rows.append(row);
  }
  for (const EditorGesture& gesture : editorGestures())
    rows.append({QObject::tr("In the text areas"), QObject::tr(gesture.what), QObject::tr(gesture.keys)});
  return rows;
}

ShortcutsDialog::ShortcutsDialog(QMainWindow* window) : QDialog(window), m_Window(window) {
  setObjectName(QStringLiteral("ShortcutsDialog"));
  setWindowTitle(tr("Keyboard Shortcuts"));
  m_List = new QTreeWidget(this);
  m_List->setObjectName(QStringLiteral("tv_Shortcuts"));
  m_List->setColumnCount(2);
  m_List->setHeaderLabels({tr("Command"), tr("Keys")});
  m_List->setRootIsDecorated(false);
  m_List->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_List->header()->setStretchLastSection(false);
  m_List->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* rows = new QVBoxLayout(this);
  rows->addWidget(m_List, 1);
  rows->addWidget(buttons);
  resize(kDialogWidth, kDialogHeight);
  refresh();
}

void ShortcutsDialog::refresh() {
  m_List->clear();
  QTreeWidgetItem* group = nullptr;
  for (const ShortcutRow& row : shortcutRows(*m_Window)) {
    if (group == nullptr || group->text(0) != row.group) {
      group = new QTreeWidgetItem(m_List, {row.group});
      QFont bold = group->font(0);
      bold.setBold(true);
      group->setFont(0, bold);
      group->setFirstColumnSpanned(true);
      group->setFlags(Qt::ItemIsEnabled);
      group->setExpanded(true);
    }
    new QTreeWidgetItem(group, {row.command, row.keys});
  }
  m_List->expandAll();
}

}  // namespace orvo
