#include "task/ui/parameters_page.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

QButtonGroup* group(QObject* parent, std::initializer_list<QRadioButton*> buttons) {
  auto* g = new QButtonGroup(parent);
  for (QRadioButton* b : buttons) g->addButton(b);
  return g;
}

QFrame* panel(QWidget* parent, const char* name) {
  auto* frame = named(new QFrame(parent), name);
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

// A panel's title label, centred over the panel.
void addTitle(QVBoxLayout* layout, QLabel* title) {
  title->setAlignment(Qt::AlignHCenter);
  layout->addWidget(title);
}

constexpr int kOptionLabelWidth = 180;
constexpr int kOptionSpacing = 8;
constexpr int kYesColumnWidth = 64;

}  // namespace

ParametersPage::ParametersPage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 2) {
  buildEdits();
  auto* edits = new QGridLayout;
  edits->setHorizontalSpacing(px(15));
  edits->setVerticalSpacing(px(4));
  const std::pair<QLabel*, QWidget*> rows[] = {
      {Label6_2, TS_num}, {Label7_2, TS_first}, {Label8_2, TS_last}, {Label9_2, UnitOfMeasurement},
      {Label10_2, fine1}, {Label11_2, fine2},   {Label12_2, Velo}};
  int r = 0;
  for (const auto& [label, field] : rows) {
    edits->addWidget(label, r, 0);
    edits->addWidget(field, r, 1, Qt::AlignLeft);
    ++r;
  }
  edits->setColumnStretch(2, 1);

  auto* panels = new QHBoxLayout;
  panels->setSpacing(px(10));
  panels->addWidget(buildOptions(), 1);
  panels->addWidget(buildOrder(), 1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(8), px(8), 0);
  page->addLayout(edits);
  page->addSpacing(px(8));
  page->addLayout(panels);
  page->addStretch(1);

  fak0Click();
  pro_0->setChecked(true);
  showPriorityCount(false);
}

void ParametersPage::buildEdits() {
  const ShellTables& t = wizard().texts();
  const char sep = wizard().state().decSep;
  Label6_2 = makeLabel(this, "Label6_2", shell(55) + " (>=2 " + shell(1).trimmed() + " <=10):", t);
  TS_num = makeEdit(this, "TS_num", 40);
  Label7_2 = makeLabel(this, "Label7_2", shell(42) + ":", t);
  TS_first = makeEdit(this, "TS_first", 40);
  Label8_2 = makeLabel(this, "Label8_2", shell(169) + ":", t);
  TS_last = makeEdit(this, "TS_last", 40);
  Label9_2 = makeLabel(this, "Label9_2", shell(95) + ":", t);
  UnitOfMeasurement = named(new QComboBox(this), "UnitOfMeasurement");
  UnitOfMeasurement->setFixedWidth(px(90));
  for (const Text& unit : moneyUnitItems()) UnitOfMeasurement->addItem(qtText(unit, t));
  UnitOfMeasurement->setCurrentIndex(-1);
  Label10_2 = makeLabel(this, "Label10_2", shell(58) + ":", t);
  fine1 = makeEdit(this, "fine1", 70);
  Label11_2 = makeLabel(this, "Label11_2", shell(59) + ":", t);
  fine2 = makeEdit(this, "fine2", 70);
  Label12_2 = makeLabel(this, "Label12_2", shell(51) + ":", t);
  Velo = makeEdit(this, "Velo", 60);
  Velo->setText(QStringLiteral("15") + QChar::fromLatin1(sep) + QStringLiteral("0"));
}

