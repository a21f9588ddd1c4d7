#include "TfrmTable.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "Fonts.h"
#include "FrameTable.h"
#include "QtText.h"
#include "TTableModel.h"
#include "TableText.h"

namespace {

constexpr QSize kInitialSize(1100, 600);
constexpr QSize kMinimumSize(560, 300);
constexpr int kMargin = 8;
// Room for the cell's margins beside the widest text of a column.
constexpr int kCellPadding = 16;
// The widest texts of the columns that are sized to their contents.
// Room for six digits: every row number up to the most rows of a table.
constexpr char kWidestNumber[] = "000000";
// Until a table is shown: a long message name, and a Loxone string of 15 bytes, the longest of
// the built-in commands with three-byte addresses (SET_CHANNEL_MODE's).
constexpr char kWideCommand[] = "GET_TILT_FRAMECOUNT";
constexpr std::size_t kLoxoneCharacters = 15 * 4;

constexpr QColor kErrorColor(176, 0, 0);

}  // namespace

TfrmTable::TfrmTable(QWidget* parent) : QDialog(parent) {
  setFont(FormFont());

  lblSource = new QLabel(this);
  lblSource->setTextFormat(Qt::PlainText);
  lblSource->setWordWrap(true);

  Model = new TTableModel(this);
  grdStrings = new QTableView(this);
  grdStrings->setModel(Model);
  grdStrings->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdStrings->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grdStrings->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdStrings->setAlternatingRowColors(true);
  grdStrings->setWordWrap(false);
  grdStrings->setTextElideMode(Qt::ElideRight);
  grdStrings->verticalHeader()->hide();
  // Every row as high as the Loxone string needs: fixed, so that no row is measured.
  grdStrings->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grdStrings->verticalHeader()->setDefaultSectionSize(QFontMetrics(ResultFont()).height() + 6);
  QHeaderView* columns = grdStrings->horizontalHeader();
  columns->setHighlightSections(false);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->resizeSection(TTableModel::kNumberColumn,
                         fontMetrics().horizontalAdvance(kWidestNumber) + kCellPadding);
  FitCommandColumn(QString::fromLatin1(kWideCommand));
  // The parameters take what the others leave; their whole text is in the tooltip.
  columns->setSectionResizeMode(TTableModel::kParametersColumn, QHeaderView::Stretch);
  columns->setStretchLastSection(false);
  FitLoxoneColumn(kLoxoneCharacters);
  // Table order until a column header is clicked.
  columns->setSortIndicator(-1, Qt::AscendingOrder);
  columns->setSortIndicatorClearable(true);
  grdStrings->setSortingEnabled(true);

  btnCopy = new QPushButton(tr("Copy"), this);
  btnCopy->setToolTip(tr("Copy the Loxone strings of the selected rows, one per line (Ctrl+C)"));
  btnSave = new QPushButton(tr("Save as CSV..."), this);
  btnSave->setToolTip(tr("Save the whole table as a CSV file (Ctrl+S)"));
  btnSave->setShortcut(QKeySequence::Save);
  btnClose = new QPushButton(tr("Close"), this);
  for (QPushButton* button : {btnCopy, btnSave, btnClose}) button->setAutoDefault(false);
  lblStatus = new QLabel(this);
  lblStatus->setTextFormat(Qt::PlainText);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnCopy);
  buttons->addWidget(btnSave);
  buttons->addWidget(lblStatus, 1);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(lblSource);
  layout->addWidget(grdStrings, 1);
  layout->addLayout(buttons);

  // Ctrl+C anywhere in the window copies the selected strings, the table's own copy of the
  // current cell included.
  auto* copy = new QAction(this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WindowShortcut);
  addAction(copy);
  connect(copy, &QAction::triggered, this, &TfrmTable::btnCopyClick);
  connect(btnCopy, &QPushButton::clicked, this, &TfrmTable::btnCopyClick);
  connect(btnSave, &QPushButton::clicked, this, &TfrmTable::btnSaveClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
  connect(grdStrings->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmTable::UpdateButtons);

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setMinimumSize(kMinimumSize);
  QSize size = kInitialSize;
  if (const QScreen* display = screen()) size = size.boundedTo(display->availableSize());
  resize(size);
  setWindowTitle(tr("Strings for all channels"));
  UpdateButtons();
}

