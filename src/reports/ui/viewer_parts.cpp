#include "reports/ui/viewer_parts.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>
#include <numeric>
#include <set>
#include <string_view>

#include "platform/locale.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "text/ui/fit_caption.h"

namespace qj::ui {
namespace {

// The parameter list's model: the grid's model with the list's two titles as its header.
class KeyValueModel : public GridModel {
 public:
  KeyValueModel(GridTable& table, const GridRules* rules, const KeyValue& titles, QObject* parent)
      : GridModel(table, rules, parent), titles_{toQt(titles.key), toQt(titles.value)} {}

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
      return titles_[section];
    return GridModel::headerData(section, orientation, role);
  }

 private:
  QString titles_[2];
};

// How many lines the words take when they break into lines `width` pixels wide, which no
// word is wider than.
int linesAt(const QFontMetrics& metrics, const QStringList& words, int width) {
  int lines = 0;
  QString line;
  for (const QString& word : words) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) <= width) {
      line = longer;
    } else {
      ++lines;
      line = word;
    }
  }
  return lines;
}

// The least width at which `text` takes at most `lines` lines broken at blanks.
int widthInLines(const QFontMetrics& metrics, const QString& text, int lines) {
  const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  int low = 0;
  for (const QString& word : words) low = std::max(low, metrics.horizontalAdvance(word));
  int high = metrics.horizontalAdvance(words.join(QLatin1Char(' '))) + 1;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (linesAt(metrics, words, mid) <= lines)
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

}  // namespace

char regionalSeparator() {
  static const char sep = localeDecimalSeparator();
  return sep;
}

ParameterList::ParameterList(const KeyValue& titles, const KeyValueList& rows, int keyWidth,
                             int valueWidth, QWidget* parent)
    : GridView(parent) {
  table_.setRows(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    table_.set(static_cast<int>(i), 0, rows[i].key);
    table_.set(static_cast<int>(i), 1, rows[i].value);
  }
  setGridModel(new KeyValueModel(table_, &rules_, titles, this));
  horizontalHeader()->show();
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setColumnWidths({px(keyWidth), px(valueWidth)});
}

TitledGrid::TitledGrid(GridTable& table, int shownColumns, QWidget* parent)
    : QWidget(parent), table_(table), titles_(new TitleStrip(this)), grid_(new GridView(this)) {
  auto* model = new GridModel(table, &rules_, grid_);
  std::vector<int> shown(static_cast<size_t>(shownColumns));
  std::iota(shown.begin(), shown.end(), 0);
  model->setVisibleColumns(shown);
  grid_->setGridModel(model);
  // In a window narrower than its columns the grid scrolls sideways, its titles with it.
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, titles_,
          [this](int scrolled) { titles_->setLeftOffset(grid_->frameWidth() - scrolled); });
  // A cell too narrow for its text cuts it, as the dashes of a separator row want.
  grid_->setTextElideMode(Qt::ElideNone);
  // A text wider than its column goes on in the lines below, broken at its blanks.
  grid_->setWordWrap(true);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->horizontalHeader()->setMinimumSectionSize(1);

  titles_->setLeftOffset(grid_->frameWidth());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(titles_);
  layout->addWidget(grid_, 1);
}

