#include "reports/task_view.h"

#include "reports/viewer_files.h"

namespace qj {

TaskView makeTaskView(const TaskFile& task, std::string_view langCode, const ShellTables& texts,
                      char sep) {
  TaskView view;
  view.header = task.header;
  view.dbLevel = dbLevel(task.header.dbKind);
  view.layout = taskLayout(view.dbLevel);
  view.caption = taskCaption(task.header, texts);
  view.parameterTitles = parameterListTitles(texts);
  view.parameters = taskParameters(task.header, view.dbLevel, langCode, texts, sep);
  view.table = taskRows(task, view.layout, texts, sep);
  view.task = task;
  return view;
}

TaskViewLoad loadTaskView(const AppState& state, char sep) {
  TaskViewLoad result;
  ViewerRead<TaskFile> task = readViewedTask(state);
  if (!task.value) {
    result.message = task.message;
    return result;
  }
  result.view = makeTaskView(*task.value, state.langCode, state.texts, sep);
  return result;
}

}  // namespace qj
