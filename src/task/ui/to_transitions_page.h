#pragma once
// Page 4 of the task wizard (gbWindow_4, step 6 of a level-1 task): the ways from the road
// network to every target point, from its own section and from its reverse section, in Table2.

#include "task/ui/transition_grid_page.h"

namespace qj::ui {

class ToTransitionsPage : public TransitionGridPage {
  Q_OBJECT

 public:
  explicit ToTransitionsPage(TfrmCreateTaskWin& wizard);

  void next() override;
};

}  // namespace qj::ui
