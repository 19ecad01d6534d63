#pragma once
// The one Qt model of the program's string grids: it shows a core GridTable (optionally only
// some of its columns) and lets edits through only where the grid's rules allow them.

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "wizard/grid.h"

namespace qj::ui {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `table` and `rules` must outlive the model. Without rules the grid is read-only.
  GridModel(GridTable& table, const GridRules* rules, QObject* parent = nullptr);

  // The table columns shown, in order; by default all of them.
  void setVisibleColumns(std::vector<int> columns);
  int tableColumn(int viewColumn) const;
  int viewColumn(int tableColumn) const;  // -1 when hidden
  // Columns drawn like the fixed columns of a grid (shaded, never edited).
  void setFixedColumns(int count) { fixedColumns_ = count; }
  int fixedColumns() const { return fixedColumns_; }

  GridTable& table() { return table_; }
  const GridRules* rules() const { return rules_; }
  // Whether `text` may become the content of the cell at a view index.
  bool accepts(const QModelIndex& index, const QString& text) const;
  // What the cell at a view index takes, as its editor filters it.
  FieldRule cellRule(const QModelIndex& index) const;

  // Call after the core changed the table behind the model's back.
  void reload();
  void cellsChanged(int firstRow, int lastRow);

  // While a step rewrites the table on another thread, the model reads nothing of it, nor of
  // the rules, which read the step's state too. The views keep the rows they know and see them
  // empty and closed to edits: no view moves its cursor or calls the page back meanwhile.
  void holdTable();
  // Reads the table again once the step has ended: the views learn the rows it added or took
  // away at the end, and every cell; a cursor on a row that is still there stays on it.
  void releaseTable();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // A cell's text was changed by the user (typing or pasting), in table coordinates.
  void cellEdited(int row, int tableColumn);

 private:
  GridTable& table_;
  const GridRules* rules_;
  std::vector<int> visible_;
  int fixedColumns_ = 0;
  bool held_ = false;
  int shownRows_ = -1;  // the rows the views were told of while the table may not be read
};

}  // namespace qj::ui
