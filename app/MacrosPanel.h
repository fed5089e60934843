// The Macros panel: the macro table at the end of the last run, one row per
// macro and kind (name, kind, parameters, value, place of definition), the
// predefined ones marked.
#pragma once

#include <QTreeWidget>
#include <vector>

#include "app/CodeEditor.h"
#include "orvo/Explanation.h"

namespace orvo {

class MacrosPanel : public QTreeWidget {
  Q_OBJECT

 public:
  enum Column { kNameColumn, kKindColumn, kParametersColumn, kValueColumn, kPlaceColumn };

  explicit MacrosPanel(QWidget* parent = nullptr);

  // Names and values are shown in `encoding`, as the input editor shows them.
  void showMacros(const std::vector<MacroEntry>& macros,
                  TextEncoding encoding = TextEncoding::Utf8);

 signals:
  // A row defined in the main input was activated: its byte range there.
  void mainInputPlaceActivated(int begin, int end);
};

}  // namespace orvo
