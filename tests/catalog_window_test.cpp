#include <gtest/gtest.h>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <memory>
#include <vector>

#include "BuiltInCommands.h"
#include "TSpinEdit.h"
#include "TfrmCommandCatalog.h"
#include "TfrmMain.h"
#include "UiTestSupport.h"

namespace {

constexpr int kMessage = 0;
constexpr int kDescription = 1;

class CatalogWindowTest : public testing::Test {
 protected:
  CatalogWindowTest() { AddBuiltInCommands(commands_); }

  void Open() {
    window_.Commands = &commands_;
    window_.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  QTreeView* Tree() const { return window_.vstCommands; }
  QAbstractItemModel* Model() const { return Tree()->model(); }

  QModelIndex Row(int category, int command = -1, int column = kMessage) const {
    const QModelIndex parent = Model()->index(category, 0);
    return command < 0 ? Model()->index(category, column) : Model()->index(command, column, parent);
  }

  // Where a user clicks to hit the row of "index", once it is scrolled into view.
  QPoint Centre(const QModelIndex& index) const {
    Tree()->scrollTo(index);
    return Tree()->visualRect(index).center();
  }

  void Click(const QModelIndex& index) {
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Centre(index));
  }

  // A right click, and the context menu request that the platform makes of it.
  void RightClick(const QModelIndex& index) {
    const QPoint at = Centre(index);
    QTest::mouseClick(Tree()->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, Tree()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(Tree()->viewport(), &request);
  }

  void DoubleClick(const QModelIndex& index) { DoubleClickAt(Tree()->viewport(), Centre(index)); }

  // Clicks the expand button of the category row "category", left of its caption.
  void ClickExpandButton(int category) {
    const QPoint caption = Centre(Row(category));
    const QPoint button(Tree()->visualRect(Row(category)).left() - Tree()->indentation() / 2,
                        caption.y());
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, button);
  }

  // Drags the header of "column" by the mouse to the right or left end of the header.
  void DragHeader(int column, bool toRightEnd) {
    QHeaderView* header = Tree()->header();
    const int middle = header->height() / 2;
    const QPoint from(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                      middle);
    const QPoint to(toRightEnd ? header->viewport()->width() - 3 : 3, middle);
    DragAt(header->viewport(), from, to);
  }

  QStringList ChildTexts(int category, int column) const {
    QStringList texts;
    const QModelIndex parent = Model()->index(category, 0);
    for (int row = 0; row < Model()->rowCount(parent); ++row) {
      texts.append(Model()->index(row, column, parent).data().toString());
    }
    return texts;
  }

