#include "app/FindBar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CodeEditor.h"

namespace orvo {
namespace {

// The indicator that highlights every match; CodeEditor uses 8 and 9.
constexpr int kMatchIndicator = 10;
const QColor kMatchColour(0xff, 0xc8, 0x3d);
// Translucency of the match highlight (0-255), so the text stays readable.
constexpr int kMatchAlpha = 110;
// At most this many matches are highlighted and counted: enough for any
// screenful, and it bounds the work on a huge text with a one-letter search.
constexpr std::size_t kMaxHighlightedMatches = 10000;

using Sci = QsciScintillaBase;

}  // namespace

FindBar::FindBar(const QList<CodeEditor*>& editors, QWidget* parent)
    : QWidget(parent), m_Editors(editors), m_Target(editors.value(0)) {
  setObjectName(QStringLiteral("FindBar"));
  for (CodeEditor* editor : m_Editors) {
    editor->SendScintilla(Sci::SCI_INDICSETSTYLE, kMatchIndicator, Sci::INDIC_FULLBOX);
    editor->SendScintilla(Sci::SCI_INDICSETFORE, kMatchIndicator, kMatchColour);
    editor->SendScintilla(Sci::SCI_INDICSETALPHA, kMatchIndicator, kMatchAlpha);
    editor->SendScintilla(Sci::SCI_INDICSETUNDER, kMatchIndicator, 1);
  }
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (CodeEditor* editor : m_Editors) {
      if (now != editor || editor == m_Target) continue;
      clearHighlight(m_Target);
      m_Target = editor;
      if (isVisible()) highlightAll();
    }
  });

  m_FindText = new QLineEdit(this);
  m_FindText->setObjectName(QStringLiteral("ed_Find"));
  m_FindText->setPlaceholderText(tr("Find"));
  m_FindText->setClearButtonEnabled(true);
  m_ReplaceText = new QLineEdit(this);
  m_ReplaceText->setObjectName(QStringLiteral("ed_Replace"));
  m_ReplaceText->setPlaceholderText(tr("Replace with"));
  m_MatchCase = new QCheckBox(tr("Match &case"), this);
  m_MatchCase->setObjectName(QStringLiteral("cb_MatchCase"));
  m_Status = new QLabel(this);
  m_Status->setObjectName(QStringLiteral("lbl_FindStatus"));

  const auto button = [this](const QString& text, const QString& tip, const char* name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* previous = button(tr("Previous"), tr("Previous match (Shift+F3, Shift+Enter)"),
                                 "btn_FindPrevious");
  QPushButton* next = button(tr("Next"), tr("Next match (F3, Enter)"), "btn_FindNext");
  QPushButton* replace = button(tr("Replace"), tr("Replace this match and find the next"),
                                "btn_Replace");
  QPushButton* replaceAll = button(tr("Replace All"), tr("Replace every match"), "btn_ReplaceAll");
  auto* close = new QToolButton(this);
  close->setObjectName(QStringLiteral("btn_FindClose"));
  close->setText(QStringLiteral("✕"));
  close->setToolTip(tr("Close (Escape)"));
  close->setAutoRaise(true);

  auto* findRow = new QHBoxLayout;
  findRow->addWidget(new QLabel(tr("Find:"), this));
  findRow->addWidget(m_FindText, 1);
  findRow->addWidget(previous);
  findRow->addWidget(next);
  findRow->addWidget(m_MatchCase);
  findRow->addWidget(m_Status);
  findRow->addWidget(close);
  m_ReplaceRow = new QWidget(this);
  auto* replaceRow = new QHBoxLayout(m_ReplaceRow);
  replaceRow->setContentsMargins(0, 0, 0, 0);
  replaceRow->addWidget(new QLabel(tr("Replace:"), m_ReplaceRow));
  replaceRow->addWidget(m_ReplaceText, 1);
  replaceRow->addWidget(replace);
  replaceRow->addWidget(replaceAll);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(4, 2, 4, 2);
  rows->setSpacing(2);
  rows->addLayout(findRow);
  rows->addWidget(m_ReplaceRow);

  connect(m_FindText, &QLineEdit::textEdited, this, [this] {
    // Searching as one types starts over from the selection's start.
    if (m_Target == nullptr) return;
    const long start = m_Target->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    m_Target->SendScintilla(Sci::SCI_SETEMPTYSELECTION, start);
    if (m_FindText->text().isEmpty()) {
      clearHighlight(m_Target);
      m_Status->clear();
      return;
    }
    findNext();
  });
  connect(m_MatchCase, &QCheckBox::toggled, this, [this] { highlightAll(); });
  connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
  connect(next, &QPushButton::clicked, this, &FindBar::findNext);
  connect(replace, &QPushButton::clicked, this, &FindBar::replaceCurrent);
  connect(replaceAll, &QPushButton::clicked, this, &FindBar::replaceAll);
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    if (m_Target != nullptr) m_Target->setFocus();
  });

  const auto action = [this](const QString& text, const QKeySequence& key, const char* name) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    return a;
  };
  m_Find = action(tr("&Find…"), QKeySequence(Qt::CTRL | Qt::Key_F), "ac_Find");
  m_Replace = action(tr("&Replace…"), QKeySequence(Qt::CTRL | Qt::Key_H), "ac_Replace");
  m_FindNext = action(tr("Find &Next"), QKeySequence(Qt::Key_F3), "ac_FindNext");
  m_FindPrevious =
      action(tr("Find Pre&vious"), QKeySequence(Qt::SHIFT | Qt::Key_F3), "ac_FindPrevious");
  connect(m_Find, &QAction::triggered, this, [this] { open(false); });
  connect(m_Replace, &QAction::triggered, this, [this] { open(true); });
  connect(m_FindNext, &QAction::triggered, this, [this] {
    if (m_FindText->text().isEmpty()) open(false);
    else findNext();
  });
  connect(m_FindPrevious, &QAction::triggered, this, [this] {
    if (m_FindText->text().isEmpty()) open(false);
    else findPrevious();
  });
  hide();
}

