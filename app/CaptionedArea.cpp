#include "app/CaptionedArea.h"

#include <QLabel>
#include <QVBoxLayout>

namespace orvo {
namespace {

// The margins a docked panel's title has in the common styles.
constexpr int kCaptionMarginX = 4;
constexpr int kCaptionMarginY = 2;

}  // namespace

CaptionedArea::CaptionedArea(const QString& caption, QWidget* content, QWidget* parent)
    : QWidget(parent) {
  m_Caption = new QLabel(caption, this);
  m_Caption->setContentsMargins(kCaptionMarginX, kCaptionMarginY, kCaptionMarginX, kCaptionMarginY);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  rows->addWidget(m_Caption);
  rows->addWidget(content, 1);
}

}  // namespace orvo
