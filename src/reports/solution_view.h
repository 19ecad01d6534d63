#pragma once
// Everything the solution viewer shows, prepared once from the task file, the solution file
// and (for a solved task on its own graph) the road-network database: the caption, the
// parameter list with the results and the route table. The printed report and the workbook
// read the same.

#include <optional>
#include <string>
#include <string_view>

#include "frame/app_state.h"
#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "reports/report_texts.h"
#include "reports/solution_rows.h"
#include "text/message.h"
#include "wizard/grid.h"

namespace qj {

struct SolutionView {
  TaskHeader header;
  int dbLevel = 0;
  SolutionHeader solution;
  std::string caption;
  KeyValue parameterTitles;
  KeyValueList parameters;
  GridTable route{kRouteColumns};
  double routeCost = 0;
};

// The view of a solution whose route, if it has one, was checked (checkRoute) against `db`.
// `db` is needed only for a solved task on its own graph.
SolutionView makeSolutionView(const TaskFile& task, const SolutionFile& solution,
                              const DbrnFile* db, std::string_view langCode,
                              const ShellTables& texts, char sep);

struct SolutionViewLoad {
  std::optional<SolutionView> view;
  Message message;  // why no window opens
};

// Reads the task file SelectedPath + ".dat", its solution file and, when the route is to be
// shown on the task's own graph, its database, checks them and prepares the view.
SolutionViewLoad loadSolutionView(const AppState& state, char sep);

}  // namespace qj
