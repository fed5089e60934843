#include "app/DifferencesPanel.h"

namespace orvo {

DifferencesPanel::DifferencesPanel(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("DifferencesPanel"));
  setWordWrap(true);
  setAlternatingRowColors(true);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int index = row(item);
    if (index >= 0 && index < static_cast<int>(m_Differences.size()))
      emit differenceActivated(m_Differences[static_cast<std::size_t>(index)]);
  });
}

void DifferencesPanel::showDifferences(const std::vector<compare::Difference>& differences) {
  m_Differences = differences;
  clear();
  if (differences.empty()) {
    addItem(tr("The results agree."));
    return;
  }
  for (const compare::Difference& difference : differences) {
    const QString where = difference.place && difference.place->known()
                              ? tr("line %1").arg(difference.place->line)
                              : tr("output");
    auto* item = new QListWidgetItem(
        QStringLiteral("%1: %2").arg(where, QString::fromStdString(difference.reason)), this);
    item->setToolTip(tr("orvo: %1\nstandard C: %2")
                         .arg(QString::fromStdString(difference.mainText),
                              QString::fromStdString(difference.standardText)));
  }
}

}  // namespace orvo
