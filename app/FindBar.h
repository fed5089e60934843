// The find bar under the text areas: Find (Ctrl+F) with next and previous
// (F3, Shift+F3, Enter, Shift+Enter), every match highlighted, and Replace
// (Ctrl+H) with Replace All. It searches the text area that last had the
// focus; Escape closes it and hands the focus back to that area.
#pragma once

#include <QWidget>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvo {

class CodeEditor;

class FindBar : public QWidget {
  Q_OBJECT

 public:
  // Searches in `editors`, the one focused last (the first at start).
  FindBar(const QList<CodeEditor*>& editors, QWidget* parent = nullptr);

  // The window's actions for the menu and the keys.
  QAction* findAction() const { return m_Find; }
  QAction* replaceAction() const { return m_Replace; }
  QAction* findNextAction() const { return m_FindNext; }
  QAction* findPreviousAction() const { return m_FindPrevious; }

  // Opens the bar for finding (and replacing when `replace`), with the
  // searched area's selection as the text to find when it is one line.
  void open(bool replace);
  // Selects the next (or previous) match after (before) the selection,
  // wrapping at the end; false when there is none.
  bool findNext();
  bool findPrevious();
  // Replaces the selected match and finds the next; replaces every match.
  void replaceCurrent();
  int replaceAll();

  void setFindText(const QString& text);
  void setReplaceText(const QString& text);
  void setMatchCase(bool on);
  CodeEditor* target() const { return m_Target; }
  // How many matches are highlighted, and what the bar says about them.
  int highlightedCount() const { return static_cast<int>(m_MatchStarts.size()); }
  QString statusText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The byte range of the first match in [from, to) (searching backwards
  // when to < from); {-1, -1} when none.
  std::pair<long, long> search(long from, long to) const;
  bool find(bool forward);
  void highlightAll();
  void clearHighlight(CodeEditor* editor);
  void showCount(long selectedStart);
  int searchFlags() const;
  QByteArray needle() const;

  QList<CodeEditor*> m_Editors;
  CodeEditor* m_Target = nullptr;
  QLineEdit* m_FindText = nullptr;
  QLineEdit* m_ReplaceText = nullptr;
  QCheckBox* m_MatchCase = nullptr;
  QLabel* m_Status = nullptr;
  QWidget* m_ReplaceRow = nullptr;
  QAction* m_Find = nullptr;
  QAction* m_Replace = nullptr;
  QAction* m_FindNext = nullptr;
  QAction* m_FindPrevious = nullptr;
  std::vector<long> m_MatchStarts;  // of the highlighted matches, in order
  bool m_HighlightCapped = false;
};

}  // namespace orvo
