#pragma once
// Page 5 of the database wizard (gbWindow_3): the turns grid Table2 under the counts of nodes
// and sections.

#include <QLabel>

#include "dbrn/turns_step.h"
#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class TurnsPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit TurnsPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;

 private:
  TurnGridRules rules_;
  WizardGrid* grid_;
};

}  // namespace qj::ui
