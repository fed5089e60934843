#include "app/CommentToggle.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <algorithm>
#include <climits>
#include <set>
#include <utility>
#include <vector>

namespace orvo {
namespace {

using Base = QsciScintillaBase;

constexpr char kMark[] = "//";
constexpr int kMarkLength = 2;
constexpr char kMarkAndBlank[] = "// ";

long send(QsciScintilla& editor, unsigned int message, unsigned long wParam = 0, long lParam = 0) {
  return editor.SendScintilla(message, wParam, lParam);
}

// The lines touched by each selection.
std::set<long> selectedLines(QsciScintilla& editor) {
  std::set<long> lines;
  const long count = send(editor, Base::SCI_GETSELECTIONS);
  for (long i = 0; i < count; ++i) {
    const long start = send(editor, Base::SCI_GETSELECTIONNSTART, i);
    const long end = send(editor, Base::SCI_GETSELECTIONNEND, i);
    const long first = send(editor, Base::SCI_LINEFROMPOSITION, start);
    long last = send(editor, Base::SCI_LINEFROMPOSITION, end);
    if (last > first && send(editor, Base::SCI_POSITIONFROMLINE, last) == end) --last;
    for (long line = first; line <= last; ++line) lines.insert(line);
  }
  return lines;
}

// The line's text without its line end.
QByteArray lineText(QsciScintilla& editor, long line) {
  const long start = send(editor, Base::SCI_POSITIONFROMLINE, line);
  const long end = send(editor, Base::SCI_GETLINEENDPOSITION, line);
  const auto* bytes = reinterpret_cast<const char*>(
      send(editor, Base::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
  return QByteArray(bytes, end - start);
}

// Bytes of blanks in front of the text; the whole length for a blank line.
int leadingBlanks(const QByteArray& text) {
  int i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

// The selections, kept across the edits: an edit of the text drops them.
class KeptSelections {
 public:
  explicit KeptSelections(QsciScintilla& editor) : m_Editor(editor) {
    const long count = send(editor, Base::SCI_GETSELECTIONS);
    for (long i = 0; i < count; ++i) {
      m_Ranges.push_back({send(editor, Base::SCI_GETSELECTIONNANCHOR, i),
                          send(editor, Base::SCI_GETSELECTIONNCARET, i)});
    }
    m_Main = send(editor, Base::SCI_GETMAINSELECTION);
  }

  // `length` bytes went in at `position`: what follows moves on; a place
  // right at `position` stays in front of them.
  void inserted(long position, long length) {
    for (auto& [anchor, caret] : m_Ranges) {
      for (long* place : {&anchor, &caret}) {
        if (*place > position) *place += length;
      }
    }
  }
  // `length` bytes at `position` went out.
  void deleted(long position, long length) {
    for (auto& [anchor, caret] : m_Ranges) {
      for (long* place : {&anchor, &caret}) {
        if (*place >= position + length) {
          *place -= length;
        } else if (*place > position) {
          *place = position;
        }
      }
    }
  }

  void restore() {
    for (std::size_t i = 0; i < m_Ranges.size(); ++i) {
      const auto [anchor, caret] = m_Ranges[i];
      send(m_Editor, i == 0 ? Base::SCI_SETSELECTION : Base::SCI_ADDSELECTION,
           static_cast<unsigned long>(caret), anchor);
    }
    send(m_Editor, Base::SCI_SETMAINSELECTION, static_cast<unsigned long>(m_Main));
  }

 private:
  QsciScintilla& m_Editor;
  std::vector<std::pair<long, long>> m_Ranges;  // anchor, caret
  long m_Main = 0;
};

}  // namespace

void toggleLineComments(QsciScintilla& editor) {
  if (editor.isReadOnly()) return;
  const std::set<long> lines = selectedLines(editor);
  // What each non-blank line holds: where its text starts, and whether it
  // is commented.
  bool allCommented = true;
  int indent = INT_MAX;
  bool anyText = false;
  for (const long line : lines) {
    const QByteArray text = lineText(editor, line);
    const int blanks = leadingBlanks(text);
    if (blanks == text.size()) continue;
    anyText = true;
    indent = std::min(indent, blanks);
    if (!text.mid(blanks).startsWith(kMark)) allCommented = false;
  }
  if (!anyText) return;

  KeptSelections selections(editor);
  send(editor, Base::SCI_BEGINUNDOACTION);
  for (const long line : lines) {
    const QByteArray text = lineText(editor, line);
    const int blanks = leadingBlanks(text);
    if (blanks == text.size()) continue;
    const long start = send(editor, Base::SCI_POSITIONFROMLINE, line);
    if (allCommented) {
      const bool blankAfter = text.size() > blanks + kMarkLength && text[blanks + kMarkLength] == ' ';
      const long length = kMarkLength + (blankAfter ? 1 : 0);
      send(editor, Base::SCI_DELETERANGE, static_cast<unsigned long>(start + blanks), length);
      selections.deleted(start + blanks, length);
    } else {
      editor.SendScintilla(Base::SCI_INSERTTEXT, static_cast<unsigned long>(start + indent),
                           kMarkAndBlank);
      selections.inserted(start + indent, sizeof kMarkAndBlank - 1);
    }
  }
  send(editor, Base::SCI_ENDUNDOACTION);
  selections.restore();
}

}  // namespace orvo
