// Every page of the task wizard is plugged in here, one line each.
#include "task/ui/task_pages.h"

#include "task/ui/identity_page.h"
#include "task/ui/parameters_page.h"
#include "task/ui/placeholder_page.h"

namespace qj::ui {

namespace {

template <typename Page>
TaskWizardPage* make(TfrmCreateTaskWin& wizard) {
  return new Page(wizard);
}

TaskPageMaker placeholder(int step) {
  return [step](TfrmCreateTaskWin& wizard) -> TaskWizardPage* {
    return new PlaceholderPage(wizard, step);
  };
}

}  // namespace

TaskPageMakers taskWizardPages() {
  TaskPageMakers pages;
  pages[0] = make<IdentityPage>;    // step 1, gbWindow_1: code, name, database, import
  pages[1] = make<ParametersPage>;  // step 2, gbWindow_2: common parameters
  pages[2] = placeholder(3);        // step 3, gbWindow_3: points and addresses (Table1)
  pages[3] = placeholder(4);        // step 4, gbWindow_3a: refusals, cargo, windows (Table1a)
  pages[4] = placeholder(5);        // step 5, gbWindow_34: section choice (Table12)
  pages[5] = placeholder(6);        // step 6, gbWindow_4: transitions to the points (Table2)
  pages[6] = placeholder(7);        // step 7, gbWindow_5: transitions from the points (Table3)
  pages[7] = placeholder(8);        // step 8, gbWindow_6: summary, Order1 / Order2
  return pages;
}

}  // namespace qj::ui
