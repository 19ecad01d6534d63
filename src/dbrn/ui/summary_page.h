#pragma once
// Page 8 of the database wizard (gbWindow_5): the summary of the database, before Next writes
// it (dbrn/summary_step.h).

#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class DbrnSummaryPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit DbrnSummaryPage(TfrmCreateDBRN& wizard);
};

}  // namespace qj::ui
