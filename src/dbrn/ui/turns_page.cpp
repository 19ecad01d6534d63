#include "dbrn/ui/turns_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

namespace tc = turnCol;

std::vector<int> turnWidths() {
  std::vector<int> widths = kSectionColumns;
  for (int k = 0; k < kMaxTurns; ++k) {
    widths.push_back(46);
    widths.push_back(36);
  }
  return widths;
}

// The title of the pair k, built by appending.
Text pairTitle(int k) {
  return shell(268) + " " + num(k + 1);
}

}  // namespace

TurnsPage::TurnsPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 5), rules_(w.state()) {
  const ShellTables& t = texts();
  grid_ = makeGrid(
      "Table2", state().table2, &rules_, turnWidths(), 4,
      [this](GridKey key, int row, int col) { return turnGridKey(state(), key, row, col); });
  addSectionTitles(grid_, "Label10", "Label1_3");
  using Line = WizardGrid::Line;
  for (int k = 0; k < kMaxTurns; ++k) {
    grid_->addTitle(nullptr, pairTitle(k), tc::node(k), tc::direction(k), Line::Group, false);
    grid_->addTitle(nullptr, shell(1006), tc::node(k), tc::node(k), Line::Column, false);
    grid_->addTitle(nullptr, shell(1007), tc::direction(k), tc::direction(k), Line::Column, false);
  }
  QLabel* filter = makeLabel(this, "_L3", {}, t);
  filter->setVisible(state().viewing());

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(makeHeading("Label_3"));
  page->addWidget(filter, 0, Qt::AlignHCenter);
  page->addWidget(makeCountLine(this, 5, t));
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label9_3", lit("<SpaceBar> - ") + shell(186)), 0, Qt::AlignHCenter);
}

void TurnsPage::pageShown() {
  grid_->refresh();
}

void TurnsPage::next() {
  wizard().runNext([this] { return checkTurnsPage(state()); });
}

}  // namespace qj::ui
