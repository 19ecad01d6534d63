#include "task/ui/placeholder_page.h"

#include <QVBoxLayout>

namespace qj::ui {

PlaceholderPage::PlaceholderPage(TfrmCreateTaskWin& wizard, int step)
    : TaskWizardPage(wizard, step) {
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
}

}  // namespace qj::ui
