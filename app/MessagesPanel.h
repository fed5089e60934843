// The list of messages a run recorded, one row each: where (file:line:col),
// what kind, the text; standard C's messages, while the Standard C pane
// compares, under a row "Standard C". Activating a row in the main input
// asks the window to select its place; a row in another file names that
// file and line and asks to show it.
#pragma once

#include <QString>
#include <QTreeWidget>
#include <vector>

#include "orvo/Diagnostic.h"

class MessagesPanel : public QTreeWidget {
  Q_OBJECT

 public:
  explicit MessagesPanel(QWidget* parent = nullptr);

  // Replaces the rows with `diagnostics`, leaving out those that are notes;
  // the notes attached to a message are rows under it.
  // Standard C's messages are of an earlier run then: they go too.
  void showDiagnostics(const std::vector<orvo::Diagnostic>& diagnostics);
  // Replaces the rows under "Standard C" with `diagnostics` (none: no such
  // row).
  void showStandardDiagnostics(const std::vector<orvo::Diagnostic>& diagnostics);
  // The row "Standard C", if there is one.
  QTreeWidgetItem* standardRow() const { return m_StandardRow; }

  // Room for a few rows: the panel is a strip under the output, not a pane
  // that competes with it.
  QSize sizeHint() const override;

 signals:
  // A row in the main input was activated: its byte range there.
  void mainInputPlaceActivated(int begin, int end);
  // A row in another file was activated: how to name it to the user.
  void otherPlaceActivated(const QString& where);
  // The same row's place, to open its file.
  void includedPlaceActivated(const orvo::SourcePlace& place);

 private:
  void activate(QTreeWidgetItem* item);
  void setPlace(QTreeWidgetItem* item, const orvo::SourcePlace& place);
  // Adds the row of `diagnostic` with its notes under `parent` (null: at the top).
  void addDiagnostic(const orvo::Diagnostic& diagnostic, QTreeWidgetItem* parent);

  // The places of the rows in other files, by the index a row keeps.
  std::vector<orvo::SourcePlace> m_Places;
  QTreeWidgetItem* m_StandardRow = nullptr;
};
