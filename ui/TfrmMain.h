#pragma once

// The main window. It gathers the inputs (the two address fields, the chosen command and the
// parameter editors), hands them to the frame calculation and places its results: the result
// area, the description, the status line and the Loxone string that the copy button puts on the
// clipboard. The parameter panel is rebuilt from the command's parameters whenever another
// command is chosen, from the drop-down list or through the command browser.

#include <QList>
#include <QString>
#include <QWidget>

#include "TColorButton.h"
#include "TComboBox.h"
#include "TListCommands.h"

class QIcon;
class QKeySequence;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class TfrmCommandCatalog;
class TfrmTable;
class TfrmDecode;
struct TDecodeResult;

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The command browser that the "..." button opens; not owned, may be null.
  void SetCommandCatalog(TfrmCommandCatalog* catalog) { frmCommandCatalog_ = catalog; }

  // Reads the inputs, runs the frame calculation and shows its results.
  void UpdateCalc();
  // Rebuilds the parameter panel for the chosen command and recalculates.
  void cbCommandPropertiesChange();
  // Chooses a command through the command browser.
  void cxButton1Click();
  // Fills the catalogue and the command chooser; runs once, at the first showing.
  void FormShow();
  // Puts the Loxone string on the clipboard.
  void cxButton2Click();
  // Opens the window that reads a Loxone string back (Ctrl+D).
  void btnDecodeClick();
  // Opens the window with the strings for all channels (Ctrl+T).
  void btnTableClick();

  // The command of the chosen chooser item, or null when none is chosen.
  const TCommand* ChosenCommand() const;

  TComboBox* cbCommand;
  QLabel* cxLabel1;
  QLabel* lblDescription;
  QScrollArea* sbProperties;
  QPushButton* cxButton1;
  QLabel* cxLabel2;
  QLabel* cxLabel3;
  QLabel* cxLabel4;
  QLabel* cxLabel5;
  TColorButton* cxButton2;
  QPlainTextEdit* memoResult;
  QLabel* lblStatus;
  QFrame* Panel1;
  QLabel* Image1;
  QLineEdit* editHost;
  QLineEdit* editSlave;
  QLabel* cxLabel6;
  // The small buttons in the free right part of the header band, beside each other.
  QToolButton* btnDecode;
  QToolButton* btnTable;

  TListCommands Commands;
  // The editors of the parameter panel in parameter order; owned by the panel.
  QList<QWidget*> ParamEditors;
  QString LoxoneString;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top);
  // Makes a small button in the header band, "slot" places from its right end.
  QToolButton* MakeHeaderButton(const QIcon& icon, const QString& toolTip,
                                const QKeySequence& shortcut, int slot);
  // Makes the row of "property" at "top" in "panel"; returns its editor, or null for a type
  // without one.
  QWidget* MakeParamRow(QWidget* panel, const TProperty& property, int top);
  void UpdateTabOrder();
  // Sets the addresses, the command and the editors to what "decoded" holds, and recalculates.
  void UseDecoded(const TDecodeResult& decoded);

  TfrmCommandCatalog* frmCommandCatalog_ = nullptr;
  // The window of the strings for all channels; owned by this window, made when first opened.
  TfrmTable* frmTable_ = nullptr;
  // The window that checks a string; made at its first opening, owned by this window.
  TfrmDecode* frmDecode_ = nullptr;
  bool shown_ = false;
};
