// The list of messages a run recorded, one row each: where (file:line:col),
// what kind, the text. Activating a row in the main input asks the window to
// select its place; a row in another file names that file and line.
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
  void showDiagnostics(const std::vector<orvo::Diagnostic>& diagnostics);

  // Room for a few rows: the panel is a strip under the output, not a pane
  // that competes with it.
  QSize sizeHint() const override;

 signals:
  // A row in the main input was activated: its byte range there.
  void mainInputPlaceActivated(int begin, int end);
  // A row in another file was activated: how to name it to the user.
  void otherPlaceActivated(const QString& where);

 private:
  void activate(QTreeWidgetItem* item);
  void setPlace(QTreeWidgetItem* item, const orvo::SourcePlace& place);
};
