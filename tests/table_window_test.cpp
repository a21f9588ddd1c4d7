#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Fonts.h"
#include "FrameCli.h"
#include "FrameTable.h"
#include "TTableModel.h"
#include "TfrmMain.h"
#include "TfrmTable.h"
#include "UiTestSupport.h"

namespace {

// What brelvik-frame writes for "args".
std::string CommandLineOutput(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunFrameCli(args, in, out, err), 0) << err.str();
  return out.str();
}

std::string ReadFile(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class TableWindowTest : public testing::Test {
 protected:
  TableWindowTest() {
    form_ = std::make_unique<TfrmMain>();
    form_->show();
    QApplication::setActiveWindow(form_.get());
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(form_.get());
  }

  void Choose(const QString& name) { ASSERT_TRUE(ClickComboItem(form_->cbCommand, name)); }

  // Opens the table as a user does, with Ctrl+T in the main window. The shortcut presses the
  // header button, which clicks once it has shown itself pressed for a moment.
  TfrmTable* OpenTable() {
    // Back in the main window, as after a change of its inputs.
    QApplication::setActiveWindow(form_.get());
    QTest::keyClick(form_.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form_->btnTable->isDown(); }));
    auto* table = form_->findChild<TfrmTable*>();
    if (table != nullptr) {
      [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(table);
    }
    return table;
  }

  void TypeAddress(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  // Clicks the header of "column" of the table's view.
  static void ClickHeader(TfrmTable* table, int column) {
    QHeaderView* header = table->grdStrings->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  static QString Cell(TfrmTable* table, int row, int column) {
    return table->Model->index(row, column).data().toString();
  }

  // Selects rows "first" to "last" of the view as a user does: a click, then a shift-click.
  static void SelectRows(TfrmTable* table, int first, int last) {
    QTableView* view = table->grdStrings;
    const auto centre = [view](int row) {
      return view->visualRect(view->model()->index(row, TTableModel::kCommandColumn)).center();
    };
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(first));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(last));
  }

  std::unique_ptr<TfrmMain> form_;
};

// The model shows the core's rows in table order: the number, the command, the parameters in
// words and the Loxone string in the result area's font.
TEST_F(TableWindowTest, ShowsTheCoresTableForTheChosenCommandOrForAll) {
  TypeAddress(form_->editSlave, "050003");
  for (const QString& name : {QString(), QStringLiteral("CTRL_TILT")}) {
    SCOPED_TRACE(name.toStdString());
    if (!name.isEmpty()) Choose(name);
    TfrmTable* table = OpenTable();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->windowTitle(), "Strings for all channels");

    const TTable expected = CalcTable(DefaultTableCommands(form_->Commands, form_->ChosenCommand()),
                                      "FF FF 00", "05 00 03");
    ASSERT_FALSE(expected.Error);
    ASSERT_EQ(table->Model->rowCount(), static_cast<int>(expected.Rows.size()));
    EXPECT_EQ(table->Model->rowCount(), name.isEmpty() ? 429 : 32);
    for (int row = 0; row < table->Model->rowCount(); ++row) {
      const TTableRow& core = expected.Rows[static_cast<std::size_t>(row)];
      EXPECT_EQ(Cell(table, row, TTableModel::kNumberColumn), QString::number(row + 1));
      EXPECT_EQ(Cell(table, row, TTableModel::kCommandColumn),
                QString::fromStdString(core.Command->MessageName));
      EXPECT_EQ(Cell(table, row, TTableModel::kParametersColumn),
                QString::fromStdString(ReadableParameters(*core.Command, core.Values)));
      EXPECT_EQ(Cell(table, row, TTableModel::kLoxoneColumn),
                QString::fromStdString(core.Frame.Loxone));
    }
    EXPECT_EQ(table->Model->index(0, TTableModel::kLoxoneColumn).data(Qt::FontRole).value<QFont>(),
              ResultFont());
    EXPECT_EQ(table->lblSource->text(),
              name.isEmpty() ? "All 15 commands, host \"FF FF 00\", slave \"05 00 03\": 429 strings"
                             : "CTRL_TILT, host \"FF FF 00\", slave \"05 00 03\": 32 strings");
  }
  // Both openings showed the same window.
  EXPECT_EQ(form_->findChildren<TfrmTable*>().size(), 1);
}

