#pragma once
// Page 34 of the task wizard (gbWindow_34, step 5): the transit sections a point may lie on
// when its house number cannot tell, in Table12, where the SpaceBar marks the point's
// section. Its Next runs step 5's check (also straight from steps 3 and 4 when no point needs
// a choice): the served-points threshold, the estimate of the task's states and the marks.

#include <QLabel>

#include "task/section_choice_step.h"
#include "task/ui/wizard_page.h"
#include "wizard/ui/wizard_grid.h"

namespace qj::ui {

class SectionChoicePage : public TaskWizardPage {
  Q_OBJECT

 public:
  explicit SectionChoicePage(TfrmCreateTaskWin& wizard);

  void next() override;
  void pageShown() override;

 private:
  ReadOnlyRules rules_;
  QLabel* Label40;
  WizardGrid* grid_;
  QLabel* Label57;
};

}  // namespace qj::ui
