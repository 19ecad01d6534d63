#pragma once
// The workbooks of the two viewers, laid out from what each viewer shows: the solution
// workbook (the parameter list and the route table) and the task workbook (the parameter
// list, one row per target point and, on a level-1 database, the transitions). The task
// workbook is also the exchange format that the task wizard imports: its row positions,
// column order, marks and number texts bind that reader.

#include <string>

#include "office/workbook.h"
#include "records/task_file.h"
#include "reports/solution_view.h"
#include "reports/task_view.h"
#include "text/shell_texts.h"

namespace qj {

// Sheet 1 the parameter list (keys left-aligned, values bold), sheet 2 the route table
// under its titles (the viewer's column titles, unfitted).
void laySolutionWorkbook(const SolutionView& view, const ShellTables& texts,
                         office::WorkbookOutput& out);
office::Workbook solutionWorkbook(const SolutionView& view, const ShellTables& texts);

// Sheet 1 the parameter list, sheet 2 the points, sheet 3 (level 1 only) the transitions to
// and from the points, from the task file as the viewer read it. Reals are written with the
// regional separator `sep`, as the viewer writes them.
void layTaskWorkbook(const TaskView& view, const ShellTables& texts, char sep,
                     office::WorkbookOutput& out);
office::Workbook taskWorkbook(const TaskView& view, const ShellTables& texts, char sep);

// The rows each workbook holds, to tell how far an export has come.
int64_t solutionWorkbookRows(const SolutionView& view);
int64_t taskWorkbookRows(const TaskView& view);

// The names of the two workbooks of a task: "qj_<code>" and "qj_<code>_out".
std::string taskWorkbookStem(const TaskHeader& h);
std::string solutionWorkbookStem(const TaskHeader& h);

}  // namespace qj