TEST_F(TableWindowTest, AnAddressThatCannotBeEncodedGivesAReasonAndNoRows) {
  Choose("CTRL_POSITION");
  form_->editHost->setFocus();
  form_->editHost->setCursorPosition(1);
  QTest::keyClick(form_->editHost, Qt::Key_G);
  ASSERT_EQ(form_->editHost->displayText(), "FG FF 00");
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Model->rowCount(), 0);
  EXPECT_EQ(table->lblSource->text(),
            "No strings for CTRL_POSITION: the host address \"FG FF 00\" cannot be encoded: \"G\" "
            "at position 2 is not a hexadecimal digit. Correct it in the main window and open the "
            "table again.");
  EXPECT_FALSE(table->btnSave->isEnabled());
  EXPECT_FALSE(table->btnCopy->isEnabled());

  // An emptied position is half a byte: no rows either, never rows of a shorter address.
  form_->editHost->setText("FF FF 00");
  form_->editSlave->setFocus();
  form_->editSlave->setCursorPosition(7);
  QTest::keyClick(form_->editSlave, Qt::Key_Delete);
  ASSERT_EQ(form_->editSlave->displayText(), "05 00 0 ");
  OpenTable();
  EXPECT_EQ(table->Model->rowCount(), 0);
  EXPECT_TRUE(table->lblSource->text().contains("the slave address \"05 00 0 \" cannot be encoded"))
      << table->lblSource->text().toStdString();

  form_->editSlave->setText("05 00 02");
  OpenTable();
  EXPECT_EQ(table->Model->rowCount(), 64);
  EXPECT_TRUE(table->btnSave->isEnabled());
}

TEST_F(TableWindowTest, SortsValuesAsNumbersAndKeepsTheSelectionOnItsRows) {
  Choose("CTRL_POSITION");
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);

  // The selection goes with its row wherever the sorting puts it.
  SelectRows(table, 41, 41);  // Channel 10, DOWN/OFF.
  ASSERT_EQ(Cell(table, 41, TTableModel::kParametersColumn),
            "RTS channel selection=10; Action=2 (DOWN/OFF)");

  // As text, "RTS channel selection=10" would come before "...=2"; as numbers it comes after 9.
  ClickHeader(table, TTableModel::kParametersColumn);
  ClickHeader(table, TTableModel::kParametersColumn);
  EXPECT_EQ(table->grdStrings->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  std::vector<std::vector<std::int32_t>> values;
  for (int row = 0; row < table->Model->rowCount(); ++row) {
    values.push_back(table->Model->RowAt(row).Values);
  }
  EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
  EXPECT_EQ(values.front(), (std::vector<std::int32_t>{15, 4}));
  const QModelIndexList selected = table->grdStrings->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(table->Model->RowAt(selected.front().row()).Values, (std::vector<std::int32_t>{10, 2}));

  ClickHeader(table, TTableModel::kLoxoneColumn);
  for (int row = 1; row < table->Model->rowCount(); ++row) {
    EXPECT_LE(Cell(table, row - 1, TTableModel::kLoxoneColumn),
              Cell(table, row, TTableModel::kLoxoneColumn));
  }
  // The number column gives the table order back.
  ClickHeader(table, TTableModel::kNumberColumn);
  for (int row = 0; row < table->Model->rowCount(); ++row) {
    ASSERT_EQ(Cell(table, row, TTableModel::kNumberColumn), QString::number(row + 1));
  }
}

TEST_F(TableWindowTest, CopiesTheSelectedLoxoneStringsOnePerLine) {
  Choose("CTRL_POSITION");
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  QGuiApplication::clipboard()->setText("something else");
  EXPECT_FALSE(table->btnCopy->isEnabled());

  SelectRows(table, 2, 4);
  EXPECT_TRUE(table->btnCopy->isEnabled());
  QTest::keyClick(table->grdStrings, Qt::Key_C, Qt::ControlModifier);
  const QString expected = Cell(table, 2, TTableModel::kLoxoneColumn) + u'\n' +
                           Cell(table, 3, TTableModel::kLoxoneColumn) + u'\n' +
                           Cell(table, 4, TTableModel::kLoxoneColumn);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
  EXPECT_EQ(table->lblStatus->text(), "3 Loxone strings copied to the clipboard.");

  // In the order shown: sorted the other way round, the same rows come the other way round.
  ClickHeader(table, TTableModel::kNumberColumn);
  ClickHeader(table, TTableModel::kNumberColumn);
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(table->btnCopy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            Cell(table, 59, TTableModel::kLoxoneColumn) + u'\n' +
                Cell(table, 60, TTableModel::kLoxoneColumn) + u'\n' +
                Cell(table, 61, TTableModel::kLoxoneColumn));
  EXPECT_EQ(QGuiApplication::clipboard()->text().split(u'\n').size(), 3);

  // One row gives exactly its string, as the main window's copy button does.
  SelectRows(table, 0, 0);
  QTest::keyClick(table->grdStrings, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Cell(table, 0, TTableModel::kLoxoneColumn));
  EXPECT_EQ(table->lblStatus->text(), "1 Loxone string copied to the clipboard.");

  // Nothing selected: the clipboard keeps what it had.
  table->grdStrings->clearSelection();
  EXPECT_FALSE(table->btnCopy->isEnabled());
  QTest::keyClick(table->grdStrings, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Cell(table, 0, TTableModel::kLoxoneColumn));
}

