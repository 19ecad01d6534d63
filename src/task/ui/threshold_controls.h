#pragma once
// The served-points threshold of page 3a (step 4): the radio buttons por0 (no threshold),
// por1 (at most porog1 points) and por2 (exactly porog2 points) with their edits. The page of
// step 4 creates the widgets; these are their click handlers and the moves between the
// widgets and the core's ThresholdControls.

#include <QLineEdit>
#include <QRadioButton>

#include "task/point_options_step.h"

namespace qj::ui {

struct ThresholdWidgets {
  QRadioButton* por0 = nullptr;
  QRadioButton* por1 = nullptr;
  QRadioButton* por2 = nullptr;
  QLineEdit* porog1 = nullptr;
  QLineEdit* porog2 = nullptr;
};

// Connects por0Click, por1Click and por2Click to the radio buttons' clicks.
void connectThresholdWidgets(const ThresholdWidgets& w);

// por0Click: no threshold; both edits emptied and disabled.
void por0Click(const ThresholdWidgets& w);
// por1Click / por2Click: the chosen edit enabled and focused, the other emptied and disabled.
void por1Click(const ThresholdWidgets& w);
void por2Click(const ThresholdWidgets& w);

// Shows a threshold (the stored one when page 3a opens, none after a refusal); the edit not in
// use is empty and disabled. Nothing gets the focus.
void showThreshold(const ThresholdWidgets& w, const ThresholdControls& c);
// The threshold as the user left the widgets.
ThresholdControls readThreshold(const ThresholdWidgets& w);

}  // namespace qj::ui
