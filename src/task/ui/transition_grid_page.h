#pragma once
// The pages of steps 6 and 7 of a level-1 task share one layout: a grid with a row per
// transition of every point (the point, its address, its transit section, the kind of the
// transition and its distance and speed, the last two typed). The pages differ in their
// titles and in the check their Next runs.

#include <QLabel>
#include <array>

#include "task/transition_grid.h"
#include "task/ui/wizard_page.h"
#include "wizard/ui/wizard_grid.h"

namespace qj::ui {

class TransitionGridPage : public TaskWizardPage {
  Q_OBJECT

 public:
  void pageShown() override;

  // The names of the page's captions: the page title, then the titles of columns 0 to 10 in
  // the order point, address, section number, section group, house numbers, start node, end
  // node, length, speed, transition group, kind, distance, speed.
  struct Captions {
    const char* page;
    Text pageText;
    std::array<const char*, 13> names;
    std::array<Text, 13> texts;
  };

 protected:
  TransitionGridPage(TfrmCreateTaskWin& wizard, int step, const char* gridName, GridTable& table,
                     const Captions& captions);

  WizardGrid* grid() const { return grid_; }

 private:
  TransitionGridRules rules_;
  QLabel* title_;
  WizardGrid* grid_;
};

}  // namespace qj::ui
