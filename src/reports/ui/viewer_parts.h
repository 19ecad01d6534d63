#pragma once
// The parts both viewers are built of: the read-only parameter list with its two titles, and
// a grid under its strip of column titles whose captions are fitted to their labels.

#include <QFont>
#include <QWidget>
#include <string>

#include "frame/ui/viewer_kind.h"
#include "reports/report_texts.h"
#include "reports/ui/title_strip.h"
#include "wizard/grid.h"
#include "wizard/ui/grid_model.h"
#include "wizard/ui/grid_view.h"

namespace qj::ui {

// The decimal separator of the user's regional settings, read once for the whole run: the
// viewers write reals with it rather than with the separator typed into edits.
char regionalSeparator();

// A read-only key/value list under its two column titles.
class ParameterList : public GridView {
  Q_OBJECT

 public:
  ParameterList(const KeyValue& titles, const KeyValueList& rows, int keyWidth, int valueWidth,
                QWidget* parent = nullptr);
  const GridTable& table() const { return table_; }

 private:
  GridTable table_{2};
  ReadOnlyRules rules_;
};

// A read-only grid of the first `shownColumns` columns of a table, under a title strip.
class TitledGrid : public QWidget {
  Q_OBJECT

 public:
  // `table` must outlive the widget.
  TitledGrid(GridTable& table, int shownColumns, QWidget* parent = nullptr);

  TitleStrip* titles() const { return titles_; }

  // The title labels of every column, at their design widths scaled to the font in use. A
  // column that does not apply is hidden with its title: it takes no room and draws no rule. A
  // title that would break inside a word at its width is widened within its limits as far as `room`
  // pixels of the window allow, where a pixel mends the most broken words. A column is never
  // narrower than the pixels its cells need (`least`, by column; none when empty).
  void addTitles(const std::vector<TitleWidths>& widths, const std::vector<std::string>& titles,
                 const std::vector<bool>& applies, int room, const std::vector<int>& least = {});
  // The least width of column `col` at which each of its cells breaks at blanks into at most
  // `lines` lines without cutting a word; a separator row of dashes does not count.
  int leastColumnWidth(int col, int lines) const;
  GridView* grid() const { return grid_; }

  // Sets grid column `col` to `width` pixels as the column widths of the layout count them;
  // Qt draws the grid line inside the column, so the column gets one pixel more.
  void setColumnWidth(int col, int width);
  int columnWidth(int col) const;
  // Fits `text` into title label `col` at the label's width; the titles take the height that
  // the tallest of them needs.
  void fitTitle(int col, const std::string& text);
  // Rows as tall as their cells' texts wrapped at blanks into the columns' widths.
  void fitRows();

 private:
  const GridTable& table_;
  ReadOnlyRules rules_;
  TitleStrip* titles_;
  GridView* grid_;
};

// What both viewer windows share: an MDI child of its design size (scaled to the font in use),
// marked as a viewer so that the output menu acts on it, with the parameter list on top, a splitter
// under it and the titled grid below. It centres itself on the MDI area when first shown.
class ViewerWindow : public QWidget {
  Q_OBJECT

 public:
  QSize sizeHint() const override { return design_; }

 protected:
  ViewerWindow(ViewerKind kind, const std::string& caption, QSize design, QWidget* parent);
  // Puts the list (`listHeight` design pixels high, resizable from 23 to `listMaxHeight`)
  // above the rest of the window.
  void arrange(ParameterList* list, int listHeight, int listMaxHeight, QWidget* rest);
  void showEvent(QShowEvent* event) override;

 private:
  QSize design_;
  bool centred_ = false;
};

}  // namespace qj::ui
