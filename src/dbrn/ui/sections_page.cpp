#include "dbrn/ui/sections_page.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

namespace sc = sectionCol;

// Table1's column widths, the hidden street index last.
const std::vector<int> kTable1Widths = {52, 56, 150, 72, 72, 86, 58, 58, 62, 62, 86, 0};

}  // namespace

SectionsPage::SectionsPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 4), rules_(w.state()) {
  const ShellTables& t = texts();
  DbrnWizardState& s = state();
  Label_2 = makeHeading("Label_2");
  L2_filter = makeLabel(this, "_L2", {}, t);
  L2_filter->setVisible(s.viewing());
  List_1 = makePicker("List_1", 230);
  List_2 = makePicker("List_2", 230);
  connect(List_1, &QComboBox::activated, this, [this](int row) { List_1Change(row); });
  connect(List_2, &QComboBox::activated, this, [this](int row) { List_2Change(row); });
  Label_02 = makeLabel(this, "Label_02", {}, t);

  grid_ = makeGrid("Table1", s.table1, &rules_, kTable1Widths, 1,
                   [this](GridKey key, int row, int col) {
                     GridKeyResult r = sectionGridKey(state(), key, row, col);
                     if (r.cellsChanged()) showSectionInfo(row);
                     return r;
                   });
  using Line = WizardGrid::Line;
  grid_->addTitle("Label1", shell(402), sc::kRow, sc::kRow, Line::Both, false);
  grid_->addTitle("Label3", shell(646), sc::kType, sc::kType, Line::Both, false);
  grid_->addTitle("Label4", shell(266), sc::kName, sc::kName, Line::Both, false);
  grid_->addTitle("Label5", shell(386), sc::kFrom, sc::kFrom, Line::Both);
  grid_->addTitle("Label6", shell(384), sc::kTo, sc::kTo, Line::Both);
  grid_->addTitle("Label7", shell(540) + " (*)", sc::kNonStd, sc::kNonStd, Line::Both, false);
  grid_->addTitle("Label8", shell(399), sc::kStart, sc::kStart, Line::Both, false);
  grid_->addTitle("Label9", shell(391).trimmed(), sc::kEnd, sc::kEnd, Line::Both, false);
  grid_->addTitle("Label11", shell(144), sc::kLength, sc::kLength, Line::Both, false);
  grid_->addTitle("Label12", shell(616) + " (" + shortText(15) + ")", sc::kSpeed, sc::kSpeed,
                  Line::Both, false);
  grid_->addTitle("Label13", shell(1001) + " (*)", sc::kClosed, sc::kClosed, Line::Both, false);
  connect(grid_->view(), &QTableView::clicked, this,
          [this](const QModelIndex& i) { Table1Click(i); });
  // A press on a typable cell opens its editor and no click follows; keys move the cursor too:
  // the line (and, when viewing, the pickers) follow the cursor however it came there.
  connect(grid_->view()->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) { Table1Click(i); });

  auto* pickers = new QHBoxLayout;
  pickers->addWidget(List_1);
  pickers->addWidget(makeLabel(this, "L1_2", lit("- ") + shell(677), t));
  pickers->addSpacing(px(20));
  pickers->addWidget(List_2);
  pickers->addWidget(makeLabel(this, "L2_2", lit("- ") + shell(267), t));
  pickers->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label_2);
  page->addWidget(L2_filter, 0, Qt::AlignHCenter);
  page->addLayout(pickers);
  page->addWidget(Label_02);
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(
      makeHelp("Label98_2", lit("<Ctrl>+<Ins> - ") + shell(87) + "   <Ctrl>+<Del> - " + shell(690)),
      0, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label99_2", lit("<Ctrl>+<a>/<s> - ") + shell(501) +
                                            "   <Ctrl>+<q>/<w> - " + shell(500)),
                  0, Qt::AlignHCenter);
  page->addWidget(makeHelp("Label2", lit("<SpaceBar> - ") + shell(704)), 0, Qt::AlignHCenter);
}

void SectionsPage::pageShown() {
  std::vector<int> columns;
  for (int c = sc::kRow; c < sc::kStreet; ++c)
    if (c != sc::kNonStd || state().level == 1) columns.push_back(c);
  grid_->showColumns(columns);
  grid_->refresh();
  showPickers();
}

void SectionsPage::showPickers() {
  showChoice(List_1, state().list1.items, state().list1.row);
  showChoice(List_2, state().list2.items, state().list2.row);
}

void SectionsPage::showSectionInfo(int row) {
  setCaption(Label_02, sectionInfo(state(), row).resolve(texts()), false);
}

void SectionsPage::List_1Change(int row) {
  list1Change(state(), row);
  showPickers();
  grid_->view()->setFocus();
}

void SectionsPage::List_2Change(int row) {
  list2Change(state(), row);
  grid_->view()->setFocus();
}

void SectionsPage::Table1Click(const QModelIndex& index) {
  setCaption(Label_02, chooseSectionRow(state(), index.row()).resolve(texts()), false);
  showPickers();
}

void SectionsPage::next() {
  wizard().runNext([this] { return checkSectionsPage(state()); });
}

}  // namespace qj::ui
