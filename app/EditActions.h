// The Edit menu's editing items: Undo, Redo, Cut, Copy, Paste, Select All,
// Toggle Comment, Select Next Match and Go to Line, acting on the text area that has the focus (or had it last,
// when the focus is in a panel or the menu).
#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace orvo {

class CodeEditor;

class EditActions : public QObject {
  Q_OBJECT

 public:
  // Asks for a 1-based line number between 1 and `last`, offering
  // `current`; nothing when cancelled.
  using AskLine = std::function<std::optional<int>(int current, int last)>;

  // The actions work from anywhere in `window`, in `editors` (the first is
  // the target until another takes the focus).
  EditActions(QWidget* window, const QList<CodeEditor*>& editors, AskLine askLine);

  // Adds the items to `menu`: undo and redo, the clipboard, Select All,
  // the code edits, then Go to Line after a separator.
  void addTo(QMenu* menu) const;

  CodeEditor* target() const;
  // Moves the cursor of the target to the start of 1-based `line` (clamped)
  // and shows it.
  void goToLine(int line);

 signals:
  // Go to Line moved the cursor of `editor`.
  void wentToLine(CodeEditor* editor);

 private:
  QList<CodeEditor*> m_Editors;
  CodeEditor* m_LastFocused = nullptr;
  AskLine m_AskLine;
  QList<QAction*> m_Clipboard;  // undo to select all, in menu order
  QList<QAction*> m_CodeEdits;  // Toggle Comment, Select Next Match
  QAction* m_GoToLine = nullptr;
};

}  // namespace orvo
