// Two results shown side by side, lined up by an OutputAlignment: gap rows
// where one result has no line (annotations below a line, blank room above
// the first one: never text, so what the user copies and saves stays the
// result), the differing lines marked on both sides, and the two scrolling
// in step row by row. Without an alignment they scroll in step line by line.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>

#include "orvo/OutputAlignment.h"

namespace orvo {

class CodeEditor;

class AlignedOutputs : public QObject {
  Q_OBJECT

 public:
  // The marker of lines that differ, beside the editors' own markers (the
  // linked-lines marker is 20).
  static constexpr int kDifferenceMarker = 21;

  // Neither editor is owned; both must outlive this object.
  AlignedOutputs(CodeEditor* main, CodeEditor* standard, QObject* parent = nullptr);

  // Shows the gaps and marks of `alignment`, made for the texts the two
  // editors hold now, and shows both from their first row.
  void apply(const OutputAlignment& alignment);
  // Takes away every gap and mark: the editors show their texts alone.
  void clear();
  bool isAligned() const { return m_Aligned; }

  // Whether the two follow each other's scrolling (while both are shown).
  void setFollowing(bool on);

  // The row (0-based, gap rows counted) each editor shows at its top.
  int topRow() const { return m_TopRow; }
  // The row a 0-based line of the main or the standard result stands on.
  int mainRow(int line) const;
  int standardRow(int line) const;
  // Scrolls both so that rows `first` to `last` show, with some rows above
  // them where the editors have room.
  void reveal(int first, int last);

 private:
  struct Side {
    // Cleared when the editor goes: the window takes its children down one
    // by one, and the other may still report scrolling meanwhile.
    QPointer<CodeEditor> editor;
    AlignedSide alignment;
    int lastFirstLine = 0;  // the editor's first visible line when last seen
  };

  bool bothAlive() const { return m_Sides[0].editor && m_Sides[1].editor; }
  void follow(Side& leader);
  void setTopRow(int row);
  void placeAt(Side& side, int row);
  void applyGaps(Side& side);
  void clearSide(Side& side);

  std::array<Side, 2> m_Sides;  // main, standard
  bool m_Aligned = false;
  bool m_Following = true;
  bool m_Syncing = false;
  int m_TopRow = 0;
};

}  // namespace orvo