QWidget* ParametersPage::buildOptions() {
  const ShellTables& t = wizard().texts();
  QFrame* box = panel(this, "GroupBox1");
  Label46 = makeLabel(box, "Label46", shell(161), t);
  Label58 = makeFittedLabel(box, "Label58", shell(24), kOptionLabelWidth, t);
  ref_1 = makeRadio(box, "ref_1", shell(2).trimmed(), t);
  ref_2 = makeRadio(box, "ref_2", shell(369), t);
  group(box, {ref_1, ref_2});
  ref_2->setChecked(true);
  Label2 = makeFittedLabel(box, "Label2", shell(23), kOptionLabelWidth, t);
  tm_1 = makeRadio(box, "tm_1", shell(2).trimmed(), t);
  tm_2 = makeRadio(box, "tm_2", shell(369), t);
  group(box, {tm_1, tm_2});
  tm_2->setChecked(true);
  Label16 = makeFittedLabel(box, "Label16", shell(636), kOptionLabelWidth, t);
  fak0 = makeRadio(box, "fak0", shell(369), t);
  fak1 = makeRadio(box, "fak1", shell(2).trimmed() + " (1)", t);
  fak2 = makeRadio(box, "fak2", shell(2).trimmed() + " (2)", t);
  group(box, {fak0, fak1, fak2});
  connect(fak0, &QRadioButton::clicked, this, [this] { fak0Click(); });
  connect(fak1, &QRadioButton::clicked, this, [this] { fak1Click(); });
  connect(fak2, &QRadioButton::clicked, this, [this] { fak2Click(); });
  Label13_2 = makeLabel(box, "Label13_2", {}, t);
  Label13_2->setWordWrap(true);
  ndol = makeEdit(box, "ndol", 70);
  // The return option: a row like the other options, shown only with cargo.
  GroupBox4 = named(new QWidget(box), "GroupBox4");
  lblReturn = makeFittedLabel(GroupBox4, "lblReturn", shell(862), kOptionLabelWidth, t);
  prvd_1 = makeRadio(GroupBox4, "prvd_1", shell(2).trimmed(), t);
  prvd_2 = makeRadio(GroupBox4, "prvd_2", shell(369), t);
  group(GroupBox4, {prvd_1, prvd_2});
  prvd_2->setChecked(true);
  auto* returns = new QHBoxLayout(GroupBox4);
  returns->setContentsMargins(0, 0, 0, 0);
  returns->setSpacing(px(kOptionSpacing));
  returns->addWidget(lblReturn);
  returns->addWidget(prvd_1);
  returns->addWidget(prvd_2);
  returns->addStretch(1);
  // The option captions share one width at which none of them breaks inside a word.
  const int captionWidth =
      readableCaptionWidth({Label58, Label2, Label16, lblReturn}, px(kOptionLabelWidth));
  for (QLabel* l : {Label58, Label2, Label16, lblReturn}) {
    l->setFixedWidth(captionWidth);
    refitCaption(l);
  }
  // The "yes" column has one width in every row, the return row included.
  for (QRadioButton* b : {ref_1, tm_1, fak0, prvd_1}) b->setFixedWidth(px(kYesColumnWidth));

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(px(kOptionSpacing));
  grid->setVerticalSpacing(px(6));
  grid->addWidget(Label58, 0, 0);
  grid->addWidget(ref_1, 0, 1);
  grid->addWidget(ref_2, 0, 2);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(tm_1, 1, 1);
  grid->addWidget(tm_2, 1, 2);
  grid->addWidget(Label16, 2, 0, 2, 1);
  grid->addWidget(fak0, 2, 1);
  grid->addWidget(fak1, 2, 2);
  grid->addWidget(fak2, 3, 2);
  auto* capacity = new QHBoxLayout;
  capacity->addWidget(Label13_2, 1);
  capacity->addSpacing(px(15));
  capacity->addWidget(ndol);
  grid->addLayout(capacity, 4, 0, 1, 3);
  grid->addWidget(GroupBox4, 5, 0, 1, 3);
  grid->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(box);
  addTitle(layout, Label46);
  layout->addLayout(grid);
  layout->addStretch(1);
  return box;
}

QWidget* ParametersPage::buildOrder() {
  const ShellTables& t = wizard().texts();
  QFrame* box = panel(this, "GroupBox2");
  Label33 = makeLabel(box, "Label33", shell(93) + ":", t);
  pro_0 = makeRadio(box, "pro_0", shell(445), t);
  pro_1 = makeRadio(box, "pro_1", lit("1 - ") + shell(581), t);
  pro_2 = makeRadio(box, "pro_2", lit("2 - ") + shell(580), t);
  pro_3 = makeRadio(box, "pro_3", lit("3 - ") + shell(579), t);
  group(box, {pro_0, pro_1, pro_2, pro_3});
  for (QRadioButton* b : {pro_0, pro_1, pro_2, pro_3})
    connect(b, &QRadioButton::clicked, this, [this] { proClick(); });
  Label16_2 = makeFittedLabel(box, "Label16_2", shell(54) + " (>=2):", 240, t);
  nprio = makeEdit(box, "nprio", 40);

  auto* layout = new QVBoxLayout(box);
  addTitle(layout, Label33);
  for (QRadioButton* b : {pro_0, pro_1, pro_2, pro_3}) layout->addWidget(b);
  auto* classes = new QHBoxLayout;
  classes->addSpacing(px(10));
  classes->addWidget(Label16_2);
  classes->addSpacing(px(15));
  classes->addWidget(nprio);
  classes->addStretch(1);
  layout->addLayout(classes);
  layout->addStretch(1);
  return box;
}

