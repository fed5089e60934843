// A text area for C and C++ text: monospace font, line numbers, colouring,
// current-line highlight, and a mark for an error place with its message as
// a tool tip. It holds the very bytes the engine reads: its positions are
// byte offsets, and its line ends are CR LF.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

// How the editor turns its bytes into characters. Text that is not valid
// UTF-8 is shown as Latin-1, one character per byte, so that no byte is lost.
enum class TextEncoding { Utf8, Latin1 };

// The encoding that shows `bytes` without losing any: UTF-8 when they are
// valid UTF-8, Latin-1 otherwise.
TextEncoding encodingOf(const QByteArray& bytes);

class LongLineEditor;

class CodeEditor : public QsciScintilla {
  Q_OBJECT

 public:
  explicit CodeEditor(QWidget* parent = nullptr);

  // Replaces the text with `bytes`, unchanged, shown in `encoding`; bare LF
  // and CR line ends become CR LF when `crlf` is set. Clears the undo history.
  void setBytes(std::string_view bytes, TextEncoding encoding, bool crlf = true);
  // Replaces the text with `bytes` (line ends made CR LF) as one edit that
  // Undo takes back; in another encoding than the current one it is
  // setBytes().
  void replaceAllBytes(std::string_view bytes, TextEncoding encoding);
  // The text exactly as held; byte offsets into it are editor positions.
  // Edits of a long-line editor over this one are handed over first, here
  // and in fileLines() and isModified().
  QByteArray bytes() const;
  bool isModified() const;
  // The editor that edits this one's text while it has a long line.
  void setCover(LongLineEditor* cover) { m_Cover = cover; }
  // Whether a long-line editor edits the text in this one's place now.
  bool isCovered() const;
  // The lines each followed by CR LF, as a text file holds them; an empty
  // last line is no line of its own, so an empty text gives no bytes.
  QByteArray fileLines() const;
  TextEncoding encoding() const { return m_Encoding; }

  // Selects the characters touched by the bytes [begin, end) and shows them.
  void selectBytes(int begin, int end);
  // 0-based line of the character that holds byte `offset`.
  int lineOfByte(int offset) const;
  // 0-based line of the text cursor.
  int cursorLine() const;

  // The place to show for the bytes [begin, end): the range itself, or,
  // when it shows nothing (blanks and line ends only, such as the line
  // break a parse stopped after), the text that follows it up to the end
  // of that text's line. At the end of the text the range stays.
  std::pair<int, int> visiblePlace(int begin, int end) const;

  // Underlines the characters touched by the bytes [begin, end) as an error
  // place; `message` shows as the tool tip over it. One place at a time.
  void markError(int begin, int end, const QString& message);
  void clearErrorMark();
  bool hasErrorMark() const { return !m_ErrorMessage.isEmpty(); }
  // The marked byte range; empty when nothing is marked.
  std::pair<int, int> errorMark() const { return {m_ErrorBegin, m_ErrorEnd}; }
  QString errorMessage() const { return m_ErrorMessage; }

  // Greys the text of the 0-based lines first..last of each range (lines a
  // run skipped); replaces the earlier ones.
  void setGreyedLines(const std::vector<std::pair<int, int>>& ranges);
  bool isGreyed(int line) const;
  // Highlights the 0-based `lines` (the lines linked to the cursor's line
  // in the other editor); replaces the earlier ones.
  void setLinkedLines(const std::vector<int>& lines);
  const std::vector<int>& linkedLines() const { return m_LinkedLines; }

  // Shows the text as prose (the welcome text and its output): wrapped at
  // the area's width, with no word coloured as a C keyword; or as code.
  void setProse(bool prose);
  bool isProse() const { return m_Prose; }

  // Blank room of `pixels` above the text that shows no line: where an
  // aligned view has gap rows above the first line.
  void setTopGap(int pixels) { setViewportMargins(0, pixels, 0, 0); }
  int topGap() const { return viewportMargins().top(); }

  // Shows `text` as a tool tip until the mouse dwells no more (SCN_DWELLEND).
  void showHoverTip(const QPoint& globalPos, const QString& text);
  void hideHoverTip();
  bool hoverTipShown() const { return m_HoverTipShown; }

 signals:
  // Local files dragged onto the editor; they are opened, not inserted.
  void filesDropped(const QList<QUrl>& urls);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Ctrl+click adds a caret; Alt+drag selects a column.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void setUpLook();
  void appendBytes(std::string_view bytes, bool crlf);
  void updateLineNumberWidth();
  // Byte offsets widened to whole characters.
  int characterStart(int offset) const;
  int characterEnd(int offset) const;

  TextEncoding m_Encoding = TextEncoding::Utf8;
  int m_ErrorBegin = 0;
  int m_ErrorEnd = 0;
  QString m_ErrorMessage;
  std::vector<int> m_LinkedLines;
  bool m_HoverTipShown = false;
  bool m_Prose = false;
  bool m_ColumnDrag = false;  // an Alt+drag is under way
  LongLineEditor* m_Cover = nullptr;
};

}  // namespace orvo
