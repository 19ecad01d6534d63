#pragma once
// The task viewer: the parameters of a task and its target points, on a level-1 database with
// their transitions to and from them (Table), on levels 2 and 3 one row each (Table1), under
// column titles that follow the columns. Columns that do not apply to the task stay one pixel
// wide.

#include <QWidget>

#include "reports/task_view.h"
#include "reports/ui/viewer_parts.h"

namespace qj::ui {

class AppContext;

class TfrmViewTask : public ViewerWindow {
  Q_OBJECT

 public:
  // The viewer of SelectedPath's task, not yet shown; nullptr when its file cannot be shown,
  // after the message that says why.
  static TfrmViewTask* create(AppContext& app);

  TfrmViewTask(TaskView view, const ShellTables& texts, QWidget* parent = nullptr);

  // What the viewer shows: the printed report and the workbook take it as it stands.
  const TaskView& view() const { return view_; }

  ParameterList* VarList;
  TitledGrid* Table;  // Table (16 columns) or Table1 (11 columns), with its title strip

 private:
  // Splitter1Moved .. Splitter16Moved, Sp1Moved .. Sp11Moved.
  void SplitterMoved(int col);

  TaskView view_;
  const ShellTables& texts_;
};

}  // namespace qj::ui
