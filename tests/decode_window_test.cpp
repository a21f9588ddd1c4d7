#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

#include "BuiltInCatalog.h"
#include "BuiltInCommands.h"
#include "Fonts.h"
#include "FrameCalc.h"
#include "FrameDecode.h"
#include "TSpinEdit.h"
#include "TfrmDecode.h"
#include "TfrmMain.h"
#include "UiTestSupport.h"

namespace {

constexpr char kWorkedLoxone[] = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)";
constexpr char kWrongChecksum[] = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5E)";

// What the calculation gives for the command called "name" with these inputs.
TCalcResult Encoded(const std::string& name, const std::string& host, const std::string& slave,
                    const std::vector<TParamValue>& values) {
  return CalcFrame(BuiltIn().Find(name), host, slave, values);
}

QString Joined(const std::vector<std::string>& lines) {
  QStringList joined;
  for (const std::string& line : lines) joined.append(QString::fromStdString(line));
  return joined.join(u'\n');
}

class DecodeWindowTest : public testing::Test {
 protected:
  DecodeWindowTest() : window_(BuiltIn()) {
    window_.open();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&window_);
  }

  // Replaces the text of the input field as a paste does.
  void Paste(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    window_.memoInput->selectAll();
    QTest::keyClick(window_.memoInput, Qt::Key_V, Qt::ControlModifier);
  }

  TfrmDecode window_;
};

TEST_F(DecodeWindowTest, StartsEmptyWaitingForAPaste) {
  EXPECT_EQ(window_.windowTitle(), "Check a Loxone string");
  EXPECT_EQ(window_.lblVerdict->text(), "Paste a string to check it.");
  EXPECT_EQ(window_.memoDecoded->toPlainText(), "");
  EXPECT_FALSE(window_.btnUseInCalculator->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), window_.memoInput);
  EXPECT_TRUE(window_.memoDecoded->isReadOnly());
  // The decoded lines line up in the result area's font.
  EXPECT_EQ(window_.memoDecoded->font().family(), ResultFont().family());
  EXPECT_EQ(window_.memoDecoded->font().pixelSize(), ResultFont().pixelSize());
}

TEST_F(DecodeWindowTest, DecodesAgainAtEveryChange) {
  std::string typed;
  const std::string text = "7F F2 FA FF 00 00 FD FF FA FF FE 08 5D";
  for (char c : text) {
    QTest::keyClick(window_.memoInput, c);
    typed += c;
    ASSERT_EQ(window_.memoDecoded->toPlainText(),
              Joined(DecodeLines(DecodeFrame(BuiltIn(), typed))))
        << typed;
  }
  EXPECT_TRUE(window_.Decoded().Valid());
  EXPECT_EQ(window_.lblVerdict->text(), "Valid");
  EXPECT_TRUE(window_.btnUseInCalculator->isEnabled());

  QTest::keyClick(window_.memoInput, Qt::Key_Backspace);
  EXPECT_EQ(window_.lblVerdict->text(),
            "Unreadable: \"5\" at position 37 is half a byte: every byte takes two hexadecimal "
            "digits");
  EXPECT_FALSE(window_.btnUseInCalculator->isEnabled());
}

struct VerdictCase {
  const char* Name;
  std::string Text;
  QString Verdict;
  bool CanUse;  // Whether "Use in calculator" is enabled.
};

class DecodeVerdictTest : public DecodeWindowTest,
                          public testing::WithParamInterface<VerdictCase> {};

