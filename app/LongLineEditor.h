// Editing for an input with a line too long for the code editor. The code
// editor lays a line out whole after every change and its document costs
// time in proportion to an edit's distance from the start of the text, so
// on a line of megabytes each key would take seconds. This editor keeps the
// text in a buffer of its own, draws only the visible part in a fixed-pitch
// font, keeps its own undo history, and hands its edits to the code
// editor's document (which stays the text every other part reads) once
// typing pauses, and at once before anything reads that document or the
// focus or a shortcut leaves this editor.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QTimer>
#include <vector>

namespace orvo {

class CodeEditor;

class LongLineEditor : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Lines at least this long (in bytes) make the window edit its input
  // here: the code editor's per-key cost grows with the line's length and
  // passes a frame (16 ms) at about 20 KB on the development machine.
  static constexpr int kLongLineBytes = 16 * 1024;
  // How long typing pauses before the edits are handed to the document.
  static constexpr int kHandOverDelayMs = 300;

  // Covers `document` (a child of it, sized with it) while it is active.
  explicit LongLineEditor(CodeEditor* document);

  // Whether `bytes` has a line of kLongLineBytes or more.
  static bool hasLongLine(const QByteArray& bytes);

  // Takes the document's text and covers the document; or gives the edits
  // back and uncovers it.
  void activate();
  void deactivate();
  bool isActive() const { return m_Active; }

  // Hands edits not yet in the document to it.
  void handOver();

  QByteArray text() const { return m_Text; }
  int cursorPosition() const { return m_Caret; }
  void setCursorPosition(int offset);
  // Selects the characters touched by the bytes [begin, end) and shows them.
  void select(int begin, int end);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Edit {
    int position;
    QByteArray removed;
    QByteArray inserted;
  };

  // Replaces the bytes [begin, end) with `bytes` as one edit that Undo
  // takes back; typing a character after the last one joins its edit.
  void replace(int begin, int end, const QByteArray& bytes, bool typing = false);
  void apply(const Edit& edit, bool forward);
  void undo();
  void redo();
  void insertText(const QString& text);
  void deleteSelection();
  bool hasSelection() const { return m_Anchor != m_Caret; }
  void moveTo(int offset, bool select);
  // The document changed by other means (a replace, a load): take its text.
  void documentChanged();

  void indexLines();
  int lineOf(int offset) const;
  int lineStart(int line) const { return m_LineStarts[static_cast<std::size_t>(line)]; }
  // The end of the line's text, before its line break.
  int lineEnd(int line) const;
  int lineCount() const { return static_cast<int>(m_LineStarts.size()); }
  // Characters and tab stops between positions; the position at a column.
  int columnOf(int offset) const;
  int offsetAt(int line, int column) const;
  int nextCharacter(int offset) const;
  int previousCharacter(int offset) const;
  QString decode(int begin, int end) const;

  int offsetAtPoint(const QPoint& point) const;
  void updateScrollBars();
  void ensureCaretVisible();
  int visibleLines() const;
  int visibleColumns() const;

  CodeEditor* m_Document;
  QByteArray m_Text;
  QByteArray m_HandedOver;  // the document's text as last taken or handed over
  std::vector<int> m_LineStarts;
  int m_LongestLine = 0;
  // Tabs and bytes beyond ASCII in the text: while there are none, a
  // column is a byte count and nothing needs scanning.
  qsizetype m_WideBytes = 0;
  int m_Caret = 0;
  int m_Anchor = 0;
  qreal m_CharWidth = 8;  // fractional, as the font advances
  int m_LineHeight = 16;
  bool m_Active = false;
  bool m_HandingOver = false;
  bool m_Latin1 = false;
  std::vector<Edit> m_Undo;
  std::vector<Edit> m_Redo;
  bool m_Typing = false;  // the last edit was typed and may take more
  QTimer m_HandOverTimer;
};

}  // namespace orvo
