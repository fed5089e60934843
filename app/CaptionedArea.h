// A text area with its caption above it ("Input", "Output"), drawn as the
// docked panels draw their titles, so that every area of the window says
// what it holds.
#pragma once

#include <QWidget>

class QLabel;

namespace orvo {

class CaptionedArea : public QWidget {
  Q_OBJECT

 public:
  // Takes `content` into this widget, under `caption`.
  CaptionedArea(const QString& caption, QWidget* content, QWidget* parent = nullptr);

  QLabel* caption() const { return m_Caption; }

 private:
  QLabel* m_Caption = nullptr;
};

}  // namespace orvo
