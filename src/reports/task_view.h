#pragma once
// Everything the task viewer shows, prepared once from the task file: the caption, the
// parameter list and the point table. The printed report and the workbook read the same; the
// workbook also takes the points and transitions from the file as the viewer read it.

#include <optional>
#include <string>
#include <string_view>

#include "frame/app_state.h"
#include "records/task_file.h"
#include "reports/report_texts.h"
#include "reports/task_rows.h"
#include "text/message.h"
#include "wizard/grid.h"

namespace qj {

struct TaskView {
  TaskHeader header;
  int dbLevel = 0;
  TaskLayout layout = TaskLayout::Transitions;
  std::string caption;
  KeyValue parameterTitles;
  KeyValueList parameters;
  GridTable table;
  TaskFile task;  // the file as read when the viewer opened
};

TaskView makeTaskView(const TaskFile& task, std::string_view langCode, const ShellTables& texts,
                      char sep);

struct TaskViewLoad {
  std::optional<TaskView> view;
  Message message;  // why no window opens
};

// Reads SelectedPath + ".dat" and prepares the view; `sep` is the regional separator.
TaskViewLoad loadTaskView(const AppState& state, char sep);

}  // namespace qj
