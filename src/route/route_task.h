#pragma once
// A task on its road network as the task wizard and the optimiser both see it.

#include "records/task_file.h"

namespace qj {

// Service duration of a point: its service time, or its unloading time in a cargo task.
double serviceDuration(const TaskHeader& header, const TaskPointRec& point);

}  // namespace qj
