#pragma once
// Tasks on client-addition databases. A client addition holds streets and houses only, so the
// optimiser takes the road network from the system database of the same code: it builds the
// task's graph on that network exactly as the task wizard builds the graph of a level-2 task,
// and describes the solved route in text lines that the solution file carries (the viewer
// reads no database for such a task). The system database is read once per task.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "optimiser/progress.h"
#include "optimiser/task_data.h"
#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "text/message.h"
#include "text/shell_texts.h"

namespace qj::optim {

// "<DbCode>sys2_dbrn_<lang>.dat" of the task's database code (code page 1251).
std::string systemDatabaseName(const TaskHeader& header, std::string_view langCode);

struct SystemDatabase {
  std::optional<DbrnFile> db;
  std::optional<Text> failure;  // why the task cannot be solved on it
};

// Reads and checks the system database of a client-addition task: the file must be a sound
// database of level 2 whose transit sections are the task's (as many as the task counts)
// with numbers in their node, length and speed texts, and whose houses at the points' house
// indices are the points' addresses. A system database replaced since the client addition
// was made fails the task rather than giving it a route on another network.
SystemDatabase readSystemDatabase(const OptimTask& task, const std::filesystem::path& path);

// Builds the task's graph on its checked system database: places every point on the only
// section its house is linked to (else on none), sets its to- and from-counts, builds the arc
// lists of the sections and the points, and fills the per-point arrays. The busy line shows
// shell text 118 meanwhile. `system` is lent and comes back unchanged.
void loadRoadNetworkTask(OptimTask& task, DbrnFile& system, RunProgress& progress);

struct RouteDescription {
  double routeCostTotal = 0;
  std::vector<RouteLine> lines;  // the start line, then one line per step that makes a row
};

// The solved route as the solution viewer shows a route on a task's own graph, each text cut
// to the width of its field: the same rows, the same turn and street texts, the same cost.
// The task is the one loadRoadNetworkTask built (its points placed), the route its final one.
RouteDescription buildRouteDescription(const OptimTask& task, const std::vector<RouteStep>& steps,
                                       const std::vector<double>& startServiceTimes,
                                       const DbrnFile& system, const ShellTables& texts,
                                       char decimalSeparator);

}  // namespace qj::optim
