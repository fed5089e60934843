#include "app/DifferencesPanel.h"

#include "app/RunErrorText.h"

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
    // A place in an included file is named with its file: a bare line
    // number would point into the input.
    QString where = tr("output");
    if (difference.place && difference.place->known()) {
      where = difference.place->inMainInput
                  ? tr("line %1").arg(difference.place->line)
                  : QStringLiteral("%1:%2").arg(QString::fromStdString(difference.place->file))
                        .arg(difference.place->line);
    }
    auto* item = new QListWidgetItem(
        QStringLiteral("%1: %2").arg(where, QString::fromStdString(difference.reason)), this);
    QString tip = tr("orvo: %1\nstandard C: %2")
                      .arg(QString::fromStdString(difference.mainText),
                           QString::fromStdString(difference.standardText));
    if (difference.place) {
      const QString chain = includeChainText(*difference.place);
      if (!chain.isEmpty()) tip += QLatin1Char('\n') + chain;
    }
    item->setToolTip(tip);
  }
}

}  // namespace orvo
