#include "dbrn/ui/streets_page.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/grid_view.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Table_0's column widths, the hidden state and record index last.
const std::vector<int> kTable_0Widths = {48, 96, 260, 90, 0, 0};

}  // namespace

StreetsPage::StreetsPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 3), rules_(w.state()) {
  const ShellTables& t = texts();
  DbrnWizardState& s = state();
  Label_12 = makeHeading("Label_12");
  List_0 = makePicker("List_0", 260);
  L_12 = makeLabel(this, "L_12", lit("- ") + shell(677), t);
  RB_yes = makeRadio(this, "RB_yes", shell(1003), t);
  RB_no = makeRadio(this, "RB_no", shell(1004), t);
  auto* listing = new QButtonGroup(this);
  listing->addButton(RB_yes);
  listing->addButton(RB_no);
  RB_yes->setChecked(true);
  connect(List_0, &QComboBox::activated, this, [this](int row) { List_0Change(row); });
  connect(RB_yes, &QRadioButton::clicked, this, [this] { RB_yesClick(); });
  connect(RB_no, &QRadioButton::clicked, this, [this] { RB_noClick(); });

  grid_ = makeGrid(
      "Table_0", s.table_0, &rules_, kTable_0Widths, 1,
      [this](GridKey key, int row, int col) { return streetGridKey(state(), key, row, col); });
  using Line = WizardGrid::Line;
  grid_->addTitle("Title0_T_0", shell(519), streetCol::kRow, streetCol::kRow, Line::Both, false);
  grid_->addTitle("Title1_T_0", shell(645), streetCol::kType, streetCol::kType, Line::Both, false);
  grid_->addTitle("Title2_T_0", shell(266), streetCol::kName, streetCol::kName, Line::Both, false);
  grid_->addTitle("Label89", shell(722), streetCol::kHouses, streetCol::kHouses, Line::Both, false);

  auto* pickers = new QHBoxLayout;
  pickers->addWidget(List_0);
  pickers->addWidget(L_12);
  pickers->addSpacing(px(30));
  auto* radios = new QVBoxLayout;
  radios->addWidget(RB_yes);
  radios->addWidget(RB_no);
  pickers->addLayout(radios);
  pickers->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label_12);
  page->addLayout(pickers);
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(
      makeHelp("Label9_12", lit("<Ctrl>+<Ins> - ") + shell(87) + "   <Ctrl>+<Del> - " + shell(690)),
      0, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label10_12",
                           lit("<Ctrl>+<a>/<s> - ") + shell(501) + "   <SpaceBar> - " + shell(60)),
                  0, Qt::AlignHCenter);
}

void StreetsPage::pageShown() {
  std::vector<int> columns = {streetCol::kRow, streetCol::kType, streetCol::kName};
  if (state().level >= 2) columns.push_back(streetCol::kHouses);
  grid_->showColumns(columns);
  grid_->refresh();
  showPickers();
}

void StreetsPage::showPickers() {
  showChoice(List_0, state().list0.items, state().list0.row);
}

void StreetsPage::List_0Change(int row) {
  const StepCheck check = list0Change(state(), row);
  showPickers();
  if (!check.passed()) {
    wizard().applyCheck(check);
    return;
  }
  grid_->refresh();
  grid_->view()->setFocus();
}

void StreetsPage::RB_yesClick() {
  listStreetsByType(state(), true);
  grid_->view()->setFocus();
}

void StreetsPage::RB_noClick() {
  listStreetsByType(state(), false);
  grid_->view()->setFocus();
}

void StreetsPage::next() {
  StreetsPageInput input;
  if (auto* type = wizard().control<QLineEdit>("EditKey_1"))
    input.keyPhraseType = fromQt(type->text());
  if (auto* name = wizard().control<QLineEdit>("EditKey_2"))
    input.keyPhraseName = fromQt(name->text());
  if (auto* sections = wizard().control<GridView>("Table1"))
    input.table1Row = sections->currentRow();
  wizard().runNext([&] { return checkStreetsPage(state(), input); });
}

}  // namespace qj::ui
