#pragma once
// Step 5 of the task wizard: the served-points threshold, the estimate of the task's states
// (the count the optimiser's final pass will have, limited to 30000) and the choice of one
// section for every point whose house number cannot place it (Table12).

#include <cstdint>
#include <string>

#include "route/state_space.h"
#include "task/point_options_step.h"
#include "task/step_outcome.h"
#include "task/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

// The number of states of the task's final pass: the optimiser's own count, with a point
// counted as refusable when its permission alone is set.
int64_t estimateStateCount(const TaskHeader& header, const std::vector<TaskPointRec>& points);

struct Step5Outcome : StepOutcome {
  int64_t stateCount = 0;       // the estimate, once made
  bool resetThreshold = false;  // check por0, empty and disable porog1 and porog2
};

// Next on page 34 (or run directly from steps 3 and 4) with the threshold controls of page 3a
// as the user left them. On success the header holds ServedThreshold and StateCount2 and, for
// levels 2 and 3, the points their house indices; `next` says whether the level-1 placement,
// the automatic transitions or the summary follow.
Step5Outcome checkStep5(TaskWizardState& state, const ThresholdControls& threshold);

// Table12 is read only but for its marks: the SpaceBar on column 8 marks the selected
// candidate as the point's section and clears the point's other marks.
GridKeyResult table12Key(TaskWizardState& state, GridKey key, int row, int col);

}  // namespace qj
