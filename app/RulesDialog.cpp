#include "app/RulesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "orvo/DifferenceRules.h"

namespace orvo {
namespace {

constexpr int kExampleRole = Qt::UserRole;
// Wide enough for a rule's explanation in two or three lines.
constexpr int kDialogWidth = 900;
constexpr int kDialogHeight = 520;
constexpr int kTitleColumnWidth = 230;

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

RulesDialog::RulesDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RulesDialog"));
  setWindowTitle(tr("How orvo's rules differ from standard C"));
  auto* intro = new QLabel(
      tr("Where this preprocessor parts from ISO C. Open a rule's example (double-click it) to "
         "see it in the input; View ▸ Standard C shows both results side by side with the "
         "reason for each difference."),
      this);
  intro->setWordWrap(true);

  const auto rules = compare::differenceRules();
  m_List = new QTableWidget(static_cast<int>(rules.size()), 2, this);
  m_List->setObjectName(QStringLiteral("tv_Rules"));
  m_List->setHorizontalHeaderLabels({tr("Rule"), tr("What orvo does, and what standard C does")});
  m_List->verticalHeader()->hide();
  m_List->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_List->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_List->setSelectionMode(QAbstractItemView::SingleSelection);
  m_List->setWordWrap(true);
  m_List->setAlternatingRowColors(true);
  m_List->horizontalHeader()->resizeSection(0, kTitleColumnWidth);
  m_List->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  int row = 0;
  for (const compare::DifferenceRule& rule : rules) {
    auto* title = new QTableWidgetItem(fromView(rule.title));
    auto* explanation = new QTableWidgetItem(fromView(rule.explanation));
    if (!rule.example.empty()) {
      // The examples box lists each rule's example under the rule's title.
      title->setData(kExampleRole, fromView(rule.title));
      const QString tip = tr("Example: %1").arg(fromView(rule.summary));
      title->setToolTip(tip);
      explanation->setToolTip(tip);
    }
    m_List->setItem(row, 0, title);
    m_List->setItem(row, 1, explanation);
    ++row;
  }
  // Each explanation is read whole: the rows grow with the wrapped text.
  connect(m_List->horizontalHeader(), &QHeaderView::sectionResized, m_List,
          [this] { m_List->resizeRowsToContents(); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  m_Open = buttons->addButton(tr("&Open Example"), QDialogButtonBox::ActionRole);
  m_Open->setObjectName(QStringLiteral("btn_OpenExample"));
  m_Open->setEnabled(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_Open, &QPushButton::clicked, this, [this] { openExample(m_List->currentRow()); });
  connect(m_List, &QTableWidget::cellActivated, this, [this](int row, int) { openExample(row); });
  connect(m_List, &QTableWidget::currentCellChanged, this, [this](int row) {
    const QTableWidgetItem* title = m_List->item(row, 0);
    m_Open->setEnabled(title != nullptr && !title->data(kExampleRole).toString().isEmpty());
  });

  auto* rows = new QVBoxLayout(this);
  rows->addWidget(intro);
  rows->addWidget(m_List, 1);
  rows->addWidget(buttons);
  resize(kDialogWidth, kDialogHeight);
  m_List->resizeRowsToContents();
}

void RulesDialog::openExample(int row) {
  const QTableWidgetItem* title = m_List->item(row, 0);
  if (title == nullptr) return;
  const QString name = title->data(kExampleRole).toString();
  if (!name.isEmpty()) emit exampleChosen(name);
}

}  // namespace orvo
