#include "dbrn/ui/street_types_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {
namespace {

// Table0's column widths, the hidden street count last.
const std::vector<int> kTable0Widths = {44, 200, 110, 0};

}  // namespace

StreetTypesPage::StreetTypesPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 2), rules_(w.state()) {
  const ShellTables& t = texts();
  DbrnWizardState& s = state();
  Label_1 = makeHeading("Label_1");
  Label7_0 = makeLabel(this, "Label7_0", shell(1000) + ":", t);
  skor = makeEdit(this, "skor", 70);
  skor->setText(toQt(s.avgSpeedText));
  skor->setReadOnly(s.viewing());

  grid_ = makeGrid(
      "Table0", s.table0, &rules_, kTable0Widths, 1,
      [this](GridKey key, int row, int col) { return streetTypeGridKey(state(), key, row, col); });
  using Line = WizardGrid::Line;
  grid_->addTitle("Title0_T0", shell(519), typeCol::kRow, typeCol::kRow, Line::Both, false);
  grid_->addTitle("Title1_T0", shell(678), typeCol::kFullName, typeCol::kFullName, Line::Both,
                  false);
  grid_->addTitle("Title2_T0", shell(645), typeCol::kShortName, typeCol::kShortName, Line::Both,
                  false);
  grid_->showColumns({typeCol::kRow, typeCol::kFullName, typeCol::kShortName});
  grid_->view()->setTypingRefusedHandler([this](int row, int) {
    const auto warning = streetTypeTypingRefused(state(), row);
    if (warning) wizard().showMessage(*warning);
    return warning.has_value();
  });
  Label9_0 =
      makeHelp("Label9_0", lit("<Ctrl>+<Ins> - ") + shell(87) + "   <Ctrl>+<Del> - " + shell(690));

  auto* speed = new QHBoxLayout;
  speed->addStretch(1);
  speed->addWidget(Label7_0);
  speed->addSpacing(px(10));
  speed->addWidget(skor);
  speed->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(8), px(4), px(8), 0);
  page->addWidget(Label_1);
  page->addSpacing(px(6));
  page->addLayout(speed);
  page->addSpacing(px(10));
  page->addWidget(grid_, 1, Qt::AlignHCenter);
  page->addWidget(Label9_0, 0, Qt::AlignHCenter);
}

void StreetTypesPage::pageShown() {
  grid_->refresh();
}

void StreetTypesPage::next() {
  const std::string speed = fromQt(skor->text());
  wizard().runNext([&] { return checkStreetTypesPage(state(), speed); });
}

}  // namespace qj::ui