void TitledGrid::addTitles(const std::vector<TitleWidths>& widths,
                           const std::vector<std::string>& titles, const std::vector<bool>& applies,
                           int room, const std::vector<int>& least) {
  const QFont font = titles_->font();
  int left =
      room - grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2 * grid_->frameWidth();
  std::vector<TitleWidths> scaled;
  for (size_t col = 0; col < widths.size(); ++col) {
    const int floor = col < least.size() ? least[col] : 0;
    scaled.push_back({std::max(px(widths[col].design), floor), std::max(px(widths[col].min), floor),
                      std::max(px(widths[col].max), floor)});
    if (applies[col]) left -= scaled.back().design + TitleStrip::kHandleWidth;
  }
  // The words each title breaks at each width it may take.
  std::vector<std::vector<int>> breaks(widths.size());
  std::vector<int> chosen;
  for (size_t col = 0; col < widths.size(); ++col) {
    chosen.push_back(scaled[col].design);
    if (!applies[col]) continue;
    for (int w = scaled[col].design; w <= scaled[col].max; ++w)
      breaks[col].push_back(wordBreaks(font, titles[col], w));
  }
  // The room goes where it mends the most broken words for each pixel it takes.
  for (;;) {
    size_t bestCol = widths.size();
    int bestWidth = 0;
    double bestGain = 0;
    for (size_t col = 0; col < widths.size(); ++col) {
      if (breaks[col].empty()) continue;
      const int now = breaks[col][chosen[col] - scaled[col].design];
      for (int w = chosen[col] + 1; w <= scaled[col].max && w - chosen[col] <= left; ++w) {
        const double gain =
            static_cast<double>(now - breaks[col][w - scaled[col].design]) / (w - chosen[col]);
        if (gain > bestGain) {
          bestGain = gain;
          bestCol = col;
          bestWidth = w;
        }
      }
    }
    if (bestCol == widths.size()) break;
    left -= bestWidth - chosen[bestCol];
    chosen[bestCol] = bestWidth;
  }
  for (size_t col = 0; col < widths.size(); ++col) {
    const int i = titles_->addTitle(scaled[col]);
    if (applies[col]) {
      titles_->setTitleWidth(i, chosen[col]);
    } else {
      titles_->hideTitle(i);
      grid_->setColumnHidden(static_cast<int>(col), true);
    }
  }
  for (size_t col = 0; col < titles.size(); ++col) fitTitle(static_cast<int>(col), titles[col]);
}

int TitledGrid::leastColumnWidth(int col, int lines) const {
  const QFontMetrics metrics(grid_->font());
  // What the style leaves on either side of a cell's text.
  const int margins = 2 * (grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  std::set<std::string_view> texts;
  for (int row = 0; row < table_.rows(); ++row) texts.insert(table_.cell(row, col));
  int least = 0;
  for (const std::string_view text : texts)
    // A separator row's dashes are cut at the column.
    if (text.find_first_not_of('-') != std::string_view::npos)
      least = std::max(least, widthInLines(metrics, toQt(text), lines) + margins);
  return least;
}

void TitledGrid::setColumnWidth(int col, int width) {
  grid_->setColumnWidth(col, std::max(width, 0) + 1);
}

void TitledGrid::fitRows() {
  grid_->resizeRowsToContents();
}

int TitledGrid::columnWidth(int col) const {
  return grid_->columnWidth(col) - 1;
}

void TitledGrid::fitTitle(int col, const std::string& text) {
  fitCaption(titles_->label(col), text, titles_->titleWidth(col));
  titles_->fitHeight();
}

ViewerWindow::ViewerWindow(ViewerKind kind, const std::string& caption, QSize design,
                           QWidget* parent)
    : QWidget(parent), design_(px(design)) {
  markViewer(this, kind);
  setWindowTitle(toQt(caption));
  setMinimumSize(px(QSize(980, 500)));
  setMaximumSize(px(QSize(1010, 690)));
  resize(design_);
}

void ViewerWindow::arrange(ParameterList* list, int listHeight, int listMaxHeight, QWidget* rest) {
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName(QStringLiteral("Splitter"));
  splitter->setHandleWidth(3);
  splitter->setChildrenCollapsible(false);
  list->setMinimumHeight(px(23));
  list->setMaximumHeight(px(listMaxHeight));
  splitter->addWidget(list);
  splitter->addWidget(rest);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({px(listHeight), design_.height() - px(listHeight)});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
}

void ViewerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!sub || !sub->mdiArea()) return;
  // The window fits the main window's area: where that is smaller than the design (a small
  // screen), the window takes the room there is and its grid scrolls.
  const QSize area = sub->mdiArea()->viewport()->size();
  setMinimumSize(minimumSize().boundedTo(area - (sub->size() - size())));
  sub->setMinimumSize(sub->minimumSize().boundedTo(area));
  if (!QRect(QPoint(), area).contains(QRect(QPoint(), sub->size())))
    sub->resize(sub->size().boundedTo(area));
  QRect frame = sub->frameGeometry();
  frame.moveCenter(sub->mdiArea()->viewport()->rect().center());
  sub->move(std::max(0, frame.x()), std::max(0, frame.y()));
}

}  // namespace qj::ui
