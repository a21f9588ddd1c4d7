#include "TColorButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// The style's frame around the face: its outline and the inner contrast line inside it.
constexpr int kFrameWidth = 2;
// How much darker the face of a pressed button is, as QColor::darker() takes it.
constexpr int kPressedDarker = 110;

}  // namespace

TColorButton::TColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void TColorButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const QRect face = rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
  const bool pressed = option.state & (QStyle::State_Sunken | QStyle::State_On);
  const QColor colour = palette().color(QPalette::Button);
  painter.fillRect(face, pressed ? colour.darker(kPressedDarker) : colour);
  // The focus as the style shows it, after the keyboard moved it: a line around the face, which
  // keeps its colour (the style's own focus mark would tint it).
  if (option.state & QStyle::State_HasFocus && option.state & QStyle::State_KeyboardFocusChange) {
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(face.adjusted(0, 0, -1, -1));
  }

  QStyleOptionButton caption = option;
  caption.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  painter.drawControl(QStyle::CE_PushButtonLabel, caption);
}