// A folder of the test's own, removed with everything in it at the end.
class SaveTest : public TableWindowTest {
 protected:
  SaveTest()
      : folder_(QDir(QString::fromStdString(testing::TempDir()))
                    .filePath(QStringLiteral("table-save-%1").arg(getpid()))) {
    QDir(folder_).removeRecursively();
    QDir().mkpath(folder_);
  }
  ~SaveTest() override {
    chmod(folder_.toLocal8Bit().constData(), 0755);
    QDir(folder_).removeRecursively();
  }

  QString Path(const QString& name) const { return QDir(folder_).filePath(name); }

  QString folder_;
};

TEST_F(SaveTest, WritesExactlyWhatTheCommandLineWrites) {
  TypeAddress(form_->editHost, "FFFF01");
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  // Sorting changes what the window shows, not what it saves.
  ClickHeader(table, TTableModel::kLoxoneColumn);
  ASSERT_TRUE(table->SaveCsv(Path("all.csv")));
  EXPECT_EQ(ReadFile(Path("all.csv")), CommandLineOutput({"table", "--host", "FF FF 01"}));
  EXPECT_EQ(table->lblStatus->text(), "429 rows saved to " + Path("all.csv") + ".");

  Choose("SET_SUN_AUTO");
  OpenTable();
  ASSERT_TRUE(table->SaveCsv(Path("all.csv")));
  EXPECT_EQ(ReadFile(Path("all.csv")),
            CommandLineOutput({"table", "SET_SUN_AUTO", "--host", "FF FF 01", "--format=csv"}));
}

TEST_F(SaveTest, TheSaveDialogSuggestsANameAndAddsTheSuffix) {
  Choose("CTRL_DIM");
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->SuggestedFileName().endsWith("/CTRL_DIM.csv"))
      << table->SuggestedFileName().toStdString();

  QString suggested;
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(10);
  QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    suggested = dialog->selectedFiles().value(0);
    dialog->selectFile(Path("dimmers"));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept() is protected.
  });
  timer->start();
  QTest::mouseClick(table->btnSave, Qt::LeftButton);
  EXPECT_TRUE(suggested.endsWith("/CTRL_DIM.csv")) << suggested.toStdString();
  EXPECT_EQ(ReadFile(Path("dimmers.csv")), CommandLineOutput({"table", "CTRL_DIM"}));
  // The next save starts in the folder of this one.
  EXPECT_EQ(table->SuggestedFileName(), Path("CTRL_DIM.csv"));
}

TEST_F(SaveTest, AFailedSaveLeavesTheEarlierFileIntactAndSaysSo) {
  TfrmTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const QString earlier = Path("table.csv");
  {
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the earlier table\n");
  }
  // A folder that takes no new file: the save cannot even start its temporary file. The
  // superuser writes anywhere, so the test gives up that right while it saves.
  ASSERT_EQ(chmod(folder_.toLocal8Bit().constData(), 0555), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(seteuid(65534), 0);
  }
  const std::shared_ptr<SeenBox> box = CloseNextMessageBox();
  const bool saved = table->SaveCsv(earlier);
  if (root) {
    ASSERT_EQ(seteuid(0), 0);
  }

  EXPECT_FALSE(saved);
  EXPECT_TRUE(box->Shown);
  EXPECT_EQ(box->Icon, QMessageBox::Warning);
  EXPECT_TRUE(box->Text.startsWith("The table could not be saved to \"" + earlier + "\": "))
      << box->Text.toStdString();
  EXPECT_TRUE(box->Text.endsWith("The earlier file is left as it was.")) << box->Text.toStdString();
  EXPECT_EQ(ReadFile(earlier), "the earlier table\n");
  EXPECT_EQ(QDir(folder_).entryList(QDir::Files), QStringList{"table.csv"});
  EXPECT_EQ(table->lblStatus->text(), "Not saved.");

  // A folder that does not exist: no earlier file to speak of.
  const std::shared_ptr<SeenBox> missing = CloseNextMessageBox();
  EXPECT_FALSE(table->SaveCsv(Path("missing/table.csv")));
  EXPECT_TRUE(missing->Shown);
  EXPECT_FALSE(missing->Text.contains("earlier")) << missing->Text.toStdString();
}

}  // namespace