TEST_P(DecodeVerdictTest, ShowsTheVerdictProblemsAndWarnings) {
  const VerdictCase& c = GetParam();
  Paste(QString::fromStdString(c.Text));
  EXPECT_EQ(window_.lblVerdict->text(), c.Verdict);
  EXPECT_EQ(window_.btnUseInCalculator->isEnabled(), c.CanUse);
  const TDecodeResult expected = DecodeFrame(BuiltIn(), c.Text);
  EXPECT_EQ(window_.Decoded(), expected);
  EXPECT_EQ(window_.memoDecoded->toPlainText(), c.Text.find_first_not_of(" \n") == std::string::npos
                                                    ? QString()
                                                    : Joined(DecodeLines(expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeVerdictTest,
    testing::ValuesIn(std::vector<VerdictCase>{
        {"Valid", kWorkedLoxone, "Valid", true},
        {"ResultBlock",
         Joined(Encoded("CTRL_DIM", "01 02 03", "04 05 06", {1, 1, 9}).Lines).toStdString(),
         "Valid", true},
        {"ValidWithWarnings",
         Encoded("SET_TILT_FRAMECOUNT", "FF FF 00", "05 00 02", {0, 0, 0}).Frame.Loxone,
         "Valid, with 2 warnings", true},
        {"WrongChecksum", kWrongChecksum, "Not valid: 1 problem", true},
        {"ByteLost", "7F F2 FA FF 00 00 FD FF FA FF 08 5D", "Not valid: 2 problems", true},
        {"UnknownCommand", "84 F2 FA FF 00 00 FD FF FA FF FE 08 62", "Not valid: 1 problem", false},
        {"Unreadable", "7F G2", "Unreadable: \"G\" at position 4 is not a hexadecimal digit",
         false},
        {"BlanksOnly", "  \n ", "Paste a string to check it.", false},
    }),
    [](const auto& info) { return info.param.Name; });

// The main window with the decode window that Ctrl+D opens.
class DecodeFromMainWindowTest : public testing::Test {
 protected:
  DecodeFromMainWindowTest() {
    form_.show();
    QApplication::setActiveWindow(&form_);
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&form_);
  }

  // Opens the decode window with Ctrl+D and, once it shows, runs "steps" in it; returns when the
  // window has closed and the main window has handled its result.
  void CheckString(const std::function<void(TfrmDecode&)>& steps) {
    auto ran = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, steps, ran] {
      auto* window = qobject_cast<TfrmDecode*>(QApplication::activeModalWidget());
      if (window == nullptr || !window->isVisible()) return;
      timer->stop();
      timer->deleteLater();
      *ran = true;
      steps(*window);
    });
    QTimer::singleShot(5000, timer, [timer] { timer->deleteLater(); });
    timer->start();
    // The platform gives the main window back its activation when a dialog closes; offscreen,
    // the test does. The button's shortcut then clicks it a moment later, as a mouse would.
    QApplication::setActiveWindow(&form_);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &form_, Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([ran] {
      return *ran && QApplication::activeModalWidget() == nullptr;
    })) << "Ctrl+D did not open the window, or it did not close";
  }

  // Pastes "text" into the decode window and clicks "Use in calculator".
  void UseInCalculator(const QString& text) {
    CheckString([text](TfrmDecode& window) {
      window.memoInput->setPlainText(text);
      QTest::mouseClick(window.btnUseInCalculator, Qt::LeftButton);
    });
  }

  QStringList ResultLines() const { return form_.memoResult->toPlainText().split(u'\n'); }

  TfrmMain form_;
};

struct UseCase {
  const char* Name;
  std::string Command;
  std::string Host;
  std::string Slave;
  std::vector<TParamValue> Values;
};

class UseInCalculatorTest : public DecodeFromMainWindowTest,
                            public testing::WithParamInterface<UseCase> {};

// The main window then shows the string's frame, and the copy button copies the same string.
TEST_P(UseInCalculatorTest, GivesTheSameStringBack) {
  const UseCase& c = GetParam();
  const TCalcResult encoded = Encoded(c.Command, c.Host, c.Slave, c.Values);
  ASSERT_EQ(encoded.Outcome, TCalcOutcome::Success);

  UseInCalculator(QString::fromStdString(encoded.Frame.Loxone));

  EXPECT_EQ(form_.editHost->displayText().toStdString(), c.Host);
  EXPECT_EQ(form_.editSlave->displayText().toStdString(), c.Slave);
  EXPECT_EQ(form_.cbCommand->currentText().toStdString(), c.Command);
  EXPECT_EQ(form_.memoResult->toPlainText(), Joined(encoded.Lines));
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(form_.cxButton2, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), encoded.Frame.Loxone);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UseInCalculatorTest,
    testing::ValuesIn(std::vector<UseCase>{
        {"Tilt", "CTRL_TILT", "01 02 03", "0A 0B 0C", {3, 1, 40}},
        {"ListsOfChannelMode", "SET_CHANNEL_MODE", "FF FF 00", "05 00 02", {15, 0, 1, 0}},
        {"DryContacts", "ST_DCT_LOCK", "00 00 01", "AB CD EF", {5, 1}},
        {"NoParameters", "GET_DCT_LOCK", "12 34 56", "65 43 21", {}},
        {"ValuesBelowTheMinimum", "SET_TILT_FRAMECOUNT", "FF FF 00", "05 00 02", {0, 0, 0}},
        // A list value of none of the options still gives its byte.
        {"ValuesOutsideBoundsAndOptions", "CTRL_POSITION", "FF FF 00", "05 00 02", {200, 9}},
    }),
    [](const auto& info) { return info.param.Name; });

