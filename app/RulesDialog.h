// Help ▸ How orvo's rules differ from standard C: the table of rules where
// this preprocessor parts from ISO C, each with what it does, what
// standard C does and what its example shows; a row with an example opens
// it in the input area.
#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QTableWidget;

namespace orvo {

class RulesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RulesDialog(QWidget* parent = nullptr);

  QTableWidget* list() const { return m_List; }

 signals:
  // The user asked for the example of a rule, by its name in the examples
  // box.
  void exampleChosen(const QString& name);

 private:
  // The example of the rule in `row`, if it has one.
  void openExample(int row);

  QTableWidget* m_List = nullptr;
  QPushButton* m_Open = nullptr;
};

}  // namespace orvo
