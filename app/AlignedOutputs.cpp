#include "app/AlignedOutputs.h"

#include <algorithm>
#include <string>

#include "app/CodeEditor.h"

namespace orvo {
namespace {

// The style of gap rows: past every style the C lexer uses (its inactive
// styles end below 128).
constexpr int kGapStyle = 200;
const QColor kGapBackground(0xee, 0xee, 0xee);
const QColor kDifferenceBackground(255, 228, 196);

int lineHeight(const CodeEditor* editor) {
  return static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
}

}  // namespace

AlignedOutputs::AlignedOutputs(CodeEditor* main, CodeEditor* standard, QObject* parent)
    : QObject(parent), m_Sides{Side{main, {}, 0}, Side{standard, {}, 0}} {
  for (Side& side : m_Sides) {
    CodeEditor* editor = side.editor.data();
    editor->markerDefine(QsciScintilla::Background, kDifferenceMarker);
    editor->setMarkerBackgroundColor(kDifferenceBackground, kDifferenceMarker);
    editor->SendScintilla(QsciScintillaBase::SCI_STYLESETBACK, kGapStyle, kGapBackground);
    editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETVISIBLE,
                          QsciScintillaBase::ANNOTATION_STANDARD);
    connect(editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this, &side](int) { follow(side); });
    // An alignment holds for the texts it was made for only.
    connect(editor, &QsciScintilla::textChanged, this, [this] {
      if (m_Aligned) clear();
    });
    // Gap rows above the first line are room of so many line heights.
    connect(editor, &QsciScintillaBase::SCN_ZOOM, this, [this] {
      if (m_Aligned) setTopRow(m_TopRow);
    });
  }
}

void AlignedOutputs::apply(const OutputAlignment& alignment) {
  m_Sides[0].alignment = alignment.main;
  m_Sides[1].alignment = alignment.standard;
  m_Aligned = true;
  for (Side& side : m_Sides) {
    // Each may scroll past its last line, so that the two reach every row
    // together however tall each is.
    side.editor->SendScintilla(QsciScintillaBase::SCI_SETENDATLASTLINE, 0UL);
    applyGaps(side);
  }
  setTopRow(0);
}

void AlignedOutputs::applyGaps(Side& side) {
  CodeEditor* editor = side.editor.data();
  editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONCLEARALL);
  editor->markerDeleteAll(kDifferenceMarker);
  // The style is set again: a lexer may have reset every style since.
  editor->SendScintilla(QsciScintillaBase::SCI_STYLESETBACK, kGapStyle, kGapBackground);
  // Hidden while they are set, the annotations are laid out once at the
  // end, not once each: a 2 MB result has tens of thousands.
  editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETVISIBLE, QsciScintillaBase::ANNOTATION_HIDDEN);
  const AlignedSide& aligned = side.alignment;
  const int lines = std::min(editor->lines(), static_cast<int>(aligned.gapAfter.size()));
  std::string rows;
  for (int line = 0; line < lines; ++line) {
    const int gap = aligned.gapAfter[static_cast<std::size_t>(line)];
    if (gap > 0) {
      // An annotation of n lines: a blank, then n - 1 line breaks.
      rows.assign(1, ' ');
      rows.append(static_cast<std::size_t>(gap - 1), '\n');
      editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line),
                            rows.c_str());
      editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETSTYLE, static_cast<unsigned long>(line),
                            static_cast<long>(kGapStyle));
    }
    if (aligned.differs[static_cast<std::size_t>(line)]) editor->markerAdd(line, kDifferenceMarker);
  }
  editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETVISIBLE, QsciScintillaBase::ANNOTATION_STANDARD);
}

void AlignedOutputs::clear() {
  m_Aligned = false;
  if (!bothAlive()) return;
  for (Side& side : m_Sides) clearSide(side);
}

void AlignedOutputs::clearSide(Side& side) {
  side.alignment = AlignedSide{};
  side.editor->SendScintilla(QsciScintillaBase::SCI_ANNOTATIONCLEARALL);
  side.editor->markerDeleteAll(kDifferenceMarker);
  side.editor->setTopGap(0);
  side.editor->SendScintilla(QsciScintillaBase::SCI_SETENDATLASTLINE, 1UL);
  side.lastFirstLine = side.editor->firstVisibleLine();
}

void AlignedOutputs::setFollowing(bool on) {
  m_Following = on;
  if (!on) return;
  // Each may have scrolled alone meanwhile: the main result leads.
  Side& main = m_Sides[0];
  main.lastFirstLine = -1;
  follow(main);
}

int AlignedOutputs::mainRow(int line) const {
  const AlignedSide& side = m_Sides[0].alignment;
  if (line >= 0 && line < static_cast<int>(side.rowOf.size())) return side.rowOf[static_cast<std::size_t>(line)];
  return std::max(line, 0) + side.gapAtTop;
}

int AlignedOutputs::standardRow(int line) const {
  const AlignedSide& side = m_Sides[1].alignment;
  if (line >= 0 && line < static_cast<int>(side.rowOf.size())) return side.rowOf[static_cast<std::size_t>(line)];
  return std::max(line, 0) + side.gapAtTop;
}

void AlignedOutputs::reveal(int first, int last) {
  int screen = 0;
  for (const Side& side : m_Sides) {
    const int lines = static_cast<int>(side.editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    screen = screen == 0 ? lines : std::min(screen, lines);
  }
  const int span = last - first + 1;
  // The rows a third down the screen, so that what leads to them shows too.
  const int top = span >= screen ? first : first - (screen - span) / 3;
  setTopRow(std::max(0, top));
}

void AlignedOutputs::follow(Side& leader) {
  if (m_Syncing || !m_Following || !bothAlive()) return;
  const int first = leader.editor->firstVisibleLine();
  if (first == leader.lastFirstLine) return;
  int row = leader.alignment.gapAtTop + first;
  // While blank room stands above its first line, the editor's own
  // scrolling takes that room away first, row by row.
  if (leader.editor->topGap() > 0 && leader.lastFirstLine >= 0)
    row = m_TopRow + (first - leader.lastFirstLine);
  // Scrolled up to its first line: the top of both shows, gap rows and all.
  else if (first == 0) row = 0;
  setTopRow(std::max(0, row));
}

void AlignedOutputs::setTopRow(int row) {
  if (!bothAlive()) return;
  m_Syncing = true;
  m_TopRow = row;
  for (Side& side : m_Sides) placeAt(side, row);
  m_Syncing = false;
}

void AlignedOutputs::placeAt(Side& side, int row) {
  const int gapAtTop = side.alignment.gapAtTop;
  CodeEditor* editor = side.editor.data();
  // Each scroll step comes here: the layout is redone only when the room
  // above the text changes.
  const int gap = row < gapAtTop ? (gapAtTop - row) * lineHeight(editor) : 0;
  if (editor->topGap() != gap) editor->setTopGap(gap);
  const int first = std::max(0, row - gapAtTop);
  if (editor->firstVisibleLine() != first) editor->setFirstVisibleLine(first);
  side.lastFirstLine = editor->firstVisibleLine();
}

}  // namespace orvo
