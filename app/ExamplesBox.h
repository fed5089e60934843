// The tool bar's list of built-in examples. A wheel turned over it changes
// nothing unless the list has the focus (from a click or the Tab key), so
// that a stray wheel never loads an example. The box is as wide as its
// longest name, the open list shows each example's description, and once
// the loaded example was edited the box says so.
#pragma once

#include <string>

#include <QComboBox>

namespace orvo {

class ExamplesBox : public QComboBox {
  Q_OBJECT

 public:
  explicit ExamplesBox(QWidget* parent = nullptr);

  // Appends every example of the catalogue with its description, then,
  // after a separator and a heading that cannot be picked, the group of
  // differences from standard C.
  void fillFromCatalogue();
  // The input text of the example at `index`; empty for a separator or out
  // of range.
  std::string input(int index) const;
  // The description of the example at `index`; empty out of range.
  QString description(int index) const;

  // Marks the shown example as changed since it was loaded.
  void setEdited(bool edited);
  // What the closed box shows: the name, with "(edited)" after it once the
  // text changed; the placeholder when no example is shown.
  QString shownText() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  void hidePopup() override;

 signals:
  // The open list closed: a description shown for a hovered item is stale.
  void popupHidden();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showPopup() override;

 private:
  bool m_Edited = false;
};

}  // namespace orvo
