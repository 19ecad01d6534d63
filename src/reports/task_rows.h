#pragma once
// The task viewer's texts: the parameter list and the point table in one of two layouts. On a
// level-1 database (and a database of unknown kind) every point is shown with its transitions
// to it and from it; on levels 2 and 3 with one row. The printed report and the workbook take
// both as they stand.

#include <string>
#include <string_view>

#include "records/task_file.h"
#include "reports/report_texts.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

enum class TaskLayout {
  Transitions,  // 16 columns: the points with their transitions to and from them
  Points,       // 11 columns: one row per point
};
TaskLayout taskLayout(int dbLevel);
int taskColumnCount(TaskLayout layout);

// Columns of the transitions layout; the points layout shows the point cells of columns 0 to 4
// and 10 to 15 in that order.
enum TaskColumn : int {
  kTaskPointNo = 0,
  kTaskAddress,
  kTaskServiceTime,  // loading time at the start point in a cargo task
  kTaskUnloadTime,
  kTaskWaitPenalty,
  kTaskSectionNo,
  kTaskTransitionNo,
  kTaskTransitionKind,
  kTaskDistance,
  kTaskSpeed,
  kTaskOrder,
  kTaskRefusal,
  kTaskVolume,
  kTaskIncome,
  kTaskWindowLow,
  kTaskWindowHigh,
};
inline constexpr int kTaskTransitionColumns = 16;
inline constexpr int kTaskPointColumns = 11;

// The column of the transitions layout that column `col` of `layout` shows.
int taskColumnContent(TaskLayout layout, int col);

// Whether a column applies to the task: the unloading time and the volume need cargo, the
// order column an order mode, the refusal column refusals, the income column any of
// refusals, time factor or cargo, the two window columns the time factor.
bool taskColumnApplies(TaskLayout layout, int col, const TaskHeader& h);
// The column's title as the viewer shows it, empty for a column that does not apply.
std::string taskColumnTitle(TaskLayout layout, int col, const TaskHeader& h,
                            const ShellTables& texts);
TitleWidths taskTitleWidths(TaskLayout layout, int col);
// Grid column 0 is a pixel narrower than its title label, the others a pixel wider.
int taskGridColumnWidth(int col, int labelWidth);

// "<shell 574> \"<task name>\"".
std::string taskCaption(const TaskHeader& h, const ShellTables& texts);

// The task viewer's parameter list (language, code, name, database, points and the task's
// settings).
KeyValueList taskParameters(const TaskHeader& h, int dbLevel, std::string_view langCode,
                            const ShellTables& texts, char sep);

// The point table of the layout. The transitions layout has the rows of the transitions to
// the points, a row of dashes, then the rows of the transitions from the points; a point's
// own cells stand on the first row of its transitions in each part.
GridTable taskRows(const TaskFile& task, TaskLayout layout, const ShellTables& texts, char sep);

}  // namespace qj
