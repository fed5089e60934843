#include "app/IncludeDirectoriesDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace orvo {

IncludeDirectoriesDialog::IncludeDirectoriesDialog(const QStringList& directories, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlg_IncludeDirectories"));
  setWindowTitle(tr("Include Directories"));

  auto* explanation = new QLabel(
      tr("#include searches these directories and the directories below them, from the top "
         "down, before the directory of the opened file. Double-click an entry to edit it."),
      this);
  explanation->setWordWrap(true);

  m_List = new QListWidget(this);
  m_List->setObjectName(QStringLiteral("lst_IncludeDirectories"));
  for (const QString& directory : directories) {
    auto* item = new QListWidgetItem(directory, m_List);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
  }

  auto* add = new QPushButton(tr("&Add…"), this);
  m_Remove = new QPushButton(tr("&Remove"), this);
  m_Up = new QPushButton(tr("Move &Up"), this);
  m_Down = new QPushButton(tr("Move &Down"), this);
  connect(add, &QPushButton::clicked, this, &IncludeDirectoriesDialog::addDirectory);
  connect(m_Remove, &QPushButton::clicked, this, &IncludeDirectoriesDialog::removeSelected);
  connect(m_Up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
  connect(m_Down, &QPushButton::clicked, this, [this] { moveSelected(1); });
  connect(m_List, &QListWidget::currentRowChanged, this, &IncludeDirectoriesDialog::updateButtons);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {add, m_Remove, m_Up, m_Down}) buttons->addWidget(button);
  buttons->addStretch();
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(m_List, 1);
  listRow->addLayout(buttons);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(listRow, 1);
  layout->addWidget(box);
  resize(560, 360);
  updateButtons();
}

QStringList IncludeDirectoriesDialog::directories() const {
  QStringList list;
  for (int row = 0; row < m_List->count(); ++row) {
    const QString text = m_List->item(row)->text().trimmed();
    if (!text.isEmpty()) list.append(text);
  }
  return list;
}

QString IncludeDirectoriesDialog::chooseDirectory() {
  return QFileDialog::getExistingDirectory(this, tr("Add Include Directory"));
}

void IncludeDirectoriesDialog::addDirectory() {
  const QString directory = chooseDirectory();
  if (directory.isEmpty()) return;
  auto* item = new QListWidgetItem(directory, m_List);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  m_List->setCurrentItem(item);
}

void IncludeDirectoriesDialog::removeSelected() {
  // takeItem hands the item over; it goes with this scope.
  const std::unique_ptr<QListWidgetItem> removed(m_List->takeItem(m_List->currentRow()));
  updateButtons();
}

void IncludeDirectoriesDialog::moveSelected(int step) {
  const int row = m_List->currentRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= m_List->count()) return;
  QListWidgetItem* item = m_List->takeItem(row);
  m_List->insertItem(target, item);
  m_List->setCurrentRow(target);
}

void IncludeDirectoriesDialog::updateButtons() {
  const int row = m_List->currentRow();
  m_Remove->setEnabled(row >= 0);
  m_Up->setEnabled(row > 0);
  m_Down->setEnabled(row >= 0 && row + 1 < m_List->count());
}

}  // namespace orvo
