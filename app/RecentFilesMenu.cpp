#include "app/RecentFilesMenu.h"

#include <QDir>
#include <QFileInfo>

namespace orvo {

RecentFilesMenu::RecentFilesMenu(QWidget* parent) : QMenu(tr("Open &Recent"), parent) {
  setObjectName(QStringLiteral("mi_Recent"));
  setFiles({});
}

void RecentFilesMenu::setFiles(const QStringList& paths) {
  clear();
  for (int i = 0; i < paths.size(); ++i) {
    const QString& path = paths[i];
    // "&1 main.c  (/home/user/src)": the number is the key in the menu.
    const QFileInfo info(path);
    const auto escaped = [](QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); };
    const QString text = QStringLiteral("&%1 %2  (%3)")
                             .arg(i + 1)
                             .arg(escaped(info.fileName()),
                                  escaped(QDir::toNativeSeparators(info.path())));
    QAction* entry = addAction(text);
    entry->setData(path);
    entry->setToolTip(QDir::toNativeSeparators(path));
    // Queued: opening rebuilds this menu, which must not delete the entry
    // while the menu is still handling the click on it.
    connect(entry, &QAction::triggered, this, [this, path] { emit fileChosen(path); },
            Qt::QueuedConnection);
  }
  if (!paths.isEmpty()) {
    addSeparator();
    connect(addAction(tr("&Clear Menu")), &QAction::triggered, this,
            &RecentFilesMenu::clearRequested);
  }
  setEnabled(!paths.isEmpty());
}

}  // namespace orvo
