#include "task/ui/transition_grid_page.h"

#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

const std::vector<int> kTransitionWidths = {44, 170, 56, 76, 56, 56, 58, 58, 190, 72, 72};

}  // namespace

TransitionGridPage::TransitionGridPage(TfrmCreateTaskWin& w, int step, const char* gridName,
                                       GridTable& table, const Captions& c)
    : TaskWizardPage(w, step), rules_(w.state().decSep) {
  const ShellTables& t = w.texts();
  title_ = makePageTitle(this, c.page, c.pageText, t);
  grid_ = new WizardGrid(this, gridName, table, &rules_, kTransitionWidths, t);
  using Line = WizardGrid::Line;
  // Title i of the captions stands over these columns, on this line.
  struct Place {
    int first, last;
    Line line;
  };
  static constexpr Place kPlaces[13] = {
      {0, 0, Line::Both},    {1, 1, Line::Both},   {2, 2, Line::Column}, {2, 7, Line::Group},
      {3, 3, Line::Column},  {4, 4, Line::Column}, {5, 5, Line::Column}, {6, 6, Line::Column},
      {7, 7, Line::Column},  {8, 10, Line::Group}, {8, 8, Line::Column}, {9, 9, Line::Column},
      {10, 10, Line::Column}};
  // The address and the section number wrap at their blanks; the other titles are fitted.
  for (size_t i = 0; i < std::size(kPlaces); ++i)
    grid_->addTitle(c.names[i], c.texts[i], kPlaces[i].first, kPlaces[i].last, kPlaces[i].line,
                    i != 1 && i != 2);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(title_);
  page->addWidget(grid_, 1);
}

void TransitionGridPage::pageShown() {
  grid_->refresh();
}

}  // namespace qj::ui
