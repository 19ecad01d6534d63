#pragma once
// Page 2 of the database wizard (gbWindow_1): the average speed (skor) and the street types
// (Table0).

#include <QLabel>
#include <QLineEdit>

#include "dbrn/street_types_step.h"
#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class StreetTypesPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit StreetTypesPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;

 private:
  StreetTypeGridRules rules_;
  QLabel* Label_1;
  QLabel* Label7_0;
  QLineEdit* skor;
  WizardGrid* grid_;
  QLabel* Label9_0;
};

}  // namespace qj::ui
