#include "app/MessagesPanel.h"

#include "app/RunErrorText.h"

#include <QHeaderView>
#include <algorithm>
#include <QStyle>
#include <QStringList>

namespace {

enum Column { kPlaceColumn, kKindColumn, kTextColumn };

// Rows the panel asks room for.
constexpr int kVisibleRows = 4;

// Where a row keeps its place.
constexpr int kBeginRole = Qt::UserRole;
constexpr int kEndRole = Qt::UserRole + 1;
constexpr int kInMainInputRole = Qt::UserRole + 2;
constexpr int kPlaceIndexRole = Qt::UserRole + 3;

}  // namespace

MessagesPanel::MessagesPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("MessagesPanel"));
  setColumnCount(3);
  setHeaderLabels({tr("Place"), tr("Kind"), tr("Message")});
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  header()->setStretchLastSection(true);
  header()->setSectionResizeMode(kPlaceColumn, QHeaderView::ResizeToContents);
  header()->setSectionResizeMode(kKindColumn, QHeaderView::ResizeToContents);
  connect(this, &QTreeWidget::itemActivated, this, &MessagesPanel::activate);
}

QSize MessagesPanel::sizeHint() const {
  const int rowHeight = fontMetrics().height() + 4;
  const int height = header()->sizeHint().height() + kVisibleRows * rowHeight + 2 * frameWidth();
  return QSize(QTreeWidget::sizeHint().width(), height);
}

void MessagesPanel::setPlace(QTreeWidgetItem* item, const orvo::SourcePlace& place) {
  item->setText(kPlaceColumn, orvo::sourcePlaceText(place));
  item->setData(kPlaceColumn, kBeginRole, place.begin);
  item->setData(kPlaceColumn, kEndRole, place.end);
  item->setData(kPlaceColumn, kInMainInputRole, place.inMainInput);
  if (!place.inMainInput) {
    item->setData(kPlaceColumn, kPlaceIndexRole, static_cast<int>(m_Places.size()));
    m_Places.push_back(place);
  }
  const QString chain = orvo::includeChainText(place);
  if (!chain.isEmpty()) item->setToolTip(kPlaceColumn, chain);
}

void MessagesPanel::showDiagnostics(const std::vector<orvo::Diagnostic>& diagnostics) {
  clear();
  m_Places.clear();
  m_StandardRow = nullptr;
  for (const orvo::Diagnostic& diagnostic : diagnostics) addDiagnostic(diagnostic, nullptr);
}

void MessagesPanel::showStandardDiagnostics(const std::vector<orvo::Diagnostic>& diagnostics) {
  delete m_StandardRow;
  m_StandardRow = nullptr;
  const bool any = std::any_of(diagnostics.begin(), diagnostics.end(), [](const orvo::Diagnostic& d) {
    return d.severity != orvo::Severity::Note;
  });
  if (!any) return;
  m_StandardRow = new QTreeWidgetItem(this);
  m_StandardRow->setText(kPlaceColumn, tr("Standard C"));
  m_StandardRow->setFirstColumnSpanned(true);
  QFont bold = m_StandardRow->font(kPlaceColumn);
  bold.setBold(true);
  m_StandardRow->setFont(kPlaceColumn, bold);
  for (const orvo::Diagnostic& diagnostic : diagnostics) addDiagnostic(diagnostic, m_StandardRow);
  m_StandardRow->setExpanded(true);
}

void MessagesPanel::addDiagnostic(const orvo::Diagnostic& diagnostic, QTreeWidgetItem* parent) {
  if (diagnostic.severity == orvo::Severity::Note) return;
  auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(kKindColumn, QString::fromLatin1(orvo::severityName(diagnostic.severity)));
  item->setIcon(kKindColumn, style()->standardIcon(diagnostic.severity == orvo::Severity::Error
                                                       ? QStyle::SP_MessageBoxCritical
                                                       : QStyle::SP_MessageBoxWarning));
  item->setText(kTextColumn, QString::fromStdString(diagnostic.text).trimmed());
  if (diagnostic.place) setPlace(item, *diagnostic.place);
  // Notes are rows under their message, shown at once; one without a
  // place of its own goes to its message's place.
  for (const orvo::DiagnosticNote& note : diagnostic.notes) {
    auto* row = new QTreeWidgetItem(item);
    row->setText(kKindColumn, QString::fromLatin1(orvo::severityName(orvo::Severity::Note)));
    row->setText(kTextColumn, QString::fromStdString(note.text));
    row->setToolTip(kTextColumn, row->text(kTextColumn));
    if (note.place) {
      setPlace(row, *note.place);
    } else if (diagnostic.place) {
      setPlace(row, *diagnostic.place);
    }
  }
  item->setExpanded(true);
}

void MessagesPanel::activate(QTreeWidgetItem* item) {
  if (item == nullptr || item == m_StandardRow || item->text(kPlaceColumn).isEmpty()) return;
  if (item->data(kPlaceColumn, kInMainInputRole).toBool()) {
    emit mainInputPlaceActivated(item->data(kPlaceColumn, kBeginRole).toInt(),
                                 item->data(kPlaceColumn, kEndRole).toInt());
  } else {
    emit otherPlaceActivated(item->text(kPlaceColumn));
    const QVariant index = item->data(kPlaceColumn, kPlaceIndexRole);
    if (index.isValid() && index.toInt() >= 0 && index.toInt() < static_cast<int>(m_Places.size()))
      emit includedPlaceActivated(m_Places[static_cast<std::size_t>(index.toInt())]);
  }
}
