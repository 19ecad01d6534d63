#include "dbrn/ui/houses_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

namespace hc = houseCol;

std::vector<int> houseWidths() {
  std::vector<int> widths = {52, 60, 130, 72, 56};
  for (int k = 0; k < kMaxLinks; ++k) widths.insert(widths.end(), {52, 72, 72});
  widths.push_back(0);  // the street index
  return widths;
}

Text linkTitle(int k) {
  switch (k) {
    case 0: return shell(375);
    case 1: return shell(376);
    case 2: return shell(377);
    default: return shell(378);
  }
}

}  // namespace

HousesPage::HousesPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 7), rules_(w.state()) {
  const ShellTables& t = texts();
  List_41 = makePicker("List_41", 220);
  List_42 = makePicker("List_42", 220);
  List_43 = makePicker("List_43", 130);
  connect(List_41, &QComboBox::activated, this, [this](int row) { List_41Change(row); });
  connect(List_42, &QComboBox::activated, this, [this](int row) { List_42Change(row); });
  connect(List_43, &QComboBox::activated, this, [this](int row) { List_43Change(row); });
  Label_4b = makeLabel(this, "Label_4b", {}, t);

  grid_ = makeGrid("Table4", state().table4, &rules_, houseWidths(), 3,
                   [this](GridKey key, int row, int col) {
                     const GridKeyResult r = houseGridKey(state(), key, row, col);
                     if (r.cellsChanged()) showSectionInfo(grid_->view()->currentIndex());
                     return r;
                   });
  using Line = WizardGrid::Line;
  grid_->addTitle("Title1_T4", shell(519), hc::kRow, hc::kRow, Line::Both, false);
  grid_->addTitle("Title2_T4", shell(646), hc::kType, hc::kType, Line::Both, false);
  grid_->addTitle("Title3_T4", shell(266), hc::kName, hc::kName, Line::Both, false);
  grid_->addTitle("Title4_T4", shell(711), hc::kHouseNo, hc::kHouseNo, Line::Both, false);
  grid_->addTitle("Title5_T4", shell(612), hc::kYard, hc::kYard, Line::Both, false);
  for (int k = 0; k < kMaxLinks; ++k) {
    grid_->addTitle(nullptr, linkTitle(k), hc::section(k), hc::exitToEnd(k), Line::Group, false);
    grid_->addTitle(nullptr, shell(519), hc::section(k), hc::section(k), Line::Column, false);
    grid_->addTitle(nullptr, shell(1008), hc::toExit(k), hc::toExit(k), Line::Column, false);
    grid_->addTitle(nullptr, shell(1009), hc::exitToEnd(k), hc::exitToEnd(k), Line::Column, false);
  }
  std::vector<int> shown;
  for (int c = hc::kRow; c < hc::kStreet; ++c) shown.push_back(c);
  grid_->showColumns(shown);
  connect(grid_->view(), &QTableView::clicked, this,
          [this](const QModelIndex& i) { Table4Click(i); });
  connect(grid_->view()->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) { showSectionInfo(i); });
  QLabel* filter = makeLabel(this, "_L4a", {}, t);
  filter->setVisible(state().viewing());

  auto* pickers = new QHBoxLayout;
  pickers->addWidget(List_41);
  pickers->addWidget(makeLabel(this, "L41", lit("- ") + shell(677), t));
  pickers->addSpacing(px(16));
  pickers->addWidget(List_42);
  pickers->addWidget(makeLabel(this, "L42", lit("- ") + shell(267), t));
  pickers->addSpacing(px(16));
  pickers->addWidget(List_43);
  pickers->addWidget(makeLabel(this, "L43", lit("- ") + shell(47), t));
  pickers->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(makeHeading("Label_4a"));
  page->addWidget(filter, 0, Qt::AlignHCenter);
  page->addLayout(pickers);
  page->addWidget(Label_4b);
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label9_4a", lit("<Ctrl>+<a>/<s> - ") + shell(501) +
                                            "   <Ctrl>+<q>/<w> - " + shell(500)),
                  0, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label10_4a", lit("<SpaceBar> - ") + shell(68)), 0, Qt::AlignHCenter);
}

void HousesPage::pageShown() {
  grid_->refresh();
  showPickers();
  showSectionInfo(grid_->view()->currentIndex());
}

void HousesPage::showPickers() {
  showChoice(List_41, state().list41.items, state().list41.row);
  showChoice(List_42, state().list42.items, state().list42.row);
  showChoice(List_43, state().list43.items, state().list43.row);
}

void HousesPage::showSectionInfo(const QModelIndex& index) {
  const int col = index.isValid() ? grid_->model()->tableColumn(index.column()) : -1;
  setCaption(Label_4b, houseSectionInfo(state(), index.row(), col).resolve(texts()), false);
}

void HousesPage::List_41Change(int row) {
  list41Change(state(), row);
  showPickers();
  grid_->view()->setFocus();
}

void HousesPage::List_42Change(int row) {
  list42Change(state(), row);
  showPickers();
  grid_->view()->setFocus();
}

void HousesPage::List_43Change(int row) {
  list43Change(state(), row);
  grid_->view()->setFocus();
}

void HousesPage::Table4Click(const QModelIndex& index) {
  showSectionInfo(index);
}

void HousesPage::next() {
  wizard().runNext([this] { return checkHousesPage(state()); });
}

}  // namespace qj::ui
