#include "task/ui/points_page.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Table1's column widths, the hidden record column last.
const std::vector<int> kTable1Widths = {42, 37, 165, 62, 87, 79, 106, 84, 0};
constexpr int kPickerWidth = 190;

QComboBox* picker(QWidget* parent, const char* name) {
  auto* box = named(new QComboBox(parent), name);
  box->setFixedWidth(px(kPickerWidth));
  box->setMaxVisibleItems(20);
  return box;
}

}  // namespace

PointsPage::PointsPage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 3), rules_(w.state(), w.texts()) {
  const ShellTables& t = w.texts();
  Label10_3 = makePageTitle(this, "Label10_3", shell(48) + ":", t);
  // The pickers stand above the grid and come before it in the tab order, which follows the
  // order the controls are made in.
  QWidget* pickers = buildPickers();
  buildGrid();
  Label7_2_ =
      makeLabel(this, "Label7_2_",
                lit("<Ctrl>+<a>/<s> - ") + shell(499) + "   <Ctrl>+<q>/<w> - " + shell(498), t);
  Label6 = makeLabel(this, "Label6", lit("<SpaceBar> - ") + shell(61), t);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label10_3);
  page->addWidget(pickers);
  page->addWidget(grid_, 1);
  page->addWidget(Label7_2_);
  page->addWidget(Label6);
}

QWidget* PointsPage::buildPickers() {
  const ShellTables& t = wizard().texts();
  auto* row = new QWidget(this);
  List = picker(row, "List");
  L_3 = makeLabel(row, "L_3", lit("- ") + shell(677), t);
  List1 = picker(row, "List1");
  L1_3 = makeLabel(row, "L1_3", lit("- ") + shell(267), t);
  List2 = picker(row, "List2");
  List2->setFixedWidth(px(90));
  L2_3 = makeLabel(row, "L2_3", lit("- ") + shell(382).trimmed(), t);
  connect(List, &QComboBox::activated, this, [this](int r) { ListChange(r); });
  connect(List1, &QComboBox::activated, this, [this](int r) { List1Change(r); });
  connect(List2, &QComboBox::activated, this, [this](int r) { List2Change(r); });
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(px(5));
  for (auto [box, caption] : {std::pair{List, L_3}, {List1, L1_3}, {List2, L2_3}}) {
    layout->addWidget(box);
    layout->addWidget(caption);
    layout->addSpacing(px(12));
  }
  layout->addStretch(1);
  return row;
}

void PointsPage::buildGrid() {
  TaskWizardState& s = wizard().state();
  const ShellTables& t = wizard().texts();
  grid_ = new WizardGrid(this, "Table1", s.table1, &rules_, kTable1Widths, t);
  using Line = WizardGrid::Line;
  grid_->addTitle("Title1_T1", shell(405), t1::kPoint, t1::kPoint, Line::Both);
  grid_->addTitle("Title2_T1", shell(13).trimmed(), t1::kType, t1::kHouse, Line::Group, false);
  grid_->addTitle("Label3", shell(679).trimmed(), t1::kType, t1::kType, Line::Column);
  grid_->addTitle("Label4", shell(267), t1::kStreet, t1::kStreet, Line::Column, false);
  grid_->addTitle("Label5", shell(382).trimmed(), t1::kHouse, t1::kHouse, Line::Column);
  grid_->addTitle("Title3_T1", shell(145), t1::kService, t1::kService, Line::Both);
  grid_->addTitle("Title4_T1", shell(86), t1::kUnload, t1::kUnload, Line::Both);
  grid_->addTitle("Title5_T1", shell(750), t1::kPenalty, t1::kPenalty, Line::Both);
  grid_->addTitle("Title6_T1", {}, t1::kOrder, t1::kOrder, Line::Both);
  GridModel* model = grid_->model();
  model->setFixedColumns(1);
  GridView* view = grid_->view();
  view->setKeyHandler(
      [this](GridKey key, int row, int col) { return Table1KeyDown(key, row, col); });
  connect(view, &QTableView::clicked, this, [this](const QModelIndex& i) { Table1Click(i); });
  connect(model, &GridModel::cellEdited, this, [this](int r, int c) { Table1Edited(r, c); });
}

void PointsPage::pageShown() {
  const TaskHeader& h = wizard().state().header;
  std::vector<int> columns = {t1::kPoint, t1::kType, t1::kStreet, t1::kHouse, t1::kService};
  if (h.cargoMode > kNoCargo) columns.push_back(t1::kUnload);
  columns.push_back(t1::kPenalty);
  if (h.orderMode != kNoOrder) columns.push_back(t1::kOrder);
  grid_->showColumns(columns);
  grid_->refresh();
  showPickers();
}

void PointsPage::showPickers() {
  const AddressPickers& p = wizard().state().pickers;
  showChoice(List, p.typeItems(), p.typeRow());
  showChoice(List1, p.streetItems(), p.streetRow());
  std::vector<std::string> houses;
  for (const HousePick& h : p.houseItems()) houses.push_back(h.houseNo);
  showChoice(List2, houses, p.houseRow());
}

void PointsPage::ListChange(int row) {
  TaskWizardState& s = wizard().state();
  s.pickers.chooseType(s, row);
  showPickers();
  grid_->view()->setFocus();
}

void PointsPage::List1Change(int row) {
  TaskWizardState& s = wizard().state();
  s.pickers.chooseStreet(s, row);
  showPickers();
  grid_->view()->setFocus();
}

void PointsPage::List2Change(int row) {
  wizard().state().pickers.chooseHouse(row);
  grid_->view()->setFocus();
}

void PointsPage::Table1Click(const QModelIndex& index) {
  TaskWizardState& s = wizard().state();
  s.pickers.followCell(s, index.row(), grid_->model()->tableColumn(index.column()));
  showPickers();
}

bool PointsPage::Table1KeyDown(GridKey key, int row, int col) {
  const GridKeyResult r = table1Key(wizard().state(), key, row, col);
  if (r.pickersChanged) showPickers();
  return wizard().applyKeyResult(*grid_, r);
}

void PointsPage::Table1Edited(int row, int col) {
  if (const auto warning = table1Typed(wizard().state(), row, col)) wizard().showMessage(*warning);
}

void PointsPage::next() {
  wizard().runNext([this] { return wizard().flow().pointsNext(); });
}

}  // namespace qj::ui
