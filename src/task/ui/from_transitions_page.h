#pragma once
// Page 5 of the task wizard (gbWindow_5, step 7 of a level-1 task): the ways from every target
// point to the end of its section, of its reverse section and straight to other points, in
// Table3. Its Next builds the section graph of the task.

#include "task/ui/transition_grid_page.h"

namespace qj::ui {

class FromTransitionsPage : public TransitionGridPage {
  Q_OBJECT

 public:
  explicit FromTransitionsPage(TfrmCreateTaskWin& wizard);

  void next() override;
};

}  // namespace qj::ui
