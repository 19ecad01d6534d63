#include "task/ui/section_choice_page.h"

#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/points_step.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Table12's column widths; the last column (the point of every row) is record data.
const std::vector<int> kTable12Widths = {56, 200, 60, 48, 140, 76, 76, 100, 90, 0};

}  // namespace

SectionChoicePage::SectionChoicePage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 5) {
  const ShellTables& t = w.texts();
  Label40 = makePageTitle(this, "Label40", shell(101) + ":", t);
  grid_ = new WizardGrid(this, "Table12", w.state().table12, &rules_, kTable12Widths, t);
  using Line = WizardGrid::Line;
  grid_->addTitle("Label47", shell(405), t12::kPoint, t12::kPoint, Line::Both);
  grid_->addTitle("Label48", shell(13).trimmed(), t12::kAddress, t12::kAddress, Line::Both, false);
  grid_->addTitle("Label54", shell(403).trimmed(), t12::kSection, t12::kNonStd, Line::Group);
  grid_->addTitle("Label53", shell(494), t12::kSection, t12::kSection, Line::Column, false);
  grid_->addTitle("Label49", shell(679).trimmed(), t12::kType, t12::kType, Line::Column);
  grid_->addTitle("Label50", shell(267), t12::kName, t12::kName, Line::Column, false);
  grid_->addTitle("Label51", shell(385).trimmed(), t12::kFrom, t12::kFrom, Line::Column);
  grid_->addTitle("Label55", shell(383).trimmed(), t12::kTo, t12::kTo, Line::Column);
  grid_->addTitle("Label56", shell(539) + " (*)", t12::kNonStd, t12::kNonStd, Line::Column);
  grid_->addTitle("Label52", shell(251), t12::kMark, t12::kMark, Line::Both);
  grid_->showColumns({t12::kPoint, t12::kAddress, t12::kSection, t12::kType, t12::kName, t12::kFrom,
                      t12::kTo, t12::kNonStd, t12::kMark});
  grid_->view()->setKeyHandler([this](GridKey key, int row, int col) {
    return wizard().applyKeyResult(*grid_, table12Key(wizard().state(), key, row, col));
  });
  Label57 = makeLabel(this, "Label57", lit("<SpaceBar> - ") + shell(702), t);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label40);
  page->addWidget(grid_, 1);
  page->addWidget(Label57);
}

void SectionChoicePage::pageShown() {
  grid_->refresh();
}

void SectionChoicePage::next() {
  wizard().runNext([this] { return wizard().flow().sectionChoiceNext(); });
}

}  // namespace qj::ui
