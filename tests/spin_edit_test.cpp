#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "TSpinEdit.h"

namespace {

class SpinEditTest : public testing::Test {
 protected:
  SpinEditTest() {
    spin_.SetMinValue(4);
    spin_.SetMaxValue(255);
    spin_.SetValue(0);
    spin_.show();
    QApplication::setActiveWindow(&spin_);
    spin_.setFocus();
  }

  // Replaces the text as a user does: select all, type.
  void Type(const QString& text) {
    spin_.selectAll();
    QTest::keyClick(&spin_, Qt::Key_Delete);
    QTest::keyClicks(&spin_, text);
  }

  TSpinEdit spin_;
};

TEST_F(SpinEditTest, KeepsAValueSetInCodeOutsideItsBounds) {
  EXPECT_EQ(spin_.Value(), 0);
  EXPECT_EQ(spin_.text(), "0");
  spin_.SetValue(300);
  EXPECT_EQ(spin_.Value(), 300);
  EXPECT_EQ(spin_.text(), "300");
  // Leaving the field without typing keeps it too.
  QTest::keyClick(&spin_, Qt::Key_Return);
  EXPECT_EQ(spin_.Value(), 300);
}

TEST_F(SpinEditTest, SteppingStopsAtTheBounds) {
  QSignalSpy changed(&spin_, &TSpinEdit::ValueChanged);
  QTest::keyClick(&spin_, Qt::Key_Down);  // Below the minimum, down goes nowhere.
  EXPECT_EQ(spin_.Value(), 0);
  QTest::keyClick(&spin_, Qt::Key_Up);  // Up from below lands on the minimum.
  EXPECT_EQ(spin_.Value(), 4);
  QTest::keyClick(&spin_, Qt::Key_Down);
  EXPECT_EQ(spin_.Value(), 4);
  spin_.SetValue(254);
  QTest::keyClick(&spin_, Qt::Key_Up);
  QTest::keyClick(&spin_, Qt::Key_Up);
  EXPECT_EQ(spin_.Value(), 255);
  EXPECT_EQ(spin_.text(), "255");
  EXPECT_EQ(changed.count(), 2);  // 0 -> 4 and 254 -> 255; SetValue raises nothing.
}

TEST_F(SpinEditTest, TypedValueIsBroughtToTheNearerBound) {
  struct Case {
    const char* Typed;
    int Value;
  };
  for (const Case& c : {Case{"300", 255}, Case{"1", 4}, Case{"-7", 4}, Case{"100", 100},
                        Case{"99999999999999999999999", 255}}) {
    SCOPED_TRACE(c.Typed);
    Type(c.Typed);
    EXPECT_EQ(spin_.Value(), c.Value);
    QTest::keyClick(&spin_, Qt::Key_Return);
    EXPECT_EQ(spin_.text(), QString::number(c.Value));
    EXPECT_EQ(spin_.Value(), c.Value);
  }
}

TEST_F(SpinEditTest, EmptyTextReadsAsZeroWithinTheBounds) {
  spin_.SetValue(100);
  Type("");
  EXPECT_EQ(spin_.Value(), 4);
  spin_.SetMinValue(-10);
  Type("-");
  EXPECT_EQ(spin_.Value(), 0);
}

TEST_F(SpinEditTest, RefusesCharactersThatAreNoNumber) {
  Type("12a");
  EXPECT_EQ(spin_.text(), "12");
  EXPECT_EQ(spin_.Value(), 12);
}

TEST_F(SpinEditTest, BoundsCountOnlyWhenMaximumExceedsMinimum) {
  spin_.SetMinValue(0);
  spin_.SetMaxValue(0);
  Type("1000");
  QTest::keyClick(&spin_, Qt::Key_Return);
  EXPECT_EQ(spin_.Value(), 1000);
  QTest::keyClick(&spin_, Qt::Key_Up);
  EXPECT_EQ(spin_.Value(), 1001);
  Type("-5");
  EXPECT_EQ(spin_.Value(), -5);
}

}  // namespace
