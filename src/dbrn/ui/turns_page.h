#pragma once
// Pages 5 and 6 of the database wizard: the turns grid Table2 (gbWindow_3) and the
// accessibility grid Table3 (gbWindow_4), each under the counts of nodes and sections.

#include <QLabel>

#include "dbrn/access_step.h"
#include "dbrn/turns_step.h"
#include "dbrn/ui/dbrn_wizard_page.h"

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

// The line of counts over the grids of steps 5, 6 and the summary: nodes and sections.
QWidget* makeCountLine(QWidget* parent, int step, const ShellTables& texts);

}  // namespace qj::ui
