#pragma once
// The working state of the task wizard: the task being entered, the database it is entered
// against and the section graph built from them (its route task), and the grids of its pages. The
// window moves data between its widgets and this state; every step's check and every computation
// works on it in the core.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/form_modes.h"
#include "records/dbrn_file.h"
#include "records/task_file.h"
#include "route/route_task.h"
#include "task/address_pickers.h"
#include "task/typed_cells.h"
#include "text/message.h"
#include "wizard/grid.h"
#include "wizard/step_result.h"

namespace qj {

// Where a level-1 point lies on its section; kept for the transition steps.
struct PointSectionInfo {
  std::string rangeText;  // HouseFrom + "-" + HouseTo + NonStdNumbering, at most 10 characters
  double length = 0;      // metres
  double speed = 0;       // km/h
  int32_t houseNumber = 0;
  int32_t direction = 0;  // 0 ascending, 1 descending, -1 placed by a mark without a range
};

// The task being entered is a route task: its database, header, points, transitions and
// solver graph are those of RouteTask.
struct TaskWizardState : RouteTask {
  // Copies of the shared state taken when the wizard opens.
  int32_t formMode = kNewTask;  // TaskWizardMode
  char decSep = ',';
  std::string langCode;

  int32_t wizardStep = 1;
  int32_t dbLevel = 0;  // 1, 2, 3; 0 before a database is loaded

  int32_t transitionsEntered = 0;
  int32_t dbChangedByUser = 0;
  int32_t loadFailed = 0;
  // Per point: its address changed (or the database did) since its transitions were made, so
  // they start again from their defaults. The placement of the points applies and clears it.
  std::vector<int32_t> pointChanged;
  int32_t warnedRow = -1;
  int32_t ambiguousCount = 0;
  AddressPickers pickers;  // of the point page; filled when step 2 passes

  // Level 1: placement of the points on their sections.
  std::vector<PointSectionInfo> pointSectionInfo;
  std::vector<double> startSectionDist, reverseSectionDist;

  // The grids of the pages (hidden record columns included).
  GridTable table1{9};    // step 3: points and addresses
  GridTable table1a{7};   // step 4: refusals, cargo, incomes, windows
  GridTable table12{10};  // step 5: candidate sections
  GridTable table2{11};   // step 6: transitions to the points
  GridTable table3{11};   // step 7: transitions from the points

  // What the user typed into each grid and no step has stored yet; a refill keeps it.
  TypedCells typed1, typed1a, typed12, typed2, typed3;
  // Page 2 (and the tact) and the threshold controls of page 3a are filled from the header
  // once per task: again only after an import replaced the task, never over what was typed.
  int32_t taskRevision = 0;
  int32_t page2Revision = -1;
  int32_t thresholdRevision = -1;

  // The approach speed typed on step 2 (km/h). The header carries it only for levels 2 and 3;
  // at level 1 it is the default speed of every transition.
  double approachSpeed = 0;
};

}  // namespace qj
