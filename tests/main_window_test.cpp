#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "FrameCalc.h"
#include "TSpinEdit.h"
#include "TfrmMain.h"
#include "UiTestSupport.h"

namespace {

constexpr char kCopied[] = "Loxone encoded string copied to clipboard.";

QStringList ToLines(const TCalcResult& result) {
  QStringList lines;
  for (const std::string& line : result.Lines) lines.append(QString::fromStdString(line));
  return lines;
}

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() {
    form_ = std::make_unique<TfrmMain>();
    form_->show();
    QApplication::setActiveWindow(form_.get());
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(form_.get());
  }

  QStringList ResultLines() const { return form_->memoResult->toPlainText().split(u'\n'); }

  void Choose(const QString& name) { ASSERT_TRUE(ClickComboItem(form_->cbCommand, name)); }

  // The labels and editors of the parameter panel, in creation order.
  QList<QWidget*> PanelControls() const {
    QWidget* panel = form_->sbProperties->widget();
    if (panel == nullptr) return {};
    return panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  }

  QStringList LabelTextsAt(int top) const {
    QStringList texts;
    for (QWidget* control : PanelControls()) {
      if (auto* label = qobject_cast<QLabel*>(control); label && label->y() == top) {
        texts.append(label->text());
      }
    }
    return texts;
  }

  // Counts the calculations: each one writes a complete, non-empty result area once.
  int CountCalculations(const std::function<void()>& action) {
    int count = 0;
    QMetaObject::Connection connection =
        QObject::connect(form_->memoResult, &QPlainTextEdit::textChanged, form_.get(),
                         [&] { count += !form_->memoResult->toPlainText().isEmpty(); });
    action();
    QObject::disconnect(connection);
    return count;
  }

  // The calculation of the same inputs, straight from the core.
  TCalcResult CoreResult(std::vector<TParamValue> values) const {
    return CalcFrame(form_->ChosenCommand(), form_->editHost->displayText().toStdString(),
                     form_->editSlave->displayText().toStdString(), values);
  }

  std::unique_ptr<TfrmMain> form_;
};

TEST_F(MainWindowTest, StartsWithNoCommandChosen) {
  EXPECT_EQ(form_->cbCommand->currentIndex(), -1);
  EXPECT_EQ(form_->cbCommand->currentText(), "");
  EXPECT_EQ(form_->lblDescription->text(), "-");
  EXPECT_EQ(form_->memoResult->toPlainText(), "select command...");
  EXPECT_TRUE(PanelControls().isEmpty());
  EXPECT_TRUE(form_->ParamEditors.isEmpty());
  EXPECT_EQ(form_->lblStatus->text(), "");
  EXPECT_EQ(form_->editHost->displayText(), "FF FF 00");
  EXPECT_EQ(form_->editSlave->displayText(), "05 00 02");
  EXPECT_EQ(form_->LoxoneString, "");
  EXPECT_EQ(form_->windowTitle(), "Veltram Brelvik Command Calculator for Loxone communication");
}

TEST_F(MainWindowTest, ListsTheCatalogueOnceWithoutScrolling) {
  ASSERT_EQ(form_->cbCommand->count(), 15);
  EXPECT_EQ(form_->cbCommand->itemText(0), "SET_CHANNEL_MODE");
  EXPECT_EQ(form_->cbCommand->itemText(14), "GET_DCT_LOCK");
  EXPECT_GE(form_->cbCommand->maxVisibleItems(), 15);
  for (int i = 0; i < form_->cbCommand->count(); ++i) {
    EXPECT_EQ(form_->cbCommand->itemData(i).value<quintptr>(),
              reinterpret_cast<quintptr>(&form_->Commands.Items(i)));
  }
  // Showing again builds nothing twice.
  form_->hide();
  form_->show();
  EXPECT_EQ(form_->Commands.Count(), 15);
  EXPECT_EQ(form_->cbCommand->count(), 15);
}

