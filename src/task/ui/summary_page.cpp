#include "task/ui/summary_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QVBoxLayout>

#include "platform/ui/design.h"
#include "task/summary_step.h"
#include "task/ui/UCreateTaskWin.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

constexpr int kExplanationWidth = 460;

}  // namespace

QLabel* SummaryPage::label(const char* name, bool value) {
  auto* l = named(new QLabel(this), name);
  if (value) {
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
  }
  return l;
}

SummaryPage::SummaryPage(TfrmCreateTaskWin& w) : TaskWizardPage(w, 8) {
  QLabel* title = makePageTitle(this, "Label1_6", {}, w.texts());

  // Each row: a caption and its value, and on some rows a second pair.
  struct Pair {
    const char* caption;
    const char* value;
  };
  const std::vector<std::pair<Pair, Pair>> rows = {
      {{"Label10_6", "measure"}, {nullptr, nullptr}},
      {{"Label11_6", "fine1_6"}, {"Label12_6", "fine2_6"}},
      {{"Label13_6", "velo_6"}, {nullptr, nullptr}},
      {{"Label14_6", "pr1_6"}, {"Label17_6", "por_6"}},
      {{"Label18_6", "pr2_6"}, {"Label19_6", "dt_6"}},
      {{"Label15_6", "pruf_6"}, {"Label25_6", "ndol_6"}},
      {{"Label33_6", "prvd_6"}, {nullptr, nullptr}},
      {{"Label36", "vzpp_6"}, {"Label16_6", "npri_6"}},
  };
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(px(10));
  grid->setVerticalSpacing(px(6));
  int r = 0;
  for (const auto& [left, right] : rows) {
    grid->addWidget(label(left.caption), r, 0);
    grid->addWidget(label(left.value, true), r, 1);
    if (right.caption) {
      grid->addWidget(label(right.caption), r, 3);
      grid->addWidget(label(right.value, true), r, 4);
    }
    ++r;
  }
  // The state counts of the pair passes and of the final pass.
  grid->addWidget(label("Label20_6"), r, 0);
  auto* counts = new QHBoxLayout;
  counts->setSpacing(0);
  counts->addWidget(label("nstate1", true));
  counts->addWidget(new QLabel(QStringLiteral(";  "), this));
  counts->addWidget(label("nstate2", true));
  counts->addStretch(1);
  grid->addLayout(counts, r, 1, 1, 4);
  grid->setColumnMinimumWidth(1, px(60));
  grid->setColumnMinimumWidth(2, px(20));
  grid->setColumnStretch(5, 1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(title);
  page->addSpacing(px(6));
  page->addLayout(grid);
  page->addSpacing(px(14));
  page->addWidget(buildChoice());
  page->addStretch(1);
}

QWidget* SummaryPage::buildChoice() {
  auto* box = named(new QFrame(this), "GroupBox6");
  box->setFrameShape(QFrame::StyledPanel);
  QLabel* heading = label("Label22_6");
  Order1 = named(new QRadioButton(box), "Order1");
  Order2 = named(new QRadioButton(box), "Order2");
  auto* group = new QButtonGroup(box);
  group->addButton(Order1);
  group->addButton(Order2);
  Order1->setChecked(true);
  QLabel* now = label("Label38");
  QLabel* later = label("Label78");
  QLabel* nowNote = makeFittedLabel(box, "Label23_6", {}, kExplanationWidth, wizard().texts());
  QLabel* laterNote = makeFittedLabel(box, "Label24_6", {}, kExplanationWidth, wizard().texts());

  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(px(6));
  grid->addWidget(heading, 0, 0, 1, 4);
  grid->addWidget(Order1, 1, 0);
  grid->addWidget(now, 1, 1);
  grid->addWidget(nowNote, 1, 2);
  grid->addWidget(Order2, 2, 0);
  grid->addWidget(later, 2, 1);
  grid->addWidget(laterNote, 2, 2);
  grid->setColumnStretch(3, 1);
  return box;
}

void SummaryPage::pageShown() {
  wizard().applyUpdates(summaryPage(wizard().state()));
}

}  // namespace qj::ui
