#pragma once
// Page 3 of the task wizard (gbWindow_3): one row per target point in Table1 (address, service
// times, waiting penalty, order value) and the street-type, street and house pickers whose
// choice the SpaceBar enters into the row.

#include <QComboBox>
#include <QLabel>

#include "task/points_step.h"
#include "task/ui/wizard_page.h"
#include "wizard/ui/wizard_grid.h"

namespace qj::ui {

class PointsPage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit PointsPage(TfrmCreateTaskWin& wizard);

  void next() override;
  void pageShown() override;

  void ListChange(int row);
  void List1Change(int row);
  void List2Change(int row);
  void Table1Click(const QModelIndex& index);

 private:
  QWidget* buildPickers();
  void buildGrid();
  // The pickers show the wizard's choice.
  void showPickers();
  bool Table1KeyDown(GridKey key, int row, int col);
  void Table1Edited(int row, int col);

  Table1Rules rules_;
  QLabel* Label10_3;
  QComboBox* List;
  QLabel* L_3;
  QComboBox* List1;
  QLabel* L1_3;
  QComboBox* List2;
  QLabel* L2_3;
  WizardGrid* grid_;
  QLabel* Label7_2_;
  QLabel* Label6;
};

}  // namespace qj::ui