  TListCommands commands_;
  TfrmCommandCatalog window_;
};

TEST_F(CatalogWindowTest, ShowsCategoriesSortedWithCommandsInCatalogueOrder) {
  Open();
  ASSERT_EQ(Model()->rowCount(), 3);
  EXPECT_EQ(Row(0).data().toString(), "Control");
  EXPECT_EQ(Row(1).data().toString(), "Setting");
  EXPECT_EQ(Row(2).data().toString(), "Status");
  EXPECT_EQ(ChildTexts(0, kMessage), (QStringList{"CTRL_POSITION", "CTRL_TILT", "CTRL_DIM"}));
  EXPECT_EQ(ChildTexts(1, kMessage),
            (QStringList{"SET_CHANNEL_MODE", "SET_TILT_FRAMECOUNT", "SET_DIM_FRAMECOUNT",
                         "SET_SUN_AUTO", "ST_DCT_LOCK", "SET_CHANNEL", "SET_OPEN_PROG", "SET_IP"}));
  EXPECT_EQ(ChildTexts(2, kMessage), (QStringList{"GET_CHANNEL_MODE", "GET_TILT_FRAMECOUNT",
                                                  "GET_DIM_FRAMECOUNT", "GET_DCT_LOCK"}));
  for (int category = 0; category < 3; ++category) {
    EXPECT_TRUE(Tree()->isExpanded(Row(category)));
    EXPECT_EQ(Row(category, -1, kDescription).data().toString(), "");
  }
  EXPECT_FALSE(Tree()->currentIndex().isValid());
  EXPECT_FALSE(Tree()->selectionModel()->hasSelection());
  EXPECT_EQ(Tree()->header()->sectionSize(kMessage), 200);
  EXPECT_EQ(Model()->headerData(kMessage, Qt::Horizontal).toString(), "Message");
  EXPECT_EQ(Model()->headerData(kDescription, Qt::Horizontal).toString(), "Description");
  EXPECT_EQ(window_.windowTitle(), "Commands");
  EXPECT_EQ(QApplication::focusWidget(), Tree());
}

TEST_F(CatalogWindowTest, DescriptionsShowOnOneLineAndWholeAsHint) {
  Open();
  const QModelIndex channelMode = Row(1, 0, kDescription);
  EXPECT_EQ(channelMode.data().toString(),
            "Configure application modes:  - CE/US ergonomics - Rolling/Tilting mode - MODULIS "
            "mode");
  EXPECT_EQ(channelMode.data(Qt::ToolTipRole).toString(),
            "Configure application modes:\n\n- CE/US ergonomics\n- Rolling/Tilting mode\n- "
            "MODULIS mode");
  EXPECT_EQ(Row(1, 0, kMessage).data(Qt::ToolTipRole).toString(), "");
  EXPECT_EQ(Row(1, -1, kMessage).data(Qt::ToolTipRole).toString(), "");
  EXPECT_EQ(Row(1, -1, kDescription).data(Qt::ToolTipRole).toString(), "");

  // Only line feeds become blanks; a carriage return stays.
  TCommand command("Setting");
  command.Description = "a\r\nb\n\nc";
  EXPECT_EQ(TfrmCommandCatalog::vstCommandsGetText({&command, {}}, kDescription), "a\r b  c");
}

TEST_F(CatalogWindowTest, CategoriesSortWithoutRegardToLetterCase) {
  TListCommands commands;
  for (const char* category : {"gamma", "Beta", "alpha", "ALPHA"}) {
    TCommand& command = commands.Add(category);
    command.MessageName = std::string("IN_") + category;
  }
  window_.Commands = &commands;
  window_.open();
  ASSERT_EQ(Model()->rowCount(), 3);
  EXPECT_EQ(Row(0).data().toString(), "alpha");
  EXPECT_EQ(Row(1).data().toString(), "Beta");
  EXPECT_EQ(Row(2).data().toString(), "gamma");
  // A command spelled otherwise is still listed, under the first spelling.
  EXPECT_EQ(ChildTexts(0, kMessage), (QStringList{"IN_alpha", "IN_ALPHA"}));
}

TEST_F(CatalogWindowTest, OkRefusesWithoutAFocusedCommandRow) {
  Open();
  struct Case {
    QModelIndex Focus;
    const char* Text;
  };
  for (const Case& c :
       {Case{QModelIndex(), "No entry selected."}, Case{Row(1), "No command selected."}}) {
    SCOPED_TRACE(c.Text);
    if (c.Focus.isValid()) Click(c.Focus);
    const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
    QTest::mouseClick(window_.cxButton2, Qt::LeftButton);
    EXPECT_TRUE(box->Shown);
    EXPECT_EQ(box->Text, c.Text);
    EXPECT_EQ(box->Title, "Error");
    EXPECT_EQ(box->Icon, QMessageBox::Critical);
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(window_.result(), 0);
    EXPECT_EQ(Tree()->currentIndex(), c.Focus);
  }
}

// The focused row is always a row the user sees selected: OK never takes a command that is
// hidden or not shown selected.
TEST_F(CatalogWindowTest, OkTakesOnlyAVisibleSelectedRow) {
  struct Case {
    const char* Name;
    std::function<void()> Steps;
    int FocusedCategory;  // The category row left focused, or -1 for none.
    const char* Text;
  };
  const std::vector<Case> cases = {
      {"collapsing the category of the focused row with its expand button",
       [this] {
         Click(Row(0, 1));
         ClickExpandButton(0);
       },
       0, "No command selected."},
      {"a click below the rows",
       [this] {
         Tree()->collapse(Row(1));
         Tree()->collapse(Row(2));
         Click(Row(0, 1));
         const QPoint below(100, Tree()->viewport()->height() - 5);
         ASSERT_FALSE(Tree()->indexAt(below).isValid());
         QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, below);
       },
       -1, "No entry selected."},
      {"a Ctrl click on the selected row",
       [this] {
         Click(Row(0, 1));
         QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                           Centre(Row(0, 1)));
       },
       -1, "No entry selected."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Open();
    c.Steps();
    const QModelIndex focused = Tree()->currentIndex().siblingAtColumn(kMessage);
    const QModelIndexList selected = Tree()->selectionModel()->selectedRows(kMessage);
    if (c.FocusedCategory < 0) {
      EXPECT_FALSE(focused.isValid());
      EXPECT_TRUE(selected.isEmpty());
    } else {
      EXPECT_EQ(focused, Row(c.FocusedCategory));
      EXPECT_EQ(selected, QModelIndexList{Row(c.FocusedCategory)});
    }
    const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
    QTest::mouseClick(window_.cxButton2, Qt::LeftButton);
    EXPECT_EQ(box->Text, c.Text);
    EXPECT_TRUE(window_.isVisible());
    window_.reject();
  }
}

