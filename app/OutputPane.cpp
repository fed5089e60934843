#include "app/OutputPane.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/CodeEditor.h"

namespace orvo {

OutputPane::OutputPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnl_Output"));
  m_Layout = new QVBoxLayout(this);
  m_Layout->setContentsMargins(0, 0, 0, 0);
  m_Layout->setSpacing(0);

  m_StaleNote = new QLabel(this);
  m_StaleNote->setObjectName(QStringLiteral("lbl_Stale"));
  m_StaleNote->setWordWrap(true);
  m_StaleNote->setContentsMargins(6, 3, 6, 3);
  m_StaleNote->setStyleSheet(QStringLiteral(
      "QLabel { background: #fff4ce; color: #5c4400; border-bottom: 1px solid #e6d28a; }"));
  m_StaleNote->hide();

  m_Editor = new CodeEditor(this);
  m_Editor->setObjectName(QStringLiteral("memo_Output"));
  m_Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  m_Layout->addWidget(m_StaleNote);
  m_Layout->addWidget(m_Editor, 1);
}

void OutputPane::setStale(bool stale) {
  m_Stale = stale;
  updateNote();
}

void OutputPane::setOutOfDate(bool outOfDate) {
  m_OutOfDate = outOfDate;
  updateNote();
}

void OutputPane::updateNote() {
  if (m_Stale) {
    m_StaleNote->setText(
        m_Editor->length() == 0
            ? tr("The input has an error (see the status bar); there is no output yet.")
            : tr("Out of date: the input has an error (see the status bar). This is the last "
                 "output that worked."));
  } else if (m_OutOfDate) {
    m_StaleNote->setText(tr("Out of date: this output was made from other input. Preprocess "
                            "(F5) to bring it up to date; Save does so itself."));
  }
  m_StaleNote->setVisible(m_Stale || m_OutOfDate);
}

bool OutputPane::isStale() const { return !m_StaleNote->isHidden(); }

}  // namespace orvo
