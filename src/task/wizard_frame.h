#pragma once
// The task wizard's frame in the core: its title and step captions, where Back leads from
// every step, the key filter of every edit, the database list of step 1, and the label
// updates that a step hands to the pages it prepares.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/app_state.h"
#include "frame/catalogue.h"
#include "task/wizard_state.h"
#include "text/key_filters.h"
#include "text/message.h"
#include "wizard/step_result.h"

namespace qj {

// The steps held in WizardStep and their pages.
inline constexpr int kTaskSteps = 8;
// The suffix of the page of a step: "1", "2", "3", "3a", "34", "4", "5", "6".
std::string_view taskPageSuffix(int step);

Text taskWizardTitle(int32_t formMode);
// "Step 1" without a total on page 1; "Step <n> of <total>" on the other pages, n being the
// page's number (3a and 3b for the optional pages) and the total 5 for level 1, else 3; the
// summary shows the title alone.
Text taskStepCaption(const TaskWizardState& state, int step);
// True when step 4 (refusals, cargo, time windows) is part of the task.
bool usesOptionalStep(const TaskHeader& header);

// Where Back leads from the current step, and what comes with it. Next's caption and Back's
// state on the page shown are the flow's, as on every page (WizardFlow).
struct BackMove {
  int toStep = 1;
  std::string focus;            // the control that gets the focus
  bool resetWarnedRow = false;  // the address page warns again on its next edit
};
BackMove backFrom(const TaskWizardState& state);

// The rule of the edit with this component name; nullopt for other names.
std::optional<FieldRule> taskEditRule(std::string_view componentName);

// The money units offered on page 2.
std::vector<Text> moneyUnitItems();

// The item of the task's database in the database list of step 1 (databaseListItems of the
// catalogue), compared by "[" + code + kind + "]"; 0 when it is not in the list.
int databaseItemOf(const std::vector<std::string>& items, const TaskHeader& header);

// The kind of the task's database as the header strips show it.
Text taskDbKindText(std::string_view kind);

// A new task's header values (step 1 with no points, and an import of nothing).
void resetToNewTaskHeader(TaskHeader& header);

// The code, name and database of the header strips of pages 2 to 6.
ControlUpdates headerStripUpdates(const TaskWizardState& state);

}  // namespace qj
