#pragma once
// Page 6 of the task wizard (gbWindow_6, the last step): the summary of the task as the steps
// left it, and the choice to solve the task at once (Order1) or later (Order2). Its Next saves
// the task (the wizard frame does that).

#include <QLabel>
#include <QRadioButton>

#include "task/ui/wizard_page.h"

namespace qj::ui {

class SummaryPage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit SummaryPage(TfrmCreateTaskWin& wizard);

  void pageShown() override;

 private:
  QLabel* label(const char* name, bool value = false);
  QWidget* buildChoice();

  QRadioButton* Order1;
  QRadioButton* Order2;
};

}  // namespace qj::ui