TEST_F(MainWindowTest, WindowHasFixedSizeAndNoMaximizeButton) {
  EXPECT_EQ(form_->size(), QSize(915, 479));
  EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
  EXPECT_FALSE(form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(form_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(form_->cxLabel6->geometry().right() + 1, 915);
}

TEST_F(MainWindowTest, ChannelModeBuildsFourRowsInParameterOrder) {
  Choose("SET_CHANNEL_MODE");

  EXPECT_EQ(LabelTextsAt(7), (QStringList{"RTS channel selection", "(0 to 15)"}));
  EXPECT_EQ(LabelTextsAt(35), QStringList{"Mode"});
  EXPECT_EQ(LabelTextsAt(63), QStringList{"Rolling/Tilting mode"});
  EXPECT_EQ(LabelTextsAt(91), QStringList{"MODULIS mode"});

  ASSERT_EQ(form_->ParamEditors.size(), 4);
  auto* channel = qobject_cast<TSpinEdit*>(form_->ParamEditors[0]);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->pos(), QPoint(140, 7));
  EXPECT_EQ(channel->text(), "0");
  const std::vector<std::pair<QString, QStringList>> lists = {
      {"1 = US Mode (Default)", {"0 = CE Mode", "1 = US Mode (Default)"}},
      {"0 = Rolling Mode (Default)", {"0 = Rolling Mode (Default)", "1 = Tilting Mode"}},
      {"1 = Modulis Mode (Default)", {"0 = Normal Mode", "1 = Modulis Mode (Default)"}},
  };
  for (int i = 0; i < 3; ++i) {
    auto* list = qobject_cast<QComboBox*>(form_->ParamEditors[i + 1]);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->geometry().topLeft(), QPoint(140, 35 + 28 * i));
    EXPECT_EQ(list->width(), 250);
    EXPECT_EQ(list->currentText(), lists[i].first);
    QStringList items;
    for (int item = 0; item < list->count(); ++item) items.append(list->itemText(item));
    EXPECT_EQ(items, lists[i].second);
  }
  EXPECT_EQ(form_->lblDescription->text(),
            "Configure application modes:\n\n- CE/US ergonomics\n- Rolling/Tilting mode\n"
            "- MODULIS mode");
  EXPECT_EQ(ResultLines(), ToLines(CoreResult({0, 1, 0, 1})));
}

TEST_F(MainWindowTest, CommandWithoutParametersSaysSo) {
  Choose("GET_DCT_LOCK");
  ASSERT_EQ(PanelControls().size(), 1);
  auto* label = qobject_cast<QLabel*>(PanelControls().front());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "(no parameters needed)");
  EXPECT_EQ(label->pos(), QPoint(5, 7));
  EXPECT_TRUE(form_->ParamEditors.isEmpty());
  EXPECT_EQ(ResultLines()[1], "Raw Data:     A4 0B 05 00 FF FF 02 00 05");
}

TEST_F(MainWindowTest, DefaultsBelowTheMinimumAreShownAndSent) {
  Choose("SET_TILT_FRAMECOUNT");
  EXPECT_EQ(LabelTextsAt(35), (QStringList{"US mode", "(4 to 255)"}));
  EXPECT_EQ(LabelTextsAt(63), (QStringList{"CE mode", "(2 to 13)"}));
  ASSERT_EQ(form_->ParamEditors.size(), 3);
  for (QWidget* editor : form_->ParamEditors) {
    auto* spin = qobject_cast<TSpinEdit*>(editor);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->text(), "0");
    EXPECT_EQ(spin->Value(), 0);
  }
  EXPECT_EQ(ResultLines()[1], "Raw Data:     91 0E 05 00 FF FF 02 00 05 00 00 00");
}