void FindBar::open(bool replace) {
  if (m_Target != nullptr && m_Target->hasSelectedText()) {
    const QString selected = m_Target->selectedText();
    if (!selected.contains(QLatin1Char('\n')) && !selected.contains(QLatin1Char('\r')))
      m_FindText->setText(selected);
  }
  m_ReplaceRow->setVisible(replace);
  show();
  m_FindText->setFocus();
  m_FindText->selectAll();
  highlightAll();
}

void FindBar::setFindText(const QString& text) {
  m_FindText->setText(text);
  highlightAll();
}

void FindBar::setReplaceText(const QString& text) { m_ReplaceText->setText(text); }

void FindBar::setMatchCase(bool on) { m_MatchCase->setChecked(on); }

QString FindBar::statusText() const { return m_Status->text(); }

int FindBar::searchFlags() const { return m_MatchCase->isChecked() ? Sci::SCFIND_MATCHCASE : 0; }

QByteArray FindBar::needle() const {
  // The editor holds bytes in its own encoding; the search text must match them.
  if (m_Target != nullptr && m_Target->encoding() == TextEncoding::Latin1)
    return m_FindText->text().toLatin1();
  return m_FindText->text().toUtf8();
}

std::pair<long, long> FindBar::search(long from, long to) const {
  const QByteArray text = needle();
  if (m_Target == nullptr || text.isEmpty()) return {-1, -1};
  m_Target->SendScintilla(Sci::SCI_SETSEARCHFLAGS, searchFlags());
  m_Target->SendScintilla(Sci::SCI_SETTARGETRANGE, from, to);
  const long found = m_Target->SendScintilla(Sci::SCI_SEARCHINTARGET, text.size(), text.constData());
  if (found < 0) return {-1, -1};
  return {found, m_Target->SendScintilla(Sci::SCI_GETTARGETEND)};
}

bool FindBar::findNext() { return find(true); }

bool FindBar::findPrevious() { return find(false); }

bool FindBar::find(bool forward) {
  if (m_Target == nullptr) return false;
  const long length = m_Target->SendScintilla(Sci::SCI_GETLENGTH);
  const long start = m_Target->SendScintilla(Sci::SCI_GETSELECTIONSTART);
  const long end = m_Target->SendScintilla(Sci::SCI_GETSELECTIONEND);
  // Backwards searches give ranges from the end of the text towards its start.
  std::pair<long, long> match = forward ? search(end, length) : search(start, 0);
  if (match.first < 0) match = forward ? search(0, end) : search(length, start);
  highlightAll();
  if (match.first < 0) {
    m_Status->setText(m_FindText->text().isEmpty() ? QString() : tr("No matches"));
    return false;
  }
  m_Target->SendScintilla(Sci::SCI_SETSEL, match.first, match.second);
  m_Target->SendScintilla(Sci::SCI_SCROLLRANGE, match.second, match.first);
  showCount(match.first);
  return true;
}

