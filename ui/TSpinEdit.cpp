#include "TSpinEdit.h"

#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

#include "ParamValues.h"

namespace {

// The spin editor's width when nothing else asks for one.
constexpr int kDefaultWidth = 121;

// Reads an optional sign and decimal digits; nothing else is a number. Magnitudes beyond 64 bits
// are held at the int64 limits.
bool ReadInteger(const QString& text, std::int64_t& value) {
  qsizetype at = 0;
  const bool negative = text.startsWith(u'-');
  if (negative || text.startsWith(u'+')) ++at;
  if (at == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const QChar c = text[at];
    if (c < u'0' || c > u'9') return false;
    const int digit = c.unicode() - u'0';
    magnitude = magnitude > (std::numeric_limits<std::int64_t>::max() - digit) / 10
                    ? std::numeric_limits<std::int64_t>::max()
                    : magnitude * 10 + digit;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setFocusPolicy(Qt::StrongFocus);  // Not Qt::WheelFocus: the wheel gives no focus.
  ShowValue();
  connect(lineEdit(), &QLineEdit::textEdited, this, &TSpinEdit::EditorTextEdited);
  connect(this, &QAbstractSpinBox::editingFinished, this, &TSpinEdit::ValidateEntry);
}

void TSpinEdit::SetMinValue(int minValue) { minValue_ = minValue; }

void TSpinEdit::SetMaxValue(int maxValue) { maxValue_ = maxValue; }

void TSpinEdit::SetValue(int value) {
  value_ = value;
  ShowValue();
}

void TSpinEdit::ChangeByUser(int value) {
  if (value == value_) return;
  value_ = value;
  emit ValueChanged(value_);
}

void TSpinEdit::stepBy(int steps) {
  ChangeByUser(BringWithinBounds(std::int64_t{value_} + steps, minValue_, maxValue_));
  ShowValue();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
  if (!BoundsCount(minValue_, maxValue_)) return StepUpEnabled | StepDownEnabled;
  StepEnabled enabled = StepNone;
  if (value_ < maxValue_) enabled |= StepUpEnabled;
  if (value_ > minValue_) enabled |= StepDownEnabled;
  return enabled;
}

void TSpinEdit::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();  // On to the parent, which may scroll.
    return;
  }
  QAbstractSpinBox::wheelEvent(event);
}

QValidator::State TSpinEdit::validate(QString& input, int& /*pos*/) const {
  if (input.isEmpty() || input == u"-" || input == u"+") return QValidator::Intermediate;
  std::int64_t value = 0;
  return ReadInteger(input, value) ? QValidator::Acceptable : QValidator::Invalid;
}

QSize TSpinEdit::sizeHint() const { return {kDefaultWidth, QAbstractSpinBox::sizeHint().height()}; }

void TSpinEdit::EditorTextEdited(const QString& text) {
  std::int64_t typed = 0;
  if (!ReadInteger(text, typed)) typed = 0;
  ChangeByUser(BringWithinBounds(typed, minValue_, maxValue_));
}

void TSpinEdit::ValidateEntry() { ShowValue(); }

void TSpinEdit::ShowValue() { lineEdit()->setText(QString::number(value_)); }
