#include "wizard/ui/wizard_grid.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {

WizardGrid::WizardGrid(QWidget* parent, const char* gridName, GridTable& table,
                       const GridRules* rules, std::vector<int> widths, const ShellTables& texts)
    : QWidget(parent), texts_(texts), widths_(px(widths)) {
  titleArea_ = new QWidget(this);
  model_ = new GridModel(table, rules, this);
  view_ = named(new GridView(this), gridName);
  view_->setGridModel(model_);
  view_->setShellTexts(texts);
  // Where the page has less room than the columns need (a small screen), the grid scrolls
  // sideways and its titles follow its columns.
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view_->setMinimumWidth(px(kLeastWidth));
  connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeTitles(); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(titleArea_);
  layout->addWidget(view_, 1);
  std::vector<int> all(widths_.size());
  std::iota(all.begin(), all.end(), 0);
  showColumns(all);
}

QLabel* WizardGrid::addTitle(const char* name, const Text& text, int first, int last, Line line,
                             bool fit) {
  auto* label = named(new QLabel(titleArea_), name);
  label->setWordWrap(true);
  label->setAlignment(line == Line::Group ? Qt::AlignCenter : Qt::AlignHCenter | Qt::AlignBottom);
  titles_.push_back({label, first, last, line});
  setCaption(label, text.resolve(texts_), fit);
  return label;
}

void WizardGrid::showColumns(std::vector<int> columns) {
  const QModelIndex current = view_->currentIndex();
  const int tableColumn = current.isValid() ? model_->tableColumn(current.column()) : -1;
  shown_ = std::move(columns);
  model_->setVisibleColumns(shown_);
  if (current.isValid()) restoreCursor(current.row(), tableColumn);
  layOutTitles();
}

void WizardGrid::restoreCursor(int row, int tableColumn) {
  if (model_->rowCount() == 0 || model_->columnCount() == 0) return;
  view_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1),
                                       std::max(model_->viewColumn(tableColumn), 0)));
}

std::vector<int> WizardGrid::columnWidths() const {
  std::vector<int> widths = widths_;
  for (const Title& t : titles_)
    if (t.first == t.last && widths[t.first] > 0)
      widths[t.first] =
          std::max(widths[t.first], readableCaptionWidth({t.label}, widths[t.first] - 2) + 2);
  // The wizard's grids hold a few dozen rows: a column also takes its longest text whole, so
  // that no shell's wording of a kind or an address is cut.
  // It widens only as far as the page has room, so that the wizard's window keeps its size.
  const GridTable& table = model_->table();
  if (table.rows() <= kMeasuredRows) {
    int left =
        room_ - view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2 * view_->frameWidth();
    for (int c : shown_) left -= widths[c];
    const QFontMetrics metrics(view_->font());
    for (int c : shown_) {
      if (widths[c] <= 1) continue;
      int longest = widths[c];
      for (int r = 0; r < table.rows(); ++r)
        longest = std::max(longest, metrics.horizontalAdvance(toQt(table.cell(r, c))) + 8);
      const int wider = std::min(longest - widths[c], std::max(0, left));
      widths[c] += wider;
      left -= wider;
    }
  }
  return widths;
}

void WizardGrid::refresh() {
  // The cursor stays on its cell (on the last row when the rows became fewer).
  const QModelIndex current = view_->currentIndex();
  const int tableColumn = current.isValid() ? model_->tableColumn(current.column()) : -1;
  model_->reload();
  if (current.isValid()) restoreCursor(current.row(), tableColumn);
  layOutTitles();
}

QSize WizardGrid::sizeHint() const {
  return {fullWidth_, QWidget::sizeHint().height()};
}

QSize WizardGrid::minimumSizeHint() const {
  return {std::min(fullWidth_, view_->minimumWidth()), QWidget::minimumSizeHint().height()};
}

void WizardGrid::layOutTitles() {
  const std::vector<int> widths = columnWidths();
  int total = 0;
  for (size_t c = 0; c < shown_.size(); ++c) {
    view_->setColumnWidth(static_cast<int>(c), widths.at(shown_[c]));
    total += widths.at(shown_[c]);
  }
  // The grid is as wide as its columns where the page has the room.
  fullWidth_ =
      total + 2 * view_->frameWidth() + view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  view_->setMaximumWidth(fullWidth_);
  titleArea_->setMaximumWidth(fullWidth_);
  // x and width of the shown columns in first..last; width 0 when none is shown.
  const auto span = [&](const Title& t) {
    int x = view_->frameWidth(), left = -1, right = -1;
    for (int c : shown_) {
      if (c >= t.first && c <= t.last) {
        if (left < 0) left = x;
        right = x + widths.at(c);
      }
      x += widths.at(c);
    }
    return std::pair{left, left < 0 ? 0 : right - left};
  };
  int groupHeight = 0, columnHeight = 0;
  for (const Title& t : titles_) {
    const auto [x, width] = span(t);
    t.label->setVisible(width > 0);
    if (width <= 0) continue;
    t.label->setFixedWidth(width - 2);
    refitCaption(t.label);
    const int h = t.label->heightForWidth(width - 2);
    if (t.line == Line::Group) groupHeight = std::max(groupHeight, h);
    if (t.line == Line::Column) columnHeight = std::max(columnHeight, h);
  }
  int bothHeight = 0;
  for (const Title& t : titles_)
    if (t.line == Line::Both && span(t).second > 0)
      bothHeight = std::max(bothHeight, t.label->heightForWidth(span(t).second - 2));
  columnHeight = std::max(columnHeight, bothHeight - groupHeight);
  for (Title& t : titles_) {
    const auto [x, width] = span(t);
    if (width <= 0) continue;
    const int y = t.line == Line::Column ? groupHeight : 0;
    const int h = t.line == Line::Group    ? groupHeight
                  : t.line == Line::Column ? columnHeight
                                           : groupHeight + columnHeight;
    t.place = QRect(x + 1, y, width - 2, h);
  }
  titleArea_->setFixedHeight(groupHeight + columnHeight);
  placeTitles();
  updateGeometry();
}

void WizardGrid::placeTitles() {
  const int scrolled = view_->horizontalScrollBar()->value();
  for (const Title& t : titles_)
    if (t.label->isVisibleTo(titleArea_)) t.label->setGeometry(t.place.translated(-scrolled, 0));
}

}  // namespace qj::ui