void ParametersPage::showCargo(int mode, bool focus) {
  const ShellTables& t = wizard().texts();
  GroupBox4->setVisible(mode > kNoCargo);
  Label13_2->setVisible(mode > kNoCargo);
  ndol->setVisible(mode > kNoCargo);
  if (mode == kCargoByVolume) Label13_2->setText(qtText(shell(34) + ":", t));
  if (mode == kCargoByWeight) Label13_2->setText(qtText(shell(36) + ":", t));
  if (mode > kNoCargo && focus && isVisible()) ndol->setFocus();
}

void ParametersPage::fak0Click() {
  fak0->setChecked(true);
  showCargo(kNoCargo, false);
}

void ParametersPage::fak1Click() {
  fak1->setChecked(true);
  showCargo(kCargoByVolume, true);
}

void ParametersPage::fak2Click() {
  fak2->setChecked(true);
  showCargo(kCargoByWeight, true);
}

void ParametersPage::showPriorityCount(bool focus) {
  const bool classes = pro_3->isChecked();
  Label16_2->setVisible(classes);
  nprio->setVisible(classes);
  if (classes && focus) nprio->setFocus();
}

void ParametersPage::proClick() {
  showPriorityCount(true);
}

void ParametersPage::fill(const Page2Values& v) {
  Label13_2->hide();
  ndol->hide();
  switch (v.cargoMode) {
    case kCargoByVolume: fak1->setChecked(true); break;
    case kCargoByWeight: fak2->setChecked(true); break;
    default: fak0->setChecked(true); break;
  }
  showCargo(v.cargoMode, false);
  if (v.cargoMode > kNoCargo) ndol->setText(toQt(v.capacity));

  TS_num->setText(toQt(v.pointCount));
  TS_first->setText(toQt(v.startPoint));
  TS_last->setText(toQt(v.endPoint));
  UnitOfMeasurement->setCurrentIndex(UnitOfMeasurement->findText(toQt(v.moneyUnit)));
  fine1->setText(toQt(v.finePerKm));
  fine2->setText(toQt(v.finePerHour));

  QRadioButton* order[] = {pro_0, pro_1, pro_2, pro_3};
  order[v.orderMode >= kNoOrder && v.orderMode <= kPriorityClasses ? v.orderMode : kNoOrder]
      ->setChecked(true);
  nprio->setText(toQt(v.priorityCount));
  showPriorityCount(false);

  (v.refusals ? ref_1 : ref_2)->setChecked(true);
  (v.timeFactor ? tm_1 : tm_2)->setChecked(true);
  if (v.tact)
    if (auto* tact = wizard().control<QLineEdit>("txtDT")) tact->setText(toQt(*v.tact));
  (v.returnToStart ? prvd_1 : prvd_2)->setChecked(true);
}

Page2Input ParametersPage::input() const {
  Page2Input in;
  in.pointCount = fromQt(TS_num->text());
  in.startPoint = fromQt(TS_first->text());
  in.endPoint = fromQt(TS_last->text());
  in.moneyUnit = UnitOfMeasurement->currentIndex() >= 0 ? fromQt(UnitOfMeasurement->currentText())
                                                        : std::string();
  in.finePerKm = fromQt(fine1->text());
  in.finePerHour = fromQt(fine2->text());
  in.approachSpeed = fromQt(Velo->text());
  in.timeFactor = tm_1->isChecked();
  in.refusals = ref_1->isChecked();
  in.cargoMode = fak1->isChecked() ? kCargoByVolume : fak2->isChecked() ? kCargoByWeight : kNoCargo;
  in.capacity = fromQt(ndol->text());
  in.returnToStart = prvd_1->isChecked();
  in.orderMode = pro_1->isChecked()   ? kNextPointGiven
                 : pro_2->isChecked() ? kPassedAfterPoint
                 : pro_3->isChecked() ? kPriorityClasses
                                      : kNoOrder;
  in.priorityCount = fromQt(nprio->text());
  return in;
}

void ParametersPage::pageShown() {
  if (const std::optional<Page2Values> values = wizard().flow().takePage2Fill()) fill(*values);
}

void ParametersPage::next() {
  const Page2Input typed = input();
  wizard().runNext([&] { return wizard().flow().parametersNext(typed); });
}

}  // namespace qj::ui
