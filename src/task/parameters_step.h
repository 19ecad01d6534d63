#pragma once
// Step 2 of the task wizard: the common parameters of the task (points, costs, options,
// visiting order, cargo). Passing it fills the task header, the address pickers and the
// address grid, and prepares the captions of the later pages.

#include <cstdint>
#include <string>

#include "task/wizard_frame.h"
#include "task/wizard_state.h"
#include "text/shell_texts.h"

namespace qj {

// The page-2 values that step 2 reads (texts as typed, choices as checked).
struct Page2Input {
  std::string pointCount, startPoint, endPoint;  // TS_num, TS_first, TS_last
  std::string moneyUnit;                         // the chosen item, empty when none
  std::string finePerKm, finePerHour;            // fine1, fine2
  std::string approachSpeed;                     // Velo
  bool timeFactor = false;                       // tm_1
  bool refusals = false;                         // ref_1
  int32_t cargoMode = 0;                         // 0 fak0, 1 fak1, 2 fak2
  std::string capacity;                          // ndol
  bool returnToStart = false;                    // prvd_1
  int32_t orderMode = 0;                         // pro_0 .. pro_3
  std::string priorityCount;                     // nprio
};

struct Step2Result {
  StepCheck check;
  // The captions of the later pages, also when a check failed (they are prepared before the
  // checks, as the values stored before a failing check stay stored).
  ControlUpdates updates;
};

// Next on page 2. On success WizardStep is 3 and Table1 holds one row per point.
Step2Result checkStep2(TaskWizardState& state, const Page2Input& input, const ShellTables& texts);

// The stage-1 state count of a task on a database of `sections` transit sections.
int64_t stageOneStateCount(int32_t sections);

}  // namespace qj
