#include "TComboBox.h"

#include <QKeyEvent>
#include <QWheelEvent>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
  setFocusPolicy(Qt::StrongFocus);  // Not Qt::WheelFocus: the wheel gives no focus.
}

void TComboBox::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool opensList = event->key() == Qt::Key_Down && modifiers == Qt::AltModifier;
  if (modifiers & (Qt::AltModifier | Qt::ControlModifier) && !opensList) {
    event->ignore();  // Left to the window: shortcuts, Alt+F4.
    return;
  }
  QComboBox::keyPressEvent(event);
}

void TComboBox::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();  // On to the parent, which may scroll.
    return;
  }
  QComboBox::wheelEvent(event);
}
