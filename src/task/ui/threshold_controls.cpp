#include "task/ui/threshold_controls.h"

namespace qj::ui {
namespace {

void disable(QLineEdit* edit) {
  edit->clear();
  edit->setEnabled(false);
}

void choose(QRadioButton* chosen, const ThresholdControls& c) {
  for (QRadioButton* b : {c.por0, c.por1, c.por2}) b->setChecked(b == chosen);
}

}  // namespace

void connectThresholdControls(const ThresholdControls& c) {
  QObject::connect(c.por0, &QRadioButton::clicked, c.por0, [c] { por0Click(c); });
  QObject::connect(c.por1, &QRadioButton::clicked, c.por1, [c] { por1Click(c); });
  QObject::connect(c.por2, &QRadioButton::clicked, c.por2, [c] { por2Click(c); });
}

void por0Click(const ThresholdControls& c) {
  choose(c.por0, c);
  disable(c.porog1);
  disable(c.porog2);
}

void por1Click(const ThresholdControls& c) {
  choose(c.por1, c);
  c.porog1->setEnabled(true);
  c.porog1->setFocus();
  disable(c.porog2);
}

void por2Click(const ThresholdControls& c) {
  choose(c.por2, c);
  disable(c.porog1);
  c.porog2->setEnabled(true);
  c.porog2->setFocus();
}

void showServedThreshold(const ThresholdControls& c, int32_t threshold) {
  if (threshold == 0) {
    choose(c.por0, c);
    disable(c.porog1);
    disable(c.porog2);
  } else if (threshold < 0) {
    choose(c.por2, c);
    disable(c.porog1);
    c.porog2->setEnabled(true);
    c.porog2->setText(QString::number(-static_cast<int64_t>(threshold)));
  } else {
    choose(c.por1, c);
    c.porog1->setEnabled(true);
    c.porog1->setText(QString::number(threshold));
    disable(c.porog2);
  }
}

}  // namespace qj::ui
