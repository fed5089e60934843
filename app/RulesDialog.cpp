#include "app/RulesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
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

  m_List = new QTreeWidget(this);
  m_List->setObjectName(QStringLiteral("tv_Rules"));
  m_List->setColumnCount(2);
  m_List->setHeaderLabels({tr("Rule"), tr("What orvo does, and what standard C does")});
  m_List->setRootIsDecorated(false);
  m_List->setWordWrap(true);
  m_List->setAlternatingRowColors(true);
  m_List->header()->resizeSection(0, kTitleColumnWidth);
  for (const compare::DifferenceRule& rule : compare::differenceRules()) {
    auto* row = new QTreeWidgetItem(m_List, {fromView(rule.title), fromView(rule.explanation)});
    QString tip = fromView(rule.explanation);
    if (!rule.example.empty()) {
      // The examples box lists each rule's example under the rule's title.
      row->setData(0, kExampleRole, fromView(rule.title));
      tip += QStringLiteral("\n\n") + tr("Example: %1").arg(fromView(rule.summary));
    }
    row->setToolTip(0, tip);
    row->setToolTip(1, tip);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  m_Open = buttons->addButton(tr("&Open Example"), QDialogButtonBox::ActionRole);
  m_Open->setObjectName(QStringLiteral("btn_OpenExample"));
  m_Open->setEnabled(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_Open, &QPushButton::clicked, this, [this] { openExample(m_List->currentItem()); });
  connect(m_List, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) { openExample(row); });
  connect(m_List, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
    m_Open->setEnabled(row != nullptr && !row->data(0, kExampleRole).toString().isEmpty());
  });

  auto* rows = new QVBoxLayout(this);
  rows->addWidget(intro);
  rows->addWidget(m_List, 1);
  rows->addWidget(buttons);
  resize(kDialogWidth, kDialogHeight);
}

void RulesDialog::openExample(QTreeWidgetItem* row) {
  if (row == nullptr) return;
  const QString name = row->data(0, kExampleRole).toString();
  if (!name.isEmpty()) emit exampleChosen(name);
}

}  // namespace orvo
