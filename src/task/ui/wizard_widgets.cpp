#include "task/ui/wizard_widgets.h"

#include "frame/ui/fit_caption.h"

namespace qj::ui {

QLabel* makeFittedLabel(QWidget* parent, const char* name, const Text& text, int width,
                        const ShellTables& texts) {
  auto* label = named(new QLabel(parent), name);
  label->setWordWrap(true);
  label->setFixedWidth(width);
  fitCaption(label, text.resolve(texts), width);
  return label;
}

}  // namespace qj::ui
