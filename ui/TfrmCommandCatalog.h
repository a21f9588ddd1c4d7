#pragma once

#include <QDialog>
#include <QMetaType>
#include <QString>

#include "ModalResult.h"
#include "TListCommands.h"

class QFrame;
class QMenu;
class QAction;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTreeView;

// The record of every row of the command tree: the row's command, or none for a category row,
// and the category text that a category row shows.
struct TCatalogNodeData {
  const TCommand* Command = nullptr;
  QString Caption;
};
Q_DECLARE_METATYPE(TCatalogNodeData)

// The command browser: the catalogue as a tree of categories and their commands, from which the
// user picks one command. Opened modally by the main window, which reads the picked command from
// the focused row when the window closes with kModalOk.
class TfrmCommandCatalog : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmCommandCatalog(QWidget* parent = nullptr);

  // The record of the row at "index", or an empty one for no row.
  static TCatalogNodeData NodeData(const QModelIndex& index);
  // The command of the focused row; null when no row is focused or it is a category row.
  const TCommand* FocusedCommand() const;

  // Rebuilds the tree from Commands; runs at every showing.
  void FormShow();
  // The text of "column" of a row: by column identity, whatever its place on screen.
  static QString vstCommandsGetText(const TCatalogNodeData& node, int column);
  // The hint of "column" of a row: the whole description over a command's description cell.
  static QString vstCommandsGetHint(const TCatalogNodeData& node, int column);
  // The context menu offered for the row at "index": popupDetails for command rows, else none.
  QMenu* vstCommandsGetPopupMenu(const QModelIndex& index) const;
  void vstCommandsNodeDblClick(const QModelIndex& index);
  // Shows the message name and length code of the focused command.
  void Properties1Click();
  void cxButton1Click();
  void btnOkClick();

  QTreeView* vstCommands;
  QFrame* Panel1;
  QMenu* popupDetails;
  QAction* Properties1;
  QPushButton* cxButton1;
  QPushButton* cxButton2;
  // The list to show; borrowed from the caller, set before every opening.
  const TListCommands* Commands = nullptr;

 public slots:
  // Closing by the close box, or any other way, counts as Cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowContextMenu(const QPoint& position);
  void ShowError(const QString& text);

  QStandardItemModel* model_;
  bool placed_ = false;
};
