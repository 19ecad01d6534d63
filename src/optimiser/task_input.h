#pragma once
// Reading and checking one queued task: the solver input file read as far as the checks need
// it, each check in its order, and the message of the first that fails. A file that is short
// of what its counts announce, or whose numbers the optimiser cannot work with, fails its
// task with a message instead of being read on.

#include <optional>
#include <string>
#include <string_view>

#include "optimiser/task_data.h"
#include "text/message.h"

namespace qj::optim {

struct TaskInput {
  // The header as far as it could be read (zeros when the file is shorter than a header).
  TaskHeader header;
  bool clientAddition = false;
  // The task with its points; with its graph too unless it is a client-addition task, whose
  // graph is built from the system database.
  std::optional<OptimTask> task;
  // The message of the first failed check.
  std::optional<Text> failure;
};

// Reads the header, makes the header checks, reads the points and, for a task on its own
// graph, makes every further check while it reads the graph. `fileName` names the file in
// the message of a truncated file; `decimalSeparator` writes the real-valued settings.
TaskInput readTaskInput(std::string_view bytes, std::string_view code, std::string_view fileName,
                        const IterationSettings& settings, char decimalSeparator);

// The checks on the points, the start and end point and the run settings, in their order
// (a client-addition task makes them once its graph is built).
std::optional<Text> checkTaskRules(const OptimTask& task, const IterationSettings& settings,
                                   char decimalSeparator);

// The checks on the arcs of the task's graph: targets, costs, times.
std::optional<Text> checkGraph(const OptimTask& task);

}  // namespace qj::optim
