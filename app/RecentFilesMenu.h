// File ▸ Open Recent: the files opened last, most recent first, and an entry
// that empties the list.
#pragma once

#include <QMenu>
#include <QStringList>

namespace orvo {

class RecentFilesMenu : public QMenu {
  Q_OBJECT

 public:
  explicit RecentFilesMenu(QWidget* parent = nullptr);

  // Rebuilds the entries; the menu is disabled while the list is empty.
  void setFiles(const QStringList& paths);

 signals:
  void fileChosen(const QString& path);
  void clearRequested();
};

}  // namespace orvo
