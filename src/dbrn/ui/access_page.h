#pragma once
// Page 6 of the database wizard (gbWindow_4): the accessibility grid Table3 under the counts
// of nodes and sections.

#include "dbrn/access_step.h"
#include "dbrn/ui/wizard_page.h"
#include "wizard/ui/wizard_grid.h"

namespace qj::ui {

class AccessPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit AccessPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;

 private:
  AccessGridRules rules_;
  WizardGrid* grid_;
};

}  // namespace qj::ui