TEST_F(MainWindowTest, BuildingAPanelCalculatesOnceAndEveryChangeOnceMore) {
  EXPECT_EQ(CountCalculations([&] { Choose("CTRL_TILT"); }), 1);
  ASSERT_EQ(form_->ParamEditors.size(), 3);

  auto* channel = qobject_cast<TSpinEdit*>(form_->ParamEditors[0]);
  EXPECT_EQ(CountCalculations([&] { QTest::keyClick(channel, Qt::Key_Up); }), 1);
  auto* action = qobject_cast<QComboBox*>(form_->ParamEditors[1]);
  EXPECT_EQ(CountCalculations([&] { ClickComboItem(action, "1 = Tilt -"); }), 1);
  EXPECT_EQ(CountCalculations([&] {
              form_->editSlave->setFocus();
              form_->editSlave->setCursorPosition(0);
              QTest::keyClick(form_->editSlave, Qt::Key_1);
            }),
            1);
  EXPECT_EQ(form_->editSlave->displayText(), "15 00 02");
  EXPECT_EQ(ResultLines(), ToLines(CoreResult({1, 1, 0})));
  EXPECT_EQ(ResultLines()[1], "Raw Data:     81 0E 05 00 FF FF 02 00 15 01 01 00");
}

TEST_F(MainWindowTest, ChoosingAnotherCommandDiscardsTheValues) {
  Choose("CTRL_POSITION");
  QTest::keyClick(form_->ParamEditors[0], Qt::Key_Up);
  EXPECT_EQ(qobject_cast<TSpinEdit*>(form_->ParamEditors[0])->Value(), 1);
  Choose("CTRL_DIM");
  EXPECT_EQ(form_->ParamEditors.size(), 3);
  Choose("CTRL_POSITION");
  ASSERT_EQ(form_->ParamEditors.size(), 2);
  EXPECT_EQ(qobject_cast<TSpinEdit*>(form_->ParamEditors[0])->Value(), 0);
  EXPECT_EQ(ResultLines(), ToLines(CoreResult({0, 1})));
  // Only the new panel's controls are left: two labels, the range label and two editors.
  QTest::qWait(0);
  EXPECT_EQ(PanelControls().size(), 5);
}

TEST_F(MainWindowTest, AddressesAreUpperCasedAndRecalculatedAsTyped) {
  Choose("CTRL_POSITION");
  form_->editHost->setFocus();
  form_->editHost->setCursorPosition(0);
  QTest::keyClicks(form_->editHost, "ab");
  EXPECT_EQ(form_->editHost->displayText(), "AB FF 00");
  EXPECT_EQ(ResultLines()[1], "Raw Data:     80 0D 05 00 FF AB 02 00 05 00 01");
}

TEST_F(MainWindowTest, BadAddressFailsAndKeepsTheLastGoodLoxoneString) {
  Choose("CTRL_POSITION");
  const QString good = form_->LoxoneString;
  EXPECT_EQ(good, R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)");

  form_->editHost->setFocus();
  form_->editHost->setCursorPosition(1);
  QTest::keyClick(form_->editHost, Qt::Key_G);
  EXPECT_EQ(form_->editHost->displayText(), "FG FF 00");
  EXPECT_EQ(form_->memoResult->toPlainText(), "Invalid settings...");
  EXPECT_EQ(form_->lblStatus->text(), "Error while encoding command.");
  EXPECT_EQ(form_->lblDescription->text(),
            QString::fromStdString(form_->ChosenCommand()->Description));
  EXPECT_EQ(form_->LoxoneString, good);

  // An emptied position leaves half a byte: still a failure, never a shorter frame.
  form_->editHost->setCursorPosition(1);
  QTest::keyClick(form_->editHost, Qt::Key_Delete);
  EXPECT_EQ(form_->editHost->displayText(), "F  FF 00");
  EXPECT_EQ(form_->memoResult->toPlainText(), "Invalid settings...");
  EXPECT_EQ(form_->LoxoneString, good);

  QTest::keyClicks(form_->editHost, "E");
  EXPECT_EQ(form_->editHost->displayText(), "FE FF 00");
  EXPECT_EQ(form_->lblStatus->text(), "");
  EXPECT_EQ(ResultLines()[1], "Raw Data:     80 0D 05 00 FF FE 02 00 05 00 01");
  EXPECT_NE(form_->LoxoneString, good);
}

