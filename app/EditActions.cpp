#include "app/EditActions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <algorithm>

#include "app/CodeEditor.h"
#include "app/CommentToggle.h"
#include "app/EditingBasics.h"

namespace orvo {

EditActions::EditActions(QWidget* window, const QList<CodeEditor*>& editors, AskLine askLine)
    : QObject(window), m_Editors(editors), m_LastFocused(editors.value(0)),
      m_AskLine(std::move(askLine)) {
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (CodeEditor* editor : m_Editors) {
      if (now == editor) m_LastFocused = editor;
    }
  });
  struct Item {
    const char* name;
    const char* text;
    QList<QKeySequence> keys;
    void (QsciScintilla::*apply)();
  };
  const Item items[] = {
      {"ac_Undo", "&Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &QsciScintilla::undo},
      {"ac_Redo", "&Redo",
       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
       &QsciScintilla::redo},
      {"ac_Cut", "Cu&t", {QKeySequence(Qt::CTRL | Qt::Key_X)}, &QsciScintilla::cut},
      {"ac_Copy", "&Copy", {QKeySequence(Qt::CTRL | Qt::Key_C)}, &QsciScintilla::copy},
      {"ac_Paste", "&Paste", {QKeySequence(Qt::CTRL | Qt::Key_V)}, &QsciScintilla::paste},
      {"ac_SelectAll", "Select &All", {QKeySequence(Qt::CTRL | Qt::Key_A)}, nullptr},
  };
  for (const Item& item : items) {
    auto* action = new QAction(tr(item.text), this);
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcuts(item.keys);
    // Only while a text area has the focus: elsewhere (the find bar's
    // fields, a panel) the keys keep their own meaning there.
    action->setShortcutContext(Qt::WidgetShortcut);
    const auto apply = item.apply;
    connect(action, &QAction::triggered, this, [this, apply] {
      CodeEditor* editor = target();
      if (editor == nullptr) return;
      if (apply != nullptr) (editor->*apply)();
      else editor->selectAll(true);
      editor->setFocus();
    });
    m_Clipboard.append(action);
  }
  struct CodeEdit {
    const char* name;
    const char* text;
    QKeySequence key;
    void (*apply)(QsciScintilla&);
  };
  const CodeEdit codeEdits[] = {
      {"ac_ToggleComment", "Toggle &Comment", QKeySequence(Qt::CTRL | Qt::Key_Slash),
       &toggleLineComments},
      {"ac_SelectNextMatch", "Select &Next Match", QKeySequence(Qt::CTRL | Qt::Key_D),
       &selectNextMatch},
  };
  for (const CodeEdit& edit : codeEdits) {
    auto* action = new QAction(tr(edit.text), this);
    action->setObjectName(QString::fromLatin1(edit.name));
    action->setShortcut(edit.key);
    // The keys act in the text area that has the focus, nowhere else.
    action->setShortcutContext(Qt::WidgetShortcut);
    for (CodeEditor* editor : m_Editors) editor->addAction(action);
    const auto apply = edit.apply;
    connect(action, &QAction::triggered, this, [this, apply] {
      CodeEditor* editor = target();
      // A long-line editor holds the text in its own buffer meanwhile.
      if (editor == nullptr || editor->isCovered()) return;
      apply(*editor);
      editor->setFocus();
    });
    m_CodeEdits.append(action);
  }
  m_GoToLine = new QAction(tr("&Go to Line…"), this);
  m_GoToLine->setObjectName(QStringLiteral("ac_GoToLine"));
  m_GoToLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  connect(m_GoToLine, &QAction::triggered, this, [this] {
    CodeEditor* editor = target();
    if (editor == nullptr || !m_AskLine) return;
    if (const std::optional<int> line = m_AskLine(editor->cursorLine() + 1, std::max(1, editor->lines())))
      goToLine(*line);
  });
  window->addAction(m_GoToLine);
}

void EditActions::addTo(QMenu* menu) const {
  for (int i = 0; i < m_Clipboard.size(); ++i) {
    // Undo and redo, then the clipboard, then Select All.
    if (i == 2 || i == 5) menu->addSeparator();
    menu->addAction(m_Clipboard[i]);
  }
  menu->addSeparator();
  for (QAction* action : m_CodeEdits) menu->addAction(action);
  menu->addSeparator();
  menu->addAction(m_GoToLine);
}

CodeEditor* EditActions::target() const {
  for (CodeEditor* editor : m_Editors) {
    if (editor->hasFocus()) return editor;
  }
  return m_LastFocused;
}

void EditActions::goToLine(int line) {
  CodeEditor* editor = target();
  if (editor == nullptr) return;
  const int index = std::clamp(line, 1, std::max(1, editor->lines())) - 1;
  editor->setCursorPosition(index, 0);
  editor->ensureLineVisible(index);
  editor->setFocus();
  emit wentToLine(editor);
}

}  // namespace orvo
