#include "task/ui/point_options_page.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Table1a's column widths.
const std::vector<int> kTable1aWidths = {42, 206, 83, 58, 86, 68, 109};

}  // namespace

PointOptionsPage::PointOptionsPage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 4), rules_(w.state()) {
  const ShellTables& t = w.texts();
  Label61 = makePageTitle(this, "Label61", shell(49) + ":", t);
  Label80 = makeLabel(this, "Label80", lit("<SpaceBar> - ") + shell(703), t);
  Label80->setWordWrap(true);

  auto* options = new QHBoxLayout;
  options->setSpacing(px(10));
  options->addWidget(buildThreshold());
  Bevel52 = named(new QFrame(this), "Bevel52");
  Bevel52->setFrameShape(QFrame::VLine);
  Bevel52->setFrameShadow(QFrame::Sunken);
  options->addWidget(Bevel52);
  options->addWidget(buildTact());
  options->addStretch(1);
  // The options stand above the grid and come before it in the tab order, which follows the
  // order the controls are made in.
  buildGrid();

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label61);
  page->addLayout(options);
  page->addWidget(grid_, 1);
  page->addWidget(Label80);
}

QWidget* PointOptionsPage::buildThreshold() {
  const ShellTables& t = wizard().texts();
  auto* box = new QWidget(this);
  Label15 = makeLabel(box, "Label15", shell(50).trimmed() + ":", t);
  threshold_.por0 = makeRadio(box, "por0", shell(445), t);
  threshold_.por1 = makeRadio(box, "por1", shell(514) + " ->", t);
  threshold_.porog1 = makeEdit(box, "porog1", 36);
  threshold_.por2 = makeRadio(box, "por2", shell(515).trimmed() + " ->", t);
  threshold_.porog2 = makeEdit(box, "porog2", 36);
  auto* group = new QButtonGroup(box);
  for (QRadioButton* b : {threshold_.por0, threshold_.por1, threshold_.por2}) group->addButton(b);
  connectThresholdWidgets(threshold_);
  showThreshold(threshold_, {});
  // Step 5 reads the threshold from the flow, also when it runs from steps 3 and 4: every
  // change of the widgets is written through.
  const auto keep = [this] { wizard().flow().setThreshold(readThreshold(threshold_)); };
  for (QRadioButton* b : {threshold_.por0, threshold_.por1, threshold_.por2})
    connect(b, &QRadioButton::toggled, this, keep);
  for (QLineEdit* e : {threshold_.porog1, threshold_.porog2})
    connect(e, &QLineEdit::textChanged, this, keep);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(px(6));
  layout->addWidget(Label15);
  layout->addWidget(threshold_.por0);
  layout->addSpacing(px(6));
  layout->addWidget(threshold_.por1);
  layout->addWidget(threshold_.porog1);
  layout->addSpacing(px(6));
  layout->addWidget(threshold_.por2);
  layout->addWidget(threshold_.porog2);
  return box;
}

QWidget* PointOptionsPage::buildTact() {
  const ShellTables& t = wizard().texts();
  Bevel50 = named(new QFrame(this), "Bevel50");
  Bevel50->setFrameShape(QFrame::StyledPanel);
  Label59 =
      makeLabel(Bevel50, "Label59", shell(37) + " (>=1 " + shell(1).trimmed() + " <=100):", t);
  txtDT = makeEdit(Bevel50, "txtDT", 44);
  auto* layout = new QHBoxLayout(Bevel50);
  layout->setContentsMargins(px(6), px(3), px(6), px(3));
  layout->setSpacing(px(15));
  layout->addWidget(Label59);
  layout->addWidget(txtDT);
  return Bevel50;
}

void PointOptionsPage::buildGrid() {
  TaskWizardState& s = wizard().state();
  const ShellTables& t = wizard().texts();
  grid_ = new WizardGrid(this, "Table1a", s.table1a, &rules_, kTable1aWidths, t);
  using Line = WizardGrid::Line;
  grid_->addTitle("Label83", shell(405), t1a::kPoint, t1a::kPoint, Line::Both);
  grid_->addTitle("Label84", shell(13).trimmed(), t1a::kAddress, t1a::kAddress, Line::Both, false);
  grid_->addTitle("L1_3a", shell(531) + " (*)", t1a::kRefusal, t1a::kRefusal, Line::Both);
  grid_->addTitle("L11_3a", {}, t1a::kCargo, t1a::kCargo, Line::Both);
  grid_->addTitle("L2_3a", shell(162), t1a::kIncome, t1a::kIncome, Line::Both);
  grid_->addTitle("L5_3a", shell(480), t1a::kLow, t1a::kHigh, Line::Group);
  grid_->addTitle("L3_3a", shell(371), t1a::kLow, t1a::kLow, Line::Column);
  grid_->addTitle("L4_3a", shell(70), t1a::kHigh, t1a::kHigh, Line::Column);
  grid_->model()->setFixedColumns(2);
  grid_->view()->setKeyHandler([this](GridKey key, int row, int col) {
    return wizard().applyKeyResult(*grid_, table1aKey(wizard().state(), key, row, col));
  });
}

void PointOptionsPage::pageShown() {
  const TaskHeader& h = wizard().state().header;
  std::vector<int> columns = {t1a::kPoint, t1a::kAddress};
  if (h.refusalFlag == 1) columns.push_back(t1a::kRefusal);
  if (h.cargoMode > kNoCargo) columns.push_back(t1a::kCargo);
  columns.push_back(t1a::kIncome);
  if (h.timeFactorFlag == 1) {
    columns.push_back(t1a::kLow);
    columns.push_back(t1a::kHigh);
  }
  grid_->showColumns(columns);
  grid_->refresh();
}

void PointOptionsPage::next() {
  const std::string tact = fromQt(txtDT->text());
  wizard().runNext([&] { return wizard().flow().pointOptionsNext(tact); });
}

}  // namespace qj::ui
