#pragma once
// Page 2 of the task wizard (gbWindow_2): the number of points, start and end point, money
// unit, costs, approach speed, the options (refusals, time factor, cargo with its capacity
// and the return to the start point) and the visiting order.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "task/identity_step.h"
#include "task/parameters_step.h"
#include "task/ui/wizard_page.h"

namespace qj::ui {

class ParametersPage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit ParametersPage(TfrmCreateTaskWin& wizard);

  void next() override;
  // Page 2 shows the values step 1 took from the task header, the first time and after an
  // import replaced the task; otherwise it keeps what the user typed.
  void pageShown() override;

  // Step 1's refill from the task header.
  void fill(const Page2Values& values);
  Page2Input input() const;

  void fak0Click();
  // The cargo choices; the capacity edit gets the focus when the page is shown.
  void fak1Click();
  void fak2Click();
  void proClick();

 private:
  void buildEdits();
  QWidget* buildOptions();
  QWidget* buildOrder();
  void showCargo(int mode, bool focus);
  void showPriorityCount(bool focus);

  QLabel* Label6_2;
  QLineEdit* TS_num;
  QLabel* Label7_2;
  QLineEdit* TS_first;
  QLabel* Label8_2;
  QLineEdit* TS_last;
  QLabel* Label9_2;
  QComboBox* UnitOfMeasurement;
  QLabel* Label10_2;
  QLineEdit* fine1;
  QLabel* Label11_2;
  QLineEdit* fine2;
  QLabel* Label12_2;
  QLineEdit* Velo;

  QLabel* Label46;
  QLabel* Label58;
  QRadioButton* ref_1;
  QRadioButton* ref_2;
  QLabel* Label2;
  QRadioButton* tm_1;
  QRadioButton* tm_2;
  QLabel* Label16;
  QRadioButton* fak0;
  QRadioButton* fak1;
  QRadioButton* fak2;
  QLabel* Label13_2;
  QLineEdit* ndol;
  QWidget* GroupBox4;
  QLabel* lblReturn;
  QRadioButton* prvd_1;
  QRadioButton* prvd_2;

  QLabel* Label33;
  QRadioButton* pro_0;
  QRadioButton* pro_1;
  QRadioButton* pro_2;
  QRadioButton* pro_3;
  QLabel* Label16_2;
  QLineEdit* nprio;
};

}  // namespace qj::ui
