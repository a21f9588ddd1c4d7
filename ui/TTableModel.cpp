#include "TTableModel.h"

#include <algorithm>
#include <numeric>

#include "Fonts.h"
#include "QtText.h"

TTableModel::TTableModel(QObject* parent)
    : QAbstractTableModel(parent), loxoneFont_(ResultFont()) {}

void TTableModel::SetTable(TTable table) {
  beginResetModel();
  table_ = std::move(table);
  order_.resize(table_.Rows.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  endResetModel();
}

const TTableRow& TTableModel::RowAt(int row) const {
  return table_.Rows[order_[static_cast<std::size_t>(row)]];
}

int TTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int TTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TTableRow& row = RowAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kNumberColumn:
          return static_cast<qulonglong>(order_[static_cast<std::size_t>(index.row())] + 1);
        case kCommandColumn:
          return ToQString(row.Command->MessageName);
        case kParametersColumn:
          return ToQString(ReadableParameters(*row.Command, row.Values));
        case kLoxoneColumn:
          return ToQString(row.Frame.Loxone);
      }
      return {};
    case Qt::ToolTipRole:
      // The whole text of a cell that may be too narrow for it.
      return index.column() == kParametersColumn
                 ? QVariant(ToQString(ReadableParameters(*row.Command, row.Values)))
                 : QVariant();
    case Qt::FontRole:
      return index.column() == kLoxoneColumn ? QVariant(loxoneFont_) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == kNumberColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  switch (section) {
    case kNumberColumn:
      return tr("No.");
    case kCommandColumn:
      return tr("Command");
    case kParametersColumn:
      return tr("Parameters");
    case kLoxoneColumn:
      return tr("Loxone string");
  }
  return {};
}

void TTableModel::sort(int column, Qt::SortOrder order) {
  const std::vector<TTableRow>& rows = table_.Rows;
  // Whether table row "a" comes before "b" by "column" alone, ascending.
  const auto before = [&rows, column](std::size_t a, std::size_t b) {
    switch (column) {
      case kCommandColumn:
        return rows[a].Command->MessageName < rows[b].Command->MessageName;
      case kParametersColumn:
        return rows[a].Values < rows[b].Values;
      case kLoxoneColumn:
        return rows[a].Frame.Loxone < rows[b].Frame.Loxone;
    }
    return a < b;
  };

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList persistent = persistentIndexList();
  std::vector<std::size_t> shownAt;
  shownAt.reserve(static_cast<std::size_t>(persistent.size()));
  for (const QModelIndex& index : persistent) {
    shownAt.push_back(order_[static_cast<std::size_t>(index.row())]);
  }

  std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
    if (order == Qt::DescendingOrder) std::swap(a, b);
    if (before(a, b)) return true;
    if (before(b, a)) return false;
    return order == Qt::DescendingOrder ? b < a : a < b;
  });

  // Where every table row is shown now, so that selection and current row follow their rows.
  std::vector<int> rowOf(order_.size());
  for (std::size_t row = 0; row < order_.size(); ++row) rowOf[order_[row]] = static_cast<int>(row);
  QModelIndexList moved;
  moved.reserve(persistent.size());
  for (qsizetype i = 0; i < persistent.size(); ++i) {
    moved.append(index(rowOf[shownAt[static_cast<std::size_t>(i)]], persistent[i].column()));
  }
  changePersistentIndexList(persistent, moved);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