TEST_F(MainWindowTest, HalfBytesOfTwoGroupsAreNeverJoinedIntoOne) {
  Choose("CTRL_POSITION");
  const QString good = form_->LoxoneString;
  form_->editHost->setFocus();
  // Empties the second position of the first and of the second group: "F_ F_ 00".
  for (int position : {1, 4}) {
    form_->editHost->setCursorPosition(position);
    QTest::keyClick(form_->editHost, Qt::Key_Delete);
  }
  EXPECT_EQ(form_->editHost->displayText(), "F  F  00");
  EXPECT_EQ(form_->memoResult->toPlainText(), "Invalid settings...");
  EXPECT_EQ(form_->lblStatus->text(), "Error while encoding command.");
  EXPECT_EQ(form_->LoxoneString, good);

  // A whole group emptied still leaves whole bytes.
  form_->editHost->setText("FF FF 00");
  for (int position : {0, 1}) {
    form_->editHost->setCursorPosition(position);
    QTest::keyClick(form_->editHost, Qt::Key_Delete);
  }
  EXPECT_EQ(form_->editHost->displayText(), "   FF 00");
  EXPECT_EQ(ResultLines().value(1), "Raw Data:     80 0D 05 00 FF 02 00 05 00 01");
}

TEST_F(MainWindowTest, CopyPutsTheLoxoneStringOnTheClipboard) {
  // Before any frame: an empty text, and the message all the same.
  QGuiApplication::clipboard()->setText("something else");
  QTest::mouseClick(form_->cxButton2, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
  EXPECT_EQ(form_->lblStatus->text(), kCopied);
  // A calculation with no command chosen leaves the message in place.
  QTest::keyClicks(form_->editSlave, "1");
  EXPECT_EQ(form_->lblStatus->text(), kCopied);

  Choose("CTRL_POSITION");
  QTest::mouseClick(form_->cxButton2, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), form_->LoxoneString);
  EXPECT_EQ(form_->lblStatus->text(), kCopied);
  // The next successful calculation empties the status line.
  QTest::keyClick(form_->ParamEditors[0], Qt::Key_Up);
  EXPECT_EQ(form_->lblStatus->text(), "");
}

TEST_F(MainWindowTest, TabOrderFollowsTheForm) {
  Choose("SET_SUN_AUTO");
  const std::vector<QWidget*> expected = {
      form_->ParamEditors[0], form_->ParamEditors[1], form_->cxButton1, form_->cxButton2,
      form_->memoResult,      form_->editHost,        form_->editSlave, form_->cbCommand};
  form_->cbCommand->setFocus();
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
  }
}

TEST_F(MainWindowTest, StartsWithTheFocusOnTheCommandChooserForTypeAhead) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  EXPECT_EQ(QApplication::focusWidget(), form_->cbCommand);
  QTest::keyClicks(QApplication::focusWidget(), "CTRL_D");
  EXPECT_EQ(form_->cbCommand->currentText(), "CTRL_DIM");
  EXPECT_EQ(form_->ParamEditors.size(), 3);
  EXPECT_EQ(ResultLines(), ToLines(CoreResult({0, 0, 0})));
}

// The share of the button's pixels that have exactly "colour".
double ShareOf(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  }
  return static_cast<double>(count) / (image.width() * image.height());
}

