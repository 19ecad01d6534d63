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
#include "frame/key_filters.h"
#include "frame/message.h"
#include "task/wizard_state.h"

namespace qj {

// The wizard's operation codes, as the main menu and the task chooser hand them over.
enum TaskWizardMode : int32_t { kNewTask = 1, kImportTask = 2, kCorrectTask = 3 };

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

// Where Back leads from the current step, and what comes with it.
struct BackMove {
  int toStep = 1;
  std::string focus;            // the control that gets the focus
  bool resetWarnedRow = false;  // the address page warns again on its next edit
  bool restoreNextCaption = false;
  bool disablePrev = false;
};
BackMove backFrom(const TaskWizardState& state);

// What an edit of the wizard accepts.
struct EditRule {
  std::optional<KeyFilter> filter;  // none: any text
  int maxLength = 0;
  bool upperCase = false;
};
// The rule of the edit with this component name; nullopt for other names.
std::optional<EditRule> taskEditRule(std::string_view componentName);

// The money units offered on page 2.
std::vector<Text> moneyUnitItems();

// The database list of step 1: "none", then "[" + key + "] " + name per catalogue entry.
std::vector<std::string> databaseListItems(const std::vector<DbrnCatalogEntry>& catalog);
// The item of the task's database (compared by "[" + code + kind + "]"), 0 when it is not
// in the list.
int databaseItemOf(const std::vector<std::string>& items, const TaskHeader& header);

// The kind of the task's database as the header strips show it.
Text taskDbKindText(std::string_view kind);

// A new task's header values (step 1 with no points, and an import of nothing).
void resetToNewTaskHeader(TaskHeader& header);

// A change that a step makes to a named control of a page (a label's caption, a control
// shown or hidden). Controls that a page does not have are left alone.
struct ControlUpdate {
  std::string name;
  std::optional<Text> text;
  bool fit = false;  // the caption is fitted to the label's width
  std::optional<bool> visible;
  std::optional<std::pair<int, int>> size;  // width and height in pixels
};
using ControlUpdates = std::vector<ControlUpdate>;

void setText(ControlUpdates& u, std::string name, Text text);
void setFitted(ControlUpdates& u, std::string name, Text text);
void setShown(ControlUpdates& u, std::string name, bool visible);
void setSized(ControlUpdates& u, std::string name, int width, int height);
// The caption and the visibility a control has after the updates (nullopt: unchanged).
std::optional<Text> updatedText(const ControlUpdates& u, std::string_view name);
std::optional<bool> updatedVisibility(const ControlUpdates& u, std::string_view name);

// The code, name and database of the header strips of pages 2 to 6.
ControlUpdates headerStripUpdates(const TaskWizardState& state);

}  // namespace qj
