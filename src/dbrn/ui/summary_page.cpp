#include "dbrn/ui/summary_page.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dbrn/ui/UCreateDBRN.h"
#include "platform/ui/design.h"
#include "wizard/ui/wizard_widgets.h"

namespace qj::ui {

DbrnSummaryPage::DbrnSummaryPage(TfrmCreateDBRN& w) : DbrnWizardPage(w, 8) {
  const ShellTables& t = texts();
  struct Line {
    const char* caption;
    Text text;
    const char* value;
  };
  const Line lines[] = {
      {"Label2_5", shell(223).trimmed() + ":", "kod_5"},
      {"Label3_5", shell(260) + ":", "name_5"},
      {"Label4_5", shell(672) + ":", "DBRN1_5"},
      {"Label5_5", shell(721).trimmed() + ":", "nts_5"},
      {"Label6_5", shell(739).trimmed() + ":", "nstr_5"},
      {"Label7_5", shell(723).trimmed() + ":", "nHs_5"},
      {"Label8_5", shell(737).trimmed() + ":", "ndsum_5"},
      {"Label9_5", shell(736) + ":", "tlsum_5"},
      {"Label10_5", shell(139) + ":", "DBRN2_5"},
  };
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(px(16));
  grid->setVerticalSpacing(px(12));
  int r = 0;
  for (const Line& line : lines) {
    grid->addWidget(makeLabel(this, line.caption, line.text, t), r, 0);
    auto* value = named(new QLabel(this), line.value);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    grid->addWidget(value, r++, 1);
  }
  grid->setColumnStretch(2, 1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(px(60), px(4), px(40), 0);
  page->addWidget(makePageTitle(this, "Label1_5", shell(423) + ":", t));
  page->addSpacing(px(30));
  page->addLayout(grid);
  page->addStretch(1);
}

}  // namespace qj::ui
