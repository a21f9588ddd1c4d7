#pragma once

#include <QAbstractSpinBox>
#include <cstdint>

// A spin editor for one integer. Unlike QSpinBox it keeps a value set in code even outside its
// bounds, and shows and reports it unchanged; the bounds limit only what the user enters, and
// count only when the maximum is greater than the minimum. It takes the mouse wheel only while it
// has the focus, and passes it on otherwise, so that scrolling over the window changes nothing.
class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  // Sets the bounds of the user's entry; the current value stays as it is.
  void SetMinValue(int minValue);
  void SetMaxValue(int maxValue);

  // The current value. While the user types, the typed number brought within the bounds; an
  // empty or unfinished text reads as 0 brought within the bounds.
  int Value() const { return value_; }
  // Shows "value" as it is, even outside the bounds; raises no ValueChanged.
  void SetValue(int value);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  QSize sizeHint() const override;

 signals:
  // The user changed the value, by typing or stepping.
  void ValueChanged(int value);

 protected:
  StepEnabled stepEnabled() const override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ChangeByUser(int value);
  void EditorTextEdited(const QString& text);
  void ValidateEntry();
  void ShowValue();

  int minValue_ = 0;
  int maxValue_ = 0;
  int value_ = 0;
};
