// Edit ▸ Include Directories…: the list of extra directories that #include
// searches, in order, before the directory of the opened file.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace orvo {

class IncludeDirectoriesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit IncludeDirectoriesDialog(const QStringList& directories, QWidget* parent = nullptr);

  // The list as shown, without empty entries.
  QStringList directories() const;

 protected:
  // Asks for a directory to add; empty when cancelled. Tests replace it.
  virtual QString chooseDirectory();

 private:
  void addDirectory();
  void removeSelected();
  void moveSelected(int step);
  void updateButtons();

  QListWidget* m_List = nullptr;
  QPushButton* m_Remove = nullptr;
  QPushButton* m_Up = nullptr;
  QPushButton* m_Down = nullptr;
};

}  // namespace orvo
