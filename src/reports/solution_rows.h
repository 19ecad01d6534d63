#pragma once
// The solution viewer's texts: the route table, one row per route step with the times, the
// streets and the turns, and the parameter list with the optimiser's results. The printed
// report and the workbook take both as they stand.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "reports/report_texts.h"
#include "route/route_rows.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// The rows of a client-addition task: its stored description lines as they stand.
GridTable routeLineRows(const std::vector<RouteLine>& lines);

// The table of a solution without a route: one row of empty cells.
GridTable emptyRouteRows();

// The title of route column 0..7: shell texts 519, 406, 13 (trimmed), 85, 83, 82, 265, 268.
std::string routeColumnTitle(int col, const ShellTables& texts);
TitleWidths routeTitleWidths(int col);
// The width of grid column `col` under a title label `labelWidth` pixels wide: column 0 is a
// pixel narrower, column 1 as wide, the others a pixel wider.
int routeGridColumnWidth(int col, int labelWidth);

// "<shell 768> \"<task name>\"".
std::string solutionCaption(const TaskHeader& h, const ShellTables& texts);

// The solution viewer's parameter list: the outcome, the optimiser's message when it failed,
// the task's parameters, the run's settings, the information texts and, for a solved task,
// the results. `routeCost` is the cost along the route (the stored total of a client-addition
// task); it is shown only for tasks with the time factor.
KeyValueList solutionParameters(const TaskHeader& h, int dbLevel, const SolutionHeader& s,
                                double routeCost, std::string_view langCode,
                                const ShellTables& texts, char sep);

}  // namespace qj
