#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>

#include "TListCommands.h"

class QLabel;
class QPushButton;
class QTableView;
class TTableModel;

// The strings for all channels: the table of one command, or of every command, with the main
// window's address texts, each row calculated by the core. Rows can be sorted and selected; the
// selected Loxone strings go to the clipboard, and the whole table to a CSV file, written exactly
// as "brelvik-frame table --format csv" writes it.
class TfrmTable : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmTable(QWidget* parent = nullptr);

  // Calculates and shows the table of "command", or of every command of "commands" when it is
  // null, with the address texts "host" and "slave"; says why when there is none.
  void ShowTable(const TListCommands& commands, const TCommand* command, const QString& host,
                 const QString& slave);
  // Puts the Loxone strings of the selected rows on the clipboard, one per line, in the order
  // shown.
  void btnCopyClick();
  // Asks for a file and saves the table there as CSV.
  void btnSaveClick();
  // Writes the table as CSV to "fileName" through a temporary file that replaces it only once
  // complete, so a failed write leaves an earlier file intact; reports a failure in a message box.
  bool SaveCsv(const QString& fileName);
  // The file name the save dialog suggests, in the folder it starts in.
  QString SuggestedFileName() const;

  QLabel* lblSource;
  QTableView* grdStrings;
  QPushButton* btnCopy;
  QPushButton* btnSave;
  QPushButton* btnClose;
  QLabel* lblStatus;
  TTableModel* Model;

 private:
  // Makes the command column wide enough for the name "widest".
  void FitCommandColumn(const QString& widest);
  // Makes the Loxone column wide enough for strings of "characters" characters.
  void FitLoxoneColumn(std::size_t characters);
  void SetStatus(const QString& text);
  void UpdateButtons();

  QString baseName_;
  QString folder_;
};
