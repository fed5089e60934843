#include "app/EditingBasics.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QKeySequence>

namespace orvo {
namespace {

// Keys the editor binds by default that the window gives other meanings:
// Ctrl+D duplicated the selection unasked (it selects the next match
// instead), Ctrl+/ and Ctrl+\ moved by word parts (they toggle comments
// and the side-by-side arrangement; their Shift forms go with them).
const QKeyCombination kKeysTakenFromEditor[] = {
    Qt::CTRL | Qt::Key_D,
    Qt::CTRL | Qt::Key_Slash,
    Qt::CTRL | Qt::SHIFT | Qt::Key_Slash,
    Qt::CTRL | Qt::Key_Backslash,
    Qt::CTRL | Qt::SHIFT | Qt::Key_Backslash,
};

void unbindKey(QsciScintilla& editor, int key) {
  // A command may hold the key as its main or its alternate key.
  while (QsciCommand* command = editor.standardCommands()->boundTo(key)) {
    if (command->key() == key) command->setKey(0);
    if (command->alternateKey() == key) command->setAlternateKey(0);
  }
}

const EditorGesture kGestures[] = {
    {"Ctrl+Click", "Add a caret"},
    {"Alt+Drag", "Select a column"},
    {"Alt+Shift+Arrow keys", "Select a column"},
    {"Tab, Shift+Tab", "Indent or unindent the selected lines"},
    {"Escape", "Back to one caret"},
};

}  // namespace

std::span<const EditorGesture> editorGestures() { return kGestures; }

const QColor kMatchedBraceBack(0xc8, 0xe6, 0xc9);
const QColor kUnmatchedBraceBack(0xf8, 0xc8, 0xc8);

void setUpEditingBasics(QsciScintilla& editor) {
  editor.setAutoIndent(true);
  editor.setIndentationsUseTabs(false);
  editor.setIndentationWidth(kIndentWidth);
  editor.setTabIndents(true);
  editor.setBackspaceUnindents(true);
  editor.setBraceMatching(QsciScintilla::SloppyBraceMatch);
  editor.setMatchedBraceBackgroundColor(kMatchedBraceBack);
  editor.setUnmatchedBraceBackgroundColor(kUnmatchedBraceBack);

  editor.SendScintilla(QsciScintillaBase::SCI_SETMULTIPLESELECTION, 1);
  editor.SendScintilla(QsciScintillaBase::SCI_SETADDITIONALSELECTIONTYPING, 1);
  editor.SendScintilla(QsciScintillaBase::SCI_SETMULTIPASTE, QsciScintillaBase::SC_MULTIPASTE_EACH);
  for (const QKeyCombination key : kKeysTakenFromEditor) unbindKey(editor, key.toCombined());
}

void selectNextMatch(QsciScintilla& editor) {
  // The whole text is searched, from the main selection on, wrapping.
  editor.SendScintilla(QsciScintillaBase::SCI_TARGETWHOLEDOCUMENT);
  editor.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, QsciScintillaBase::SCFIND_MATCHCASE);
  editor.SendScintilla(QsciScintillaBase::SCI_MULTIPLESELECTADDNEXT);
  // The match added is the main selection: it is brought into view.
  const auto main =
      static_cast<unsigned long>(editor.SendScintilla(QsciScintillaBase::SCI_GETMAINSELECTION));
  editor.SendScintilla(QsciScintillaBase::SCI_SCROLLRANGE,
                       static_cast<unsigned long>(
                           editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNCARET, main)),
                       editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNANCHOR, main));
}

}  // namespace orvo