TEST_F(CatalogWindowTest, OkAcceptsTheFocusedCommandAndTheNextOpeningStartsAfresh) {
  Open();
  Click(Row(0, 1));
  EXPECT_EQ(window_.FocusedCommand(), commands_.Find("CTRL_TILT"));
  QTest::mouseClick(window_.cxButton2, Qt::LeftButton);
  EXPECT_EQ(window_.result(), kModalOk);
  EXPECT_FALSE(window_.isVisible());

  Open();
  EXPECT_FALSE(Tree()->currentIndex().isValid());
  const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
  QTest::mouseClick(window_.cxButton2, Qt::LeftButton);
  EXPECT_EQ(box->Text, "No entry selected.");
}

TEST_F(CatalogWindowTest, DoubleClickAnywhereInACategoryRowTogglesIt) {
  Open();
  for (int column : {kMessage, kDescription}) {
    SCOPED_TRACE(column);
    DoubleClick(Row(2, -1, column));
    EXPECT_FALSE(Tree()->isExpanded(Row(2)));
    EXPECT_TRUE(window_.isVisible());
    DoubleClick(Row(2, -1, column));
    EXPECT_TRUE(Tree()->isExpanded(Row(2)));
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Tree()->currentIndex().siblingAtColumn(kMessage), Row(2));
  }
}

TEST_F(CatalogWindowTest, DoubleClickAnywhereInACommandRowAcceptsIt) {
  for (int column : {kMessage, kDescription}) {
    SCOPED_TRACE(column);
    Open();
    DoubleClick(Row(2, 3, column));
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.result(), kModalOk);
    EXPECT_EQ(window_.FocusedCommand(), commands_.Find("GET_DCT_LOCK"));
  }
}

TEST_F(CatalogWindowTest, DoubleClickThatLeavesTheRowUnselectedAcceptsNothing) {
  Open();
  Click(Row(2, 3));
  // Ctrl with the first click takes the selection off the row.
  DoubleClickAt(Tree()->viewport(), Centre(Row(2, 3)), Qt::ControlModifier);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.result(), 0);
  EXPECT_EQ(window_.FocusedCommand(), nullptr);
}

TEST_F(CatalogWindowTest, CancelCloseBoxEscapeAndEnter) {
  Open();
  Click(Row(0, 0));
  QTest::keyClick(Tree(), Qt::Key_Escape);
  QTest::keyClick(Tree(), Qt::Key_Return);
  QTest::keyClick(window_.cxButton2, Qt::Key_Enter);
  EXPECT_TRUE(window_.isVisible());

  QTest::mouseClick(window_.cxButton1, Qt::LeftButton);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(window_.result(), kModalCancel);

  Open();
  window_.close();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(window_.result(), kModalCancel);
}

TEST_F(CatalogWindowTest, CentredAtFirstThenKeepsPlaceAndSize) {
  Open();
  EXPECT_EQ(window_.size(), QSize(691, 275));
  const QPoint centre = window_.screen()->availableGeometry().center();
  EXPECT_LE((window_.geometry().center() - centre).manhattanLength(), 4);  // Rounding only.

  const QRect moved(40, 50, 500, 320);
  window_.setGeometry(moved);
  QTest::mouseClick(window_.cxButton1, Qt::LeftButton);
  Open();
  EXPECT_EQ(window_.geometry(), moved);
}

