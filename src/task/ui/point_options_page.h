#pragma once
// Page 3a of the task wizard (gbWindow_3a, step 4): per point in Table1a whether its service
// may be refused, its cargo, its income and its time window; above the grid the served-points
// threshold (refusals) and the tact (time factor). Shown only for tasks with one of these
// options.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "task/point_options_step.h"
#include "task/ui/threshold_controls.h"
#include "task/ui/wizard_page.h"
#include "wizard/ui/wizard_grid.h"

namespace qj::ui {

class PointOptionsPage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit PointOptionsPage(TfrmCreateTaskWin& wizard);

  void next() override;
  void pageShown() override;

 private:
  QWidget* buildThreshold();
  QWidget* buildTact();
  void buildGrid();

  Table1aRules rules_;
  QLabel* Label61;
  WizardGrid* grid_;
  QLabel* Label80;
  QLabel* Label15;
  ThresholdWidgets threshold_;
  QWidget* thresholdBox_;
  QFrame* Bevel50;
  QFrame* Bevel52;
  QLabel* Label59;
  QLineEdit* txtDT;
};

}  // namespace qj::ui
