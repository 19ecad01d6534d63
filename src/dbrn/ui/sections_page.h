#pragma once
// Page 4 of the database wizard (gbWindow_2): the street pickers List_1 and List_2, the line
// about the current section Label_02 and the transit-sections grid Table1.

#include <QComboBox>
#include <QLabel>

#include "dbrn/sections_step.h"
#include "dbrn/ui/wizard_page.h"

namespace qj::ui {

class SectionsPage : public DbrnWizardPage {
  Q_OBJECT

 public:
  explicit SectionsPage(TfrmCreateDBRN& wizard);

  void next() override;
  void pageShown() override;
  void showPickers() override;

  void List_1Change(int row);
  void List_2Change(int row);
  void Table1Click(const QModelIndex& index);

 private:
  void showSectionInfo(int row);

  SectionGridRules rules_;
  QLabel* Label_2;
  QLabel* L2_filter;
  QComboBox* List_1;
  QComboBox* List_2;
  QLabel* Label_02;
  WizardGrid* grid_;
};

}  // namespace qj::ui
