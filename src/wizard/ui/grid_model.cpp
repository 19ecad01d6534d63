#include "wizard/ui/grid_model.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>
#include <numeric>

#include "platform/ui/qt_text.h"

namespace qj::ui {

GridModel::GridModel(GridTable& table, const GridRules* rules, QObject* parent)
    : QAbstractTableModel(parent), table_(table), rules_(rules) {
  visible_.resize(static_cast<size_t>(table_.columns()));
  std::iota(visible_.begin(), visible_.end(), 0);
}

void GridModel::setVisibleColumns(std::vector<int> columns) {
  beginResetModel();
  visible_ = std::move(columns);
  endResetModel();
}

int GridModel::tableColumn(int viewColumn) const {
  return viewColumn >= 0 && static_cast<size_t>(viewColumn) < visible_.size() ? visible_[viewColumn]
                                                                              : -1;
}

int GridModel::viewColumn(int tableColumn) const {
  const auto it = std::find(visible_.begin(), visible_.end(), tableColumn);
  return it == visible_.end() ? -1 : static_cast<int>(it - visible_.begin());
}

bool GridModel::accepts(const QModelIndex& index, const QString& text) const {
  if (held_ || !rules_ || !index.isValid() || !representable(text)) return false;
  const int col = tableColumn(index.column());
  return rules_->typable(table_, index.row(), col) &&
         rules_->accepts(table_, index.row(), col, fromQt(text));
}

FieldRule GridModel::cellRule(const QModelIndex& index) const {
  return rules_ && !held_ ? rules_->cellRule(table_, index.row(), tableColumn(index.column()))
                          : FieldRule{};
}

void GridModel::reload() {
  beginResetModel();
  endResetModel();
}

void GridModel::cellsChanged(int firstRow, int lastRow) {
  if (firstRow > lastRow || columnCount() == 0) return;
  emit dataChanged(index(firstRow, 0), index(lastRow, columnCount() - 1));
}

void GridModel::holdTable() {
  if (held_) return;
  shownRows_ = rowCount();
  held_ = true;
}

void GridModel::releaseTable() {
  if (!held_) return;
  held_ = false;
  // Until the rows are announced the views still count the rows they were told of.
  const int shown = shownRows_, rows = table_.rows();
  if (rows < shown) {
    beginRemoveRows({}, rows, shown - 1);
    shownRows_ = -1;
    endRemoveRows();
  } else if (rows > shown) {
    beginInsertRows({}, shown, rows - 1);
    shownRows_ = -1;
    endInsertRows();
  }
  shownRows_ = -1;
  cellsChanged(0, rows - 1);
}

int GridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return shownRows_ >= 0 ? shownRows_ : table_.rows();
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (held_) return QString();
      return toQt(table_.cell(index.row(), tableColumn(index.column())));
    case Qt::BackgroundRole:
      if (index.column() < fixedColumns_) return QPalette().brush(QPalette::Button);
      return {};
    default: return {};
  }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (held_ || role != Qt::EditRole || !index.isValid()) return false;
  const QString text = value.toString();
  const int col = tableColumn(index.column());
  if (toQt(table_.cell(index.row(), col)) == text) return true;
  if (!accepts(index, text)) return false;
  table_.set(index.row(), col, fromQt(text));
  emit dataChanged(index, index);
  emit cellEdited(index.row(), col);
  return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = tableColumn(index.column());
  if (rules_ && !held_ && index.column() >= fixedColumns_ &&
      rules_->typable(table_, index.row(), col))
    f |= Qt::ItemIsEditable;
  return f;
}

}  // namespace qj::ui
