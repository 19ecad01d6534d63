#pragma once
// Page 7 of the database wizard (gbWindow_4a): the pickers List_41, List_42 and List_43, the
// line about the section in the current cell Label_4b and the houses grid Table4.

#include <QComboBox>
#include <QLabel>

#include "dbrn/houses_step.h"
#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class HousesPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit HousesPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;
  void showPickers() override;

  void List_41Change(int row);
  void List_42Change(int row);
  void List_43Change(int row);
  void Table4Click(const QModelIndex& index);

 private:
  void showSectionInfo(const QModelIndex& index);

  HouseGridRules rules_;
  QComboBox* List_41;
  QComboBox* List_42;
  QComboBox* List_43;
  QLabel* Label_4b;
  WizardGrid* grid_;
};

}  // namespace qj::ui