TEST_F(MainWindowTest, CopyButtonHasALightGreenFaceAndStillLooksLikeAButton) {
  const QColor green(128, 255, 128);
  QPushButton* button = form_->cxButton2;
  form_->memoResult->setFocus();
  const QImage plain = button->grab().toImage();
  // Most of the button is its face, in exactly that colour; the frame around it is not.
  EXPECT_GT(ShareOf(plain, green), 0.5);
  const int middle = plain.height() / 2;
  for (const QPoint edge :
       {QPoint(0, middle), QPoint(plain.width() - 1, middle), QPoint(plain.width() / 2, 0)}) {
    EXPECT_NE(plain.pixelColor(edge), green) << edge.x() << "," << edge.y();
  }

  button->setDown(true);
  const QImage pressed = button->grab().toImage();
  button->setDown(false);
  EXPECT_LT(ShareOf(pressed, green), 0.1);

  QTest::keyClick(form_->memoResult, Qt::Key_Tab, Qt::ShiftModifier);  // Back to the button.
  ASSERT_EQ(QApplication::focusWidget(), button);
  EXPECT_NE(button->grab().toImage(), plain);  // The focus shows.
  EXPECT_GT(ShareOf(button->grab().toImage(), green), 0.5);
}

// Counts the wheel events that reach a widget.
class WheelCounter : public QObject {
 public:
  int Count = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    Count += event->type() == QEvent::Wheel;
    return false;
  }
};

TEST_F(MainWindowTest, WheelChangesOnlyTheEditorWithTheFocus) {
  Choose("CTRL_POSITION");
  struct Case {
    const char* Name;
    std::function<QWidget*()> Editor;
    int Notches;  // A roll that changes the editor's value when it counts.
  };
  const std::vector<Case> cases = {
      {"channel spin editor", [&] { return form_->ParamEditors[0]; }, 1},
      {"action list box", [&] { return form_->ParamEditors[1]; }, -1},
      {"command chooser", [&] { return form_->cbCommand; }, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    QWidget* editor = c.Editor();
    form_->memoResult->setFocus();
    const QString result = form_->memoResult->toPlainText();
    WheelCounter counter;
    editor->parentWidget()->installEventFilter(&counter);
    WheelOver(editor, c.Notches);
    editor->parentWidget()->removeEventFilter(&counter);
    EXPECT_EQ(QApplication::focusWidget(), form_->memoResult);
    EXPECT_EQ(form_->memoResult->toPlainText(), result);
    EXPECT_EQ(counter.Count, 1);  // Passed on to the panel or the window.

    editor->setFocus();
    WheelOver(editor, c.Notches);
    EXPECT_NE(form_->memoResult->toPlainText(), result);
  }
  EXPECT_EQ(form_->cbCommand->currentText(), "CTRL_TILT");
}

TEST_F(MainWindowTest, KeysWithAltOrCtrlChooseNothing) {
  Choose("CTRL_POSITION");
  struct Case {
    const char* Name;
    Qt::Key Key;
    const char* Text;  // What the platform sends along.
    Qt::KeyboardModifiers Modifiers;
  };
  const std::vector<Case> cases = {
      {"Alt+C", Qt::Key_C, "c", Qt::AltModifier},
      {"Alt+Shift+S", Qt::Key_S, "S", Qt::AltModifier | Qt::ShiftModifier},
      {"Ctrl+G", Qt::Key_G, "\x07", Qt::ControlModifier},
      {"Ctrl+Alt+G", Qt::Key_G, "g", Qt::ControlModifier | Qt::AltModifier},
      {"Alt+Up", Qt::Key_Up, "", Qt::AltModifier},
      {"Ctrl+Down", Qt::Key_Down, "", Qt::ControlModifier},
      {"Ctrl+Home", Qt::Key_Home, "", Qt::ControlModifier},
      {"Alt+End", Qt::Key_End, "", Qt::AltModifier},
      {"Alt+PageDown", Qt::Key_PageDown, "", Qt::AltModifier},
  };
  const QList<QWidget*> editors = form_->ParamEditors;
  auto* action = qobject_cast<QComboBox*>(editors[1]);
  ASSERT_NE(action, nullptr);
  for (QComboBox* box : std::vector<QComboBox*>{action, form_->cbCommand}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.Name);
      const int before = box->currentIndex();
      box->setFocus();
      QTest::sendKeyEvent(QTest::Click, box, c.Key, QString::fromLatin1(c.Text), c.Modifiers);
      EXPECT_EQ(box->currentIndex(), before) << box->currentText().toStdString();
      EXPECT_EQ(form_->ParamEditors, editors);
    }
  }
  // Plain keys still choose.
  QTest::keyClicks(action, "2");
  EXPECT_EQ(action->currentText(), "2 = DOWN/OFF");
  QTest::keyClicks(form_->cbCommand, "S");
  EXPECT_EQ(form_->cbCommand->currentText(), "SET_CHANNEL_MODE");
}

