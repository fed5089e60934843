#include "app/ExamplesBox.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QWheelEvent>

#include "app/ExampleCatalogue.h"

namespace orvo {
namespace {

constexpr int kDescriptionRole = Qt::UserRole;
constexpr int kInputRole = Qt::UserRole + 1;

// The open list shows "name — description"; the closed box the name only.
class DescribedItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QString description = index.data(kDescriptionRole).toString();
    if (!description.isEmpty()) option->text += QStringLiteral("  —  ") + description;
  }
};

QString editedText(const QString& name) { return QObject::tr("%1 (edited)").arg(name); }

}  // namespace

ExamplesBox::ExamplesBox(QWidget* parent) : QComboBox(parent) {
  // Tab and click give the focus, a wheel does not.
  setFocusPolicy(Qt::StrongFocus);
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  view()->setItemDelegate(new DescribedItemDelegate(view()));
  view()->setTextElideMode(Qt::ElideNone);
}

void ExamplesBox::fillFromCatalogue() {
  const auto add = [this](const QString& name, const QString& description, const QByteArray& input) {
    addItem(name);
    const int index = count() - 1;
    setItemData(index, description, kDescriptionRole);
    setItemData(index, description, Qt::ToolTipRole);
    setItemData(index, input, kInputRole);
  };
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    add(QString::fromUtf8(ExampleCatalogue::name(i)),
        QString::fromUtf8(ExampleCatalogue::description(i)),
        QByteArray::fromStdString(ExampleCatalogue::input(i)));
  }
  // The group's name heads its examples and cannot be picked; the examples
  // keep short names, so that the box stays as narrow as the catalogue's.
  insertSeparator(count());
  add(QString::fromUtf8(kDifferencesGroupName),
      tr("Where this preprocessor's rules part from standard C, one example per rule"), {});
  if (auto* items = qobject_cast<QStandardItemModel*>(model()))
    items->item(count() - 1)->setEnabled(false);
  for (const GroupExample& example : differenceExamples()) {
    add(QString::fromStdString(example.name), QString::fromStdString(example.description),
        QByteArray::fromStdString(example.input));
  }
  setCurrentIndex(-1);
  updateGeometry();
}

std::string ExamplesBox::input(int index) const {
  return index >= 0 && index < count() ? itemData(index, kInputRole).toByteArray().toStdString()
                                       : std::string();
}

QString ExamplesBox::description(int index) const {
  return index >= 0 && index < count() ? itemData(index, kDescriptionRole).toString() : QString();
}

void ExamplesBox::setEdited(bool edited) {
  if (m_Edited == edited) return;
  m_Edited = edited;
  update();
}

QString ExamplesBox::shownText() const {
  if (currentIndex() < 0) return placeholderText();
  return m_Edited ? editedText(currentText()) : currentText();
}

QSize ExamplesBox::sizeHint() const {
  // Room for the longest name and the "(edited)" after it.
  QSize size = QComboBox::sizeHint();
  size.rwidth() += fontMetrics().horizontalAdvance(editedText(QString()));
  return size;
}

QSize ExamplesBox::minimumSizeHint() const { return sizeHint(); }

void ExamplesBox::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    // Passed on, so that whatever is under the box may scroll instead.
    event->ignore();
    return;
  }
  QComboBox::wheelEvent(event);
}

void ExamplesBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  if (currentIndex() < 0) {
    // Drawn in the placeholder colour, as the plain box draws it.
    option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
    option.currentText = placeholderText();
  } else if (m_Edited) {
    option.currentText = editedText(currentText());
  }
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ExamplesBox::showPopup() {
  // The open list is wide enough for the descriptions.
  const int scrollBar = view()->verticalScrollBar()->sizeHint().width();
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + scrollBar);
  QComboBox::showPopup();
}

void ExamplesBox::hidePopup() {
  QComboBox::hidePopup();
  emit popupHidden();
}

}  // namespace orvo
