#include "app/MacrosPanel.h"

#include <QHeaderView>
#include <QStringList>

#include "app/RunErrorText.h"
#include "app/TextDecoding.h"

namespace orvo {
namespace {

constexpr int kBeginRole = Qt::UserRole;
constexpr int kEndRole = Qt::UserRole + 1;
constexpr int kInMainInputRole = Qt::UserRole + 2;

const QColor kPredefinedText(0x6a, 0x73, 0x7d);

}  // namespace

MacrosPanel::MacrosPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("MacrosPanel"));
  setColumnCount(5);
  setHeaderLabels({tr("Name"), tr("Kind"), tr("Parameters"), tr("Value"), tr("Defined at")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  setSortingEnabled(true);
  sortByColumn(kNameColumn, Qt::AscendingOrder);
  header()->setSectionResizeMode(QHeaderView::Interactive);
  header()->setStretchLastSection(true);
  setToolTip(tr("The macros defined at the end of the run; predefined ones in grey italics"));
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr && item->data(kPlaceColumn, kInMainInputRole).toBool()) {
      emit mainInputPlaceActivated(item->data(kPlaceColumn, kBeginRole).toInt(),
                                   item->data(kPlaceColumn, kEndRole).toInt());
    }
  });
}

void MacrosPanel::showMacros(const std::vector<MacroEntry>& macros, TextEncoding encoding) {
  const auto text = [encoding](const std::string& bytes) { return decodeText(bytes, encoding); };
  setSortingEnabled(false);
  clear();
  for (const MacroEntry& macro : macros) {
    auto* item = new QTreeWidgetItem(this);
    item->setText(kNameColumn, text(macro.name));
    item->setText(kKindColumn, QString::fromLatin1(MacroKindName(macro.kind)));
    if (macro.kind == MacroKind::FunctionLike) {
      QStringList parameters;
      for (const std::string& parameter : macro.parameters) parameters << text(parameter);
      item->setText(kParametersColumn, QStringLiteral("(%1)").arg(parameters.join(QStringLiteral(", "))));
    }
    item->setText(kValueColumn, text(macro.replacement));
    item->setToolTip(kValueColumn, text(macro.replacement));
    if (macro.predefined()) {
      item->setText(kPlaceColumn, tr("predefined"));
      for (int column = 0; column < columnCount(); ++column) {
        QFont font = item->font(column);
        font.setItalic(true);
        item->setFont(column, font);
        item->setForeground(column, kPredefinedText);
      }
    } else if (macro.definedAt.known()) {
      item->setText(kPlaceColumn, sourcePlaceText(macro.definedAt));
      item->setData(kPlaceColumn, kBeginRole, macro.definedAt.begin);
      item->setData(kPlaceColumn, kEndRole, macro.definedAt.end);
      item->setData(kPlaceColumn, kInMainInputRole, macro.definedAt.inMainInput);
    }
  }
  setSortingEnabled(true);
  for (int column = 0; column < kValueColumn; ++column) resizeColumnToContents(column);
}

}  // namespace orvo