void TfrmTable::ShowTable(const TListCommands& commands, const TCommand* command,
                          const QString& host, const QString& slave) {
  const std::string hostText = host.toStdString();
  const std::string slaveText = slave.toStdString();
  TTable table = CalcTable(DefaultTableCommands(commands, command), hostText, slaveText);

  const QString name = command != nullptr ? ToQString(command->MessageName) : QString();
  QString source;
  if (!table.Error) {
    const auto count = static_cast<qulonglong>(table.Rows.size());
    const QString strings = count == 1 ? tr("1 string") : tr("%1 strings").arg(count);
    const QString what = command != nullptr ? name : tr("All %1 commands").arg(commands.Count());
    source = tr("%1, host \"%2\", slave \"%3\": %4").arg(what, host, slave, strings);
  } else {
    const TTableError& error = *table.Error;
    QString reason;
    switch (error.Fault) {
      case TTableFault::Calc: {
        const QString fault = ToQString(DescribeCalcFault(error.Calc));
        switch (error.Calc.Input) {
          case TCalcInput::Host:
            reason = tr("the host address \"%1\" cannot be encoded: %2.").arg(host, fault);
            break;
          case TCalcInput::Slave:
            reason = tr("the slave address \"%1\" cannot be encoded: %2.").arg(slave, fault);
            break;
          default:
            reason =
                tr("%1 cannot be encoded: %2.").arg(ToQString(error.Command->MessageName), fault);
        }
        break;
      }
      case TTableFault::TooManyRows:
        reason = tr("the table would have %1 rows, more than %2.")
                     .arg(static_cast<qulonglong>(error.RowCount))
                     .arg(static_cast<qulonglong>(kMaxTableRows));
        break;
      case TTableFault::EmptySet:
      case TTableFault::NotAllowed:
        reason = tr("parameter %1 of %2 has no value that a table can take.")
                     .arg(error.Parameter + 1)
                     .arg(ToQString(error.Command->MessageName));
    }
    const QString what = command != nullptr ? name : tr("all %1 commands").arg(commands.Count());
    source = tr("No strings for %1: %2 Correct it in the main window and open the table again.")
                 .arg(what, reason);
  }
  QPalette palette = lblSource->palette();
  palette.setColor(
      QPalette::WindowText,
      table.Error ? kErrorColor : QGuiApplication::palette().color(QPalette::WindowText));
  lblSource->setPalette(palette);
  lblSource->setText(source);

  // Columns as wide as their widest text; the parameters take the rest.
  std::size_t longest = 0;
  QString widestCommand;
  for (const TTableRow& row : table.Rows) {
    longest = std::max(longest, row.Frame.Loxone.size());
    if (row.Command->MessageName.size() > static_cast<std::size_t>(widestCommand.size())) {
      widestCommand = ToQString(row.Command->MessageName);
    }
  }
  if (longest > 0) FitLoxoneColumn(longest);
  if (!widestCommand.isEmpty()) FitCommandColumn(widestCommand);

  baseName_ = command != nullptr ? ToQString(command->MessageName) : tr("all-commands");
  grdStrings->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  Model->SetTable(std::move(table));
  grdStrings->scrollToTop();
  SetStatus(QString());
  UpdateButtons();
}

void TfrmTable::btnCopyClick() {
  QModelIndexList rows = grdStrings->selectionModel()->selectedRows();
  if (rows.isEmpty()) {
    SetStatus(tr("Select the rows to copy first."));
    return;
  }
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  QStringList strings;
  strings.reserve(rows.size());
  for (const QModelIndex& row : rows)
    strings.append(ToQString(Model->RowAt(row.row()).Frame.Loxone));
  QGuiApplication::clipboard()->setText(strings.join(u'\n'));
  SetStatus(rows.size() == 1 ? tr("1 Loxone string copied to the clipboard.")
                             : tr("%1 Loxone strings copied to the clipboard.").arg(rows.size()));
}

QString TfrmTable::SuggestedFileName() const {
  QString folder = folder_;
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  }
  return QDir(folder).filePath(baseName_ + QStringLiteral(".csv"));
}

void TfrmTable::btnSaveClick() {
  QFileDialog dialog(this, tr("Save as CSV"), SuggestedFileName(),
                     tr("CSV files (*.csv);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveCsv(dialog.selectedFiles().constFirst());
}

bool TfrmTable::SaveCsv(const QString& fileName) {
  const std::string text = TableText(Model->Table().Rows, TTableFormat::Csv);
  QSaveFile file(fileName);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size()) &&
                     file.commit();
  if (!saved) {
    const QString reason = file.errorString();
    file.cancelWriting();
    QString text = tr("The table could not be saved to \"%1\": %2.")
                       .arg(QDir::toNativeSeparators(fileName), reason);
    if (QFileInfo::exists(fileName)) text += u'\n' + tr("The earlier file is left as it was.");
    QMessageBox box(QMessageBox::Warning, tr("Save as CSV"), text, QMessageBox::Ok, this);
    box.exec();
    SetStatus(tr("Not saved."));
    return false;
  }
  folder_ = QFileInfo(fileName).absolutePath();
  SetStatus(tr("%1 rows saved to %2.")
                .arg(static_cast<qulonglong>(Model->Table().Rows.size()))
                .arg(QDir::toNativeSeparators(fileName)));
  return true;
}

void TfrmTable::FitCommandColumn(const QString& widest) {
  const int width = std::max(fontMetrics().horizontalAdvance(widest),
                             fontMetrics().horizontalAdvance(tr("Command")));
  grdStrings->horizontalHeader()->resizeSection(TTableModel::kCommandColumn, width + kCellPadding);
}

void TfrmTable::FitLoxoneColumn(std::size_t characters) {
  // Every character of a Loxone string is as wide as any other in the fixed-pitch font.
  const int width = QFontMetrics(ResultFont())
                        .horizontalAdvance(QString(static_cast<qsizetype>(characters), u'F'));
  grdStrings->horizontalHeader()->resizeSection(TTableModel::kLoxoneColumn, width + kCellPadding);
}

void TfrmTable::SetStatus(const QString& text) { lblStatus->setText(text); }

void TfrmTable::UpdateButtons() {
  btnCopy->setEnabled(grdStrings->selectionModel()->hasSelection());
  btnSave->setEnabled(!Model->Table().Rows.empty());
}
