#pragma once
// The solution viewer: the parameters of a solved task with the optimiser's results, and its
// route as a table of one row per step, under column titles that follow the columns.

#include <QWidget>

#include "reports/solution_view.h"
#include "reports/ui/viewer_parts.h"

namespace qj::ui {

class AppContext;

class TfrmViewSolution : public ViewerWindow {
  Q_OBJECT

 public:
  // The viewer of SelectedPath's solution, not yet shown; nullptr when its files cannot be
  // shown, after the message that says why.
  static TfrmViewSolution* create(AppContext& app);

  TfrmViewSolution(SolutionView view, const ShellTables& texts, QWidget* parent = nullptr);

  // What the viewer shows: the printed report and the workbook take it as it stands.
  const SolutionView& view() const { return view_; }

  ParameterList* VarList;
  TitledGrid* sgSolution;  // with its title strip TitleSolution

 private:
  // Splitter10Moved .. Splitter17Moved: the column follows its title label, and the title is
  // fitted to the label's new width.
  void SplitterMoved(int col);

  SolutionView view_;
  const ShellTables& texts_;
};

}  // namespace qj::ui
