#pragma once
// The served-points threshold of page 3a (step 4): the radio buttons por0 (no threshold),
// por1 (at most porog1 points) and por2 (exactly porog2 points) with their edits. The page of
// step 4 creates the controls; these are their click handlers and the way step 3 shows a
// stored threshold.

#include <QLineEdit>
#include <QRadioButton>
#include <cstdint>

namespace qj::ui {

struct ThresholdControls {
  QRadioButton* por0 = nullptr;
  QRadioButton* por1 = nullptr;
  QRadioButton* por2 = nullptr;
  QLineEdit* porog1 = nullptr;
  QLineEdit* porog2 = nullptr;
};

// Connects por0Click, por1Click and por2Click to the radio buttons' clicks.
void connectThresholdControls(const ThresholdControls& c);

// por0Click: no threshold; both edits emptied and disabled.
void por0Click(const ThresholdControls& c);
// por1Click / por2Click: the chosen edit enabled and focused, the other emptied and disabled.
void por1Click(const ThresholdControls& c);
void por2Click(const ThresholdControls& c);

// A stored ServedThreshold: 0 none, k > 0 at most k (porog1), -k exactly k (porog2). Nothing
// gets the focus.
void showServedThreshold(const ThresholdControls& c, int32_t threshold);

}  // namespace qj::ui