void FindBar::replaceCurrent() {
  if (m_Target == nullptr || m_Target->isReadOnly()) return;
  const long start = m_Target->SendScintilla(Sci::SCI_GETSELECTIONSTART);
  const long end = m_Target->SendScintilla(Sci::SCI_GETSELECTIONEND);
  const std::pair<long, long> match = search(start, end);
  if (start != end && match.first == start && match.second == end) {
    const QByteArray replacement = m_Target->encoding() == TextEncoding::Latin1
                                       ? m_ReplaceText->text().toLatin1()
                                       : m_ReplaceText->text().toUtf8();
    m_Target->SendScintilla(Sci::SCI_SETTARGETRANGE, start, end);
    m_Target->SendScintilla(Sci::SCI_REPLACETARGET, replacement.size(), replacement.constData());
    const long after = m_Target->SendScintilla(Sci::SCI_GETTARGETEND);
    m_Target->SendScintilla(Sci::SCI_SETEMPTYSELECTION, after);
  }
  findNext();
}

int FindBar::replaceAll() {
  if (m_Target == nullptr || m_Target->isReadOnly() || needle().isEmpty()) return 0;
  const QByteArray replacement = m_Target->encoding() == TextEncoding::Latin1
                                     ? m_ReplaceText->text().toLatin1()
                                     : m_ReplaceText->text().toUtf8();
  int replaced = 0;
  long from = 0;
  // One undo step takes all the replacements back.
  m_Target->SendScintilla(Sci::SCI_BEGINUNDOACTION);
  for (;;) {
    const std::pair<long, long> match = search(from, m_Target->SendScintilla(Sci::SCI_GETLENGTH));
    if (match.first < 0) break;
    m_Target->SendScintilla(Sci::SCI_SETTARGETRANGE, match.first, match.second);
    m_Target->SendScintilla(Sci::SCI_REPLACETARGET, replacement.size(), replacement.constData());
    from = m_Target->SendScintilla(Sci::SCI_GETTARGETEND);
    ++replaced;
  }
  m_Target->SendScintilla(Sci::SCI_ENDUNDOACTION);
  highlightAll();
  m_Status->setText(tr("Replaced %n match(es)", nullptr, replaced));
  return replaced;
}

void FindBar::clearHighlight(CodeEditor* editor) {
  if (editor == nullptr) return;
  editor->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kMatchIndicator);
  editor->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0, editor->SendScintilla(Sci::SCI_GETLENGTH));
  m_MatchStarts.clear();
  m_HighlightCapped = false;
}

void FindBar::highlightAll() {
  clearHighlight(m_Target);
  if (m_Target == nullptr) return;
  const long length = m_Target->SendScintilla(Sci::SCI_GETLENGTH);
  long from = 0;
  while (from < length) {
    const std::pair<long, long> match = search(from, length);
    if (match.first < 0 || match.second <= match.first) break;
    if (m_MatchStarts.size() == kMaxHighlightedMatches) {
      m_HighlightCapped = true;
      break;
    }
    m_Target->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kMatchIndicator);
    m_Target->SendScintilla(Sci::SCI_INDICATORFILLRANGE, match.first, match.second - match.first);
    m_MatchStarts.push_back(match.first);
    from = match.second;
  }
}

void FindBar::showCount(long selectedStart) {
  // The selected match's number: the highlighted matches before it, plus one.
  const auto before = std::lower_bound(m_MatchStarts.begin(), m_MatchStarts.end(), selectedStart);
  const QString total = m_HighlightCapped ? tr("%1+").arg(m_MatchStarts.size())
                                          : QString::number(m_MatchStarts.size());
  m_Status->setText(tr("%1 of %2").arg(before - m_MatchStarts.begin() + 1).arg(total));
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      hide();
      if (m_Target != nullptr) m_Target->setFocus();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (m_ReplaceText->hasFocus() && !(event->modifiers() & Qt::ShiftModifier)) {
        replaceCurrent();
      } else if (event->modifiers() & Qt::ShiftModifier) {
        findPrevious();
      } else {
        findNext();
      }
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace orvo
