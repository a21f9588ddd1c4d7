#pragma once

#include <QPushButton>

// A push button whose face is exactly its palette's button colour. Styles shade the face instead
// (Fusion draws a gradient of a lighter, paler tone); here the style still draws the frame and the
// caption, a pressed button shows its face a little darker, and the keyboard focus shows as a
// line in the highlight colour around the face.
class TColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorButton(const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
