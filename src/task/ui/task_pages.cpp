// Every page of the task wizard is plugged in here, one line each.
#include "task/ui/task_pages.h"

#include "task/ui/from_transitions_page.h"
#include "task/ui/identity_page.h"
#include "task/ui/parameters_page.h"
#include "task/ui/point_options_page.h"
#include "task/ui/points_page.h"
#include "task/ui/section_choice_page.h"
#include "task/ui/summary_page.h"
#include "task/ui/to_transitions_page.h"

namespace qj::ui {

namespace {

template <typename Page>
TaskWizardPage* make(TfrmCreateTaskWin& wizard) {
  return new Page(wizard);
}

}  // namespace

TaskPageMakers taskWizardPages() {
  TaskPageMakers pages;
  pages[0] = make<IdentityPage>;         // step 1, gbWindow_1: code, name, database, import
  pages[1] = make<ParametersPage>;       // step 2, gbWindow_2: common parameters
  pages[2] = make<PointsPage>;           // step 3, gbWindow_3: points and addresses (Table1)
  pages[3] = make<PointOptionsPage>;     // step 4, gbWindow_3a: refusals, cargo, windows (Table1a)
  pages[4] = make<SectionChoicePage>;    // step 5, gbWindow_34: section choice (Table12)
  pages[5] = make<ToTransitionsPage>;    // step 6, gbWindow_4: transitions to the points (Table2)
  pages[6] = make<FromTransitionsPage>;  // step 7, gbWindow_5: transitions from the points (Table3)
  pages[7] = make<SummaryPage>;          // step 8, gbWindow_6: summary, Order1 / Order2
  return pages;
}

}  // namespace qj::ui
