#pragma once
// A wizard grid with its titles: the titles stand as labels above the columns they name (a
// title of a group of columns above the titles of its columns), each fitted to the width of
// its columns, and follow the columns when some are hidden. The grid is the program's one
// grid model and view over a core table.

#include <QLabel>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

#include "text/message.h"
#include "wizard/grid.h"
#include "wizard/ui/grid_model.h"
#include "wizard/ui/grid_view.h"

namespace qj::ui {

class WizardGrid : public QWidget {
  Q_OBJECT

 public:
  // `widths`: the design width in design pixels of every column of the table (hidden ones
  // included); a column is made wider where its title would otherwise break inside a word. `rules`
  // must outlive the grid; the table belongs to the wizard's state.
  WizardGrid(QWidget* parent, const char* gridName, GridTable& table, const GridRules* rules,
             std::vector<int> widths, const ShellTables& texts);

  // Where a title stands: on the line of group titles, on the line of column titles, or
  // over both lines (a column without a group).
  enum class Line { Group, Column, Both };
  // A title over the table columns first..last, laid out by the next showColumns or refresh.
  // A fitted title is broken to its width as every
  // fitted caption is; the others wrap at their blanks.
  QLabel* addTitle(const char* name, const Text& text, int first, int last, Line line,
                   bool fit = true);

  GridView* view() const { return view_; }
  GridModel* model() const { return model_; }

  // The widest the grid may become by fitting its columns to their texts.
  void setRoom(int width) { room_ = width; }

  // As wide as its columns; narrower where the page has less room, and then it scrolls
  // sideways.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // The table columns shown, in order (the cursor keeps its cell while its column is shown).
  // Titles of hidden columns are hidden.
  void showColumns(std::vector<int> columns);
  // Reads the table again (after a step changed it; the cursor keeps its cell) and lays the
  // titles out again (after a step changed their captions).
  void refresh();

 private:
  struct Title {
    QLabel* label;
    int first, last;
    Line line;
    QRect place = {};  // over its columns, the grid not scrolled
  };
  void layOutTitles();
  // The cursor back on a row and table column after the model was reset: on the last row when
  // the rows became fewer, on the first shown column when its own is hidden.
  void restoreCursor(int row, int tableColumn);
  // The titles over their columns as far as the grid is scrolled sideways.
  void placeTitles();
  // The least width of a grid on a page that has less room than its columns, in design pixels.
  static constexpr int kLeastWidth = 240;
  // Grids up to this many rows fit their columns to their texts.
  static constexpr int kMeasuredRows = 200;
  // The widths of the columns as shown: the design width, or wider where a title needs it.
  std::vector<int> columnWidths() const;

  const ShellTables& texts_;
  std::vector<int> widths_;
  std::vector<int> shown_;
  int room_ = QWIDGETSIZE_MAX / 2;
  int fullWidth_ = 0;
  std::vector<Title> titles_;
  QWidget* titleArea_;
  GridModel* model_;
  GridView* view_;
};

}  // namespace qj::ui
