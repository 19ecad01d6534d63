#include "task/ui/threshold_controls.h"

#include "platform/ui/qt_text.h"

namespace qj::ui {
namespace {

void choose(QRadioButton* chosen, const ThresholdWidgets& w) {
  for (QRadioButton* b : {w.por0, w.por1, w.por2}) b->setChecked(b == chosen);
}

void use(QLineEdit* edit, bool inUse, const std::string& text) {
  edit->setText(inUse ? toQt(text) : QString());
  edit->setEnabled(inUse);
}

}  // namespace

void connectThresholdWidgets(const ThresholdWidgets& w) {
  QObject::connect(w.por0, &QRadioButton::clicked, w.por0, [w] { por0Click(w); });
  QObject::connect(w.por1, &QRadioButton::clicked, w.por1, [w] { por1Click(w); });
  QObject::connect(w.por2, &QRadioButton::clicked, w.por2, [w] { por2Click(w); });
}

void showThreshold(const ThresholdWidgets& w, const ThresholdControls& c) {
  choose(c.choice == 1 ? w.por1 : c.choice == 2 ? w.por2 : w.por0, w);
  use(w.porog1, c.choice == 1, c.porog1);
  use(w.porog2, c.choice == 2, c.porog2);
}

ThresholdControls readThreshold(const ThresholdWidgets& w) {
  ThresholdControls c;
  c.choice = w.por1->isChecked() ? 1 : w.por2->isChecked() ? 2 : 0;
  c.porog1 = fromQt(w.porog1->text());
  c.porog2 = fromQt(w.porog2->text());
  return c;
}

void por0Click(const ThresholdWidgets& w) {
  showThreshold(w, {0, "", ""});
}

void por1Click(const ThresholdWidgets& w) {
  showThreshold(w, {1, fromQt(w.porog1->text()), ""});
  w.porog1->setFocus();
}

void por2Click(const ThresholdWidgets& w) {
  showThreshold(w, {2, "", fromQt(w.porog2->text())});
  w.porog2->setFocus();
}

}  // namespace qj::ui