// Both columns can be dragged by their headers in either direction; each keeps its width rule,
// its texts and its hints, and the tree stays with the message column.
TEST_F(CatalogWindowTest, ColumnsMoveByDraggingTheirHeaders) {
  struct Drag {
    int Column;
    bool ToRightEnd;  // Else to the left end.
  };
  struct Case {
    const char* Name;
    std::vector<Drag> Drags;
    std::vector<int> Order;  // The columns from left to right afterwards.
  };
  const std::vector<Case> cases = {
      {"Description in front of Message", {{kDescription, false}}, {kDescription, kMessage}},
      {"Message behind Description", {{kMessage, true}}, {kDescription, kMessage}},
      {"Message back in front", {{kMessage, true}, {kMessage, false}}, {kMessage, kDescription}},
      {"Description back behind",
       {{kDescription, false}, {kDescription, true}},
       {kMessage, kDescription}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Open();
    QHeaderView* header = Tree()->header();
    for (const Drag& drag : c.Drags) DragHeader(drag.Column, drag.ToRightEnd);
    ASSERT_EQ(header->logicalIndex(0), c.Order[0]);
    ASSERT_EQ(header->logicalIndex(1), c.Order[1]);

    // "Message" keeps 200 wherever it stands; "Description" takes the rest, also after a resize.
    for (const QSize size : {QSize(691, 275), QSize(900, 400)}) {
      window_.resize(size);
      QTest::qWait(0);
      EXPECT_EQ(header->sectionSize(kMessage), 200);
      EXPECT_EQ(header->sectionSize(kDescription), header->viewport()->width() - 200);
    }

    // What the user sees at each place of the CTRL_TILT row, past the tree's indentation.
    const int y = Centre(Row(0, 1)).y();
    const auto cellAt = [&](int column) {
      return Tree()->indexAt(QPoint(header->sectionViewportPosition(column) + 60, y));
    };
    const QModelIndex message = cellAt(kMessage);
    const QModelIndex description = cellAt(kDescription);
    EXPECT_EQ(message.data().toString(), "CTRL_TILT");
    EXPECT_EQ(message.data(Qt::ToolTipRole).toString(), "");
    EXPECT_EQ(description.data().toString(), "Tilt +/-");
    EXPECT_EQ(description.data(Qt::ToolTipRole).toString(), "Tilt +/-");

    // The expand button stays in the message column.
    ClickExpandButton(0);
    EXPECT_FALSE(Tree()->isExpanded(Row(0)));

    QTest::mouseClick(window_.cxButton1, Qt::LeftButton);
    header->moveSection(header->visualIndex(kMessage), 0);
  }
}

TEST_F(CatalogWindowTest, ContextMenuOnlyOnCommandRows) {
  Open();
  EXPECT_EQ(window_.vstCommandsGetPopupMenu(Row(0, 0)), window_.popupDetails);
  EXPECT_EQ(window_.vstCommandsGetPopupMenu(Row(0)), nullptr);
  EXPECT_EQ(window_.vstCommandsGetPopupMenu(QModelIndex()), nullptr);

  PopupMenuCloser menus;
  RightClick(Row(1));
  EXPECT_TRUE(menus.Menus.isEmpty());
  EXPECT_EQ(Tree()->currentIndex(), Row(1));

  RightClick(Row(1, 4));
  EXPECT_EQ(menus.Menus, QList<QStringList>{QStringList{"Properties ..."}});
  EXPECT_EQ(window_.FocusedCommand(), commands_.Find("ST_DCT_LOCK"));
}

TEST_F(CatalogWindowTest, PropertiesShowNameAndLengthOfTheFocusedCommand) {
  Open();
  Click(Row(1, 0));
  const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
  window_.Properties1->trigger();
  EXPECT_TRUE(box->Shown);
  EXPECT_EQ(box->Title, "Properties");
  EXPECT_EQ(box->Text, "Message Name (MSG): SET_CHANNEL_MODE\nLEN: 0F");
  EXPECT_EQ(box->Icon, QMessageBox::Information);

  Click(Row(1));
  const std::shared_ptr<SeenBox> none = CloseNextMessageBox();
  window_.Properties1->trigger();
  QTest::qWait(50);
  EXPECT_FALSE(none->Shown);
}

// The main window choosing through the browser, which it opens modally.
class BrowseFromMainWindowTest : public testing::Test {
 protected:
  BrowseFromMainWindowTest() {
    form_.SetCommandCatalog(catalog_);
    form_.show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&form_);
  }

  // Opens the browser with "..." and, once it shows, runs "steps" in it.
  void Browse(const std::function<void(TfrmCommandCatalog&)>& steps) {
    RunWhenShown(catalog_, [this, steps] { steps(*catalog_); });
    QTest::mouseClick(form_.cxButton1, Qt::LeftButton);
  }

  static QModelIndex CommandRow(TfrmCommandCatalog& window, const QString& name) {
    const QModelIndexList found = window.vstCommands->model()->match(
        window.vstCommands->model()->index(0, 0), Qt::DisplayRole, name, 1,
        Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
  }

  static void ClickRow(TfrmCommandCatalog& window, const QString& name) {
    const QModelIndex row = CommandRow(window, name);
    window.vstCommands->scrollTo(row);
    QTest::mouseClick(window.vstCommands->viewport(), Qt::LeftButton, {},
                      window.vstCommands->visualRect(row).center());
  }

  static void PickWithOk(TfrmCommandCatalog& window, const QString& name) {
    ClickRow(window, name);
    QTest::mouseClick(window.cxButton2, Qt::LeftButton);
  }

  TfrmMain form_;
  TfrmCommandCatalog* catalog_ = new TfrmCommandCatalog(&form_);
};

TEST_F(BrowseFromMainWindowTest, OkWithAnotherCommandChoosesItWithItsDefaults) {
  Browse([](TfrmCommandCatalog& window) { PickWithOk(window, "CTRL_DIM"); });
  EXPECT_EQ(form_.cbCommand->currentText(), "CTRL_DIM");
  EXPECT_EQ(form_.ParamEditors.size(), 3);
  EXPECT_EQ(form_.lblDescription->text(), "Dim +/-");
  EXPECT_EQ(form_.memoResult->toPlainText().split(u'\n').value(1),
            "Raw Data:     82 0E 05 00 FF FF 02 00 05 00 00 00");
}

TEST_F(BrowseFromMainWindowTest, OkWithTheSameCommandKeepsTheValues) {
  ASSERT_TRUE(ClickComboItem(form_.cbCommand, "CTRL_POSITION"));
  QWidget* channel = form_.ParamEditors[0];
  QTest::keyClick(channel, Qt::Key_Up);
  QTest::keyClick(channel, Qt::Key_Up);

  Browse([](TfrmCommandCatalog& window) { PickWithOk(window, "CTRL_POSITION"); });

  ASSERT_EQ(form_.ParamEditors.size(), 2);
  EXPECT_EQ(form_.ParamEditors[0], channel);
  EXPECT_EQ(qobject_cast<TSpinEdit*>(channel)->Value(), 2);
  EXPECT_EQ(form_.memoResult->toPlainText().split(u'\n').value(1),
            "Raw Data:     80 0D 05 00 FF FF 02 00 05 02 01");
}

TEST_F(BrowseFromMainWindowTest, CancelAndCloseBoxChangeNothing) {
  ASSERT_TRUE(ClickComboItem(form_.cbCommand, "SET_SUN_AUTO"));
  QTest::keyClick(form_.ParamEditors[0], Qt::Key_Up);
  const QString result = form_.memoResult->toPlainText();
  const QList<QWidget*> editors = form_.ParamEditors;

  Browse([](TfrmCommandCatalog& window) {
    ClickRow(window, "CTRL_DIM");
    QTest::mouseClick(window.cxButton1, Qt::LeftButton);
  });
  Browse([](TfrmCommandCatalog& window) {
    ClickRow(window, "CTRL_DIM");
    window.close();
  });

  EXPECT_EQ(form_.cbCommand->currentText(), "SET_SUN_AUTO");
  EXPECT_EQ(form_.ParamEditors, editors);
  EXPECT_EQ(form_.memoResult->toPlainText(), result);
}

}  // namespace
