// Which document the input shows as Undo and Redo cross the loads of
// examples. An example is loaded as one edit that Undo takes back; the text
// then is what was shown before, and the window's title and examples box
// must name that again (and the example once more after Redo).
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

#include "app/InputDocument.h"

namespace orvo {

class UndoableLoads {
 public:
  // A document shown again, and whether its text differs from what it was
  // when it was left (so the title marks it modified).
  struct Shown {
    InputDocument document;
    bool modified;
  };

  // `after` (holding `afterText`, unmodified) was loaded over `before`
  // (holding `beforeText`, modified or not) as one edit that Undo takes back.
  void loaded(const InputDocument& before, QByteArray beforeText, bool beforeModified,
              const InputDocument& after, QByteArray afterText);
  // The undo history is gone (a file was opened): nothing can be crossed.
  void forget();
  // A new edit: what was undone can no longer be redone.
  void edited() { m_Undone.clear(); }

  // After an undo left `text`: the document it shows again when the undo
  // took back a load, otherwise nothing.
  std::optional<Shown> undone(const QByteArray& text);
  // After a redo left `text`: the document it loaded again, if it did.
  std::optional<Shown> redone(const QByteArray& text);

 private:
  struct Load {
    InputDocument before;
    QByteArray beforeText;
    bool beforeModified;
    InputDocument after;
    QByteArray afterText;
  };
  std::vector<Load> m_Done;    // loads Undo may take back, latest last
  std::vector<Load> m_Undone;  // loads Redo may bring back, latest undone last
};

}  // namespace orvo
