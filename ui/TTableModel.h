#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <vector>

#include "FrameTable.h"

// The rows of a calculated table for a view: its number in the table, the command, the
// parameters in words and the Loxone string, in the fixed-pitch font of the result area. Sorting
// reorders the rows shown, never the table itself.
class TTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumberColumn, kCommandColumn, kParametersColumn, kLoxoneColumn, kColumnCount };

  explicit TTableModel(QObject* parent = nullptr);

  // Shows "table", in table order.
  void SetTable(TTable table);
  const TTable& Table() const { return table_; }
  // The row of the table shown at "row".
  const TTableRow& RowAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  // Sorts by "column": the number and the parameters by their values as numbers, the command by
  // its name and the Loxone string by its text; rows that compare equal keep their table order.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  TTable table_;
  // The table row shown at each row of the model.
  std::vector<std::size_t> order_;
  QFont loxoneFont_;
};