// A small catalogue of faulty parameters, appended after the built-in commands.
class FaultyCommandTest : public MainWindowTest {
 protected:
  void AddCommand(TCommand& command) {
    command.MessageName = "TEST_" + std::to_string(form_->Commands.Count());
    command.Msg = "80";
    command.Len = "0D";
    command.Description = "test";
    form_->cbCommand->addItem(QString::fromStdString(command.MessageName),
                              reinterpret_cast<quintptr>(&command));
    ASSERT_NO_FATAL_FAILURE(Choose(QString::fromStdString(command.MessageName)));
  }
};

TEST_F(FaultyCommandTest, ListDefaultOutsideItsItemsChoosesNothingAndFails) {
  TCommand& command = form_->Commands.Add("Test");
  command.AddList("Action", "1=a;broken;3=c", 1);  // Item 1 is "3=c": the broken piece has none.
  command.AddList("Never", "0=x", 5);
  AddCommand(command);

  ASSERT_EQ(form_->ParamEditors.size(), 2);
  auto* action = qobject_cast<QComboBox*>(form_->ParamEditors[0]);
  auto* never = qobject_cast<QComboBox*>(form_->ParamEditors[1]);
  EXPECT_EQ(action->currentText(), "3 = c");
  EXPECT_EQ(never->currentIndex(), -1);
  EXPECT_EQ(form_->memoResult->toPlainText(), "Invalid settings...");
  EXPECT_EQ(form_->lblStatus->text(), "Error while encoding command.");

  ClickComboItem(never, "0 = x");
  EXPECT_EQ(ResultLines()[1], "Raw Data:     80 0D 05 00 FF FF 02 00 05 03 00");
}

TEST_F(FaultyCommandTest, UnknownTypeIsReportedAndTheRowKeepsItsPlace) {
  TCommand& command = form_->Commands.Add("Test");
  command.AddInteger("First", 0, 15, 2);
  command.Properties.push_back(std::make_unique<TProperty>(TProperty{"BOOL", "Flag", "", 0, 0, 0}));
  command.AddInteger("Third", 0, 15, 3);

  const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
  AddCommand(command);

  EXPECT_TRUE(box->Shown);
  EXPECT_EQ(box->Text, "Unknown type: BOOL");
  EXPECT_EQ(LabelTextsAt(35), QStringList{"Flag"});
  EXPECT_EQ(LabelTextsAt(63), (QStringList{"Third", "(0 to 15)"}));
  ASSERT_EQ(form_->ParamEditors.size(), 2);
  EXPECT_EQ(form_->ParamEditors[1]->pos(), QPoint(140, 63));
  // One parameter byte fewer: the frame carries the two editors' values.
  EXPECT_EQ(ResultLines()[1], "Raw Data:     80 0D 05 00 FF FF 02 00 05 02 03");
}

// Throws from its handler of the events it is sent.
class ThrowingObject : public QObject {
 public:
  int Handled = 0;

  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++Handled;
    throw std::runtime_error("Something broke.");
  }
};

TEST(ApplicationTest, ExceptionFromAHandlerIsShownAndTheRunGoesOn) {
  ThrowingObject object;
  for (int round = 1; round <= 2; ++round) {
    const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(object.Handled, round);
    EXPECT_TRUE(box->Shown);
    EXPECT_EQ(box->Text, "Something broke.");
    EXPECT_EQ(box->Title, "Brelvik Code Calculator");
    EXPECT_EQ(box->Icon, QMessageBox::Critical);
  }
}

}  // namespace
