#pragma once

#include <QComboBox>

// A drop-down list box whose choice changes only by a deliberate act of the user. Unlike
// QComboBox it takes the mouse wheel only while it has the focus, and passes it on otherwise, so
// that scrolling over the window changes nothing; and a key combination with Alt or Ctrl chooses
// nothing (Alt+Down still opens the list), while plain typing still chooses by the first letters.
class TComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TComboBox(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};
