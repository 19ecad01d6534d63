#pragma once
// Page 3 of the database wizard (gbWindow_12): the street type chooser List_0 with RB_yes and
// RB_no, and the streets grid Table_0.

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "dbrn/streets_step.h"
#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class StreetsPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit StreetsPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;
  void showPickers() override;

  void List_0Change(int row);
  void RB_yesClick();
  void RB_noClick();

 private:
  StreetGridRules rules_;
  QLabel* Label_12;
  QComboBox* List_0;
  QLabel* L_12;
  QRadioButton* RB_yes;
  QRadioButton* RB_no;
  WizardGrid* grid_;
};

}  // namespace qj::ui