TEST_F(DecodeFromMainWindowTest, TheChosenCommandKeepsItsPanel) {
  ASSERT_TRUE(ClickComboItem(form_.cbCommand, "CTRL_POSITION"));
  const QList<QWidget*> editors = form_.ParamEditors;
  QTest::keyClick(editors[0], Qt::Key_Up);

  UseInCalculator(QString::fromStdString(
      Encoded("CTRL_POSITION", "FF FF 00", "05 00 02", {7, 3}).Frame.Loxone));

  EXPECT_EQ(form_.ParamEditors, editors);
  EXPECT_EQ(qobject_cast<TSpinEdit*>(editors[0])->Value(), 7);
  EXPECT_EQ(qobject_cast<QComboBox*>(editors[1])->currentText(), "3 = STOP");
  EXPECT_EQ(ResultLines().value(1), "Raw Data:     80 0D 05 00 FF FF 02 00 05 07 03");
}

TEST_F(DecodeFromMainWindowTest, AStringWithAProblemGivesTheCorrectFrame) {
  UseInCalculator(kWrongChecksum);
  EXPECT_EQ(form_.cbCommand->currentText(), "CTRL_POSITION");
  EXPECT_EQ(form_.LoxoneString, kWorkedLoxone);

  // A string too short to hold the addresses leaves the address fields as they are, and an
  // editor without a byte keeps its value.
  form_.editHost->setText("01 02 03");
  ASSERT_TRUE(ClickComboItem(form_.cbCommand, "CTRL_TILT"));
  UseInCalculator("7E F1 FA FF");
  EXPECT_EQ(form_.editHost->displayText(), "01 02 03");
  EXPECT_EQ(form_.editSlave->displayText(), "05 00 02");
  EXPECT_EQ(ResultLines().value(1), "Raw Data:     81 0E 05 03 02 01 02 00 05 00 00 00");
}

TEST_F(DecodeFromMainWindowTest, CloseAndEscapeChangeNothing) {
  ASSERT_TRUE(ClickComboItem(form_.cbCommand, "SET_SUN_AUTO"));
  const QString result = form_.memoResult->toPlainText();
  for (const auto& close : std::vector<std::function<void(TfrmDecode&)>>{
           [](TfrmDecode& window) { QTest::mouseClick(window.btnClose, Qt::LeftButton); },
           [](TfrmDecode& window) { QTest::keyClick(window.memoInput, Qt::Key_Escape); },
           [](TfrmDecode& window) { window.close(); }}) {
    CheckString([close](TfrmDecode& window) {
      window.memoInput->setPlainText(kWorkedLoxone);
      close(window);
    });
    EXPECT_EQ(form_.cbCommand->currentText(), "SET_SUN_AUTO");
    EXPECT_EQ(form_.memoResult->toPlainText(), result);
    EXPECT_EQ(form_.editHost->displayText(), "FF FF 00");
  }
}

// The window is made once: the next opening shows the last string, selected, so that a new paste
// replaces it.
TEST_F(DecodeFromMainWindowTest, ReopeningSelectsTheLastString) {
  CheckString([](TfrmDecode& window) {
    QTest::keyClicks(window.memoInput, "7F F2");
    window.close();
  });
  TfrmDecode* first = nullptr;
  CheckString([&first](TfrmDecode& window) {
    first = &window;
    EXPECT_EQ(window.memoInput->textCursor().selectedText(), "7F F2");
    EXPECT_EQ(window.focusWidget(), window.memoInput);
    QTest::keyClicks(window.memoInput, "A4");
    EXPECT_EQ(window.memoInput->toPlainText(), "A4");
    window.close();
  });
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(form_.findChildren<TfrmDecode*>().size(), 1);
}

}  // namespace
