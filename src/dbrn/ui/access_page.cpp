#include "dbrn/ui/access_page.h"

#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "records/datetime.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

namespace ac = accessCol;

}  // namespace

AccessPage::AccessPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 6) {
  const ShellTables& t = texts();
  std::vector<int> widths = kSectionColumns;
  widths.insert(widths.end(), {86, 150, 150});
  grid_ = makeGrid(
      "Table3", state().table3, &rules_, widths, 5,
      [this](GridKey key, int row, int col) { return accessGridKey(state(), key, row, col); });
  addSectionTitles(grid_, "Title2_T3", "Title1_T3");
  using Line = WizardGrid::Line;
  grid_->addTitle("Title5_T3", shell(1002), ac::kReverse, ac::kReverse, Line::Both, false);
  grid_->addTitle("Title6_T3", shell(537) + " (*)", ac::kPrevClosed, ac::kPrevClosed, Line::Both,
                  false);
  grid_->addTitle("Title7_T3", shell(536) + " (*)", ac::kReverseClosed, ac::kReverseClosed,
                  Line::Both, false);
  QLabel* filter = makeLabel(this, "_L4", {}, t);
  filter->setVisible(state().viewing());

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(makeHeading("Label_4"));
  page->addWidget(filter, 0, Qt::AlignHCenter);
  page->addWidget(makeCountLine(this, 6, t));
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label9_4", lit("<SpaceBar> - ") + shell(1005)), 0, Qt::AlignHCenter);
}

void AccessPage::pageShown() {
  grid_->refresh();
}

void AccessPage::next() {
  const double today = nowDateTime();
  wizard().runNext([this, today] { return checkAccessPage(state(), today); });
}

}  // namespace qj::ui
