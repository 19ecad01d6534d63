#include "dbrn/ui/USelectDBRN.h"

#include "frame/catalogue.h"
#include "frame/ui/window_host.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectDBRN::TfrmSelectDBRN(WindowHost& host, DbrnExport exportToExcel)
    : ListChooser(host, "lbTask", QSize(460, 260), true),
      host_(host),
      exportToExcel_(std::move(exportToExcel)) {
  setObjectName(QStringLiteral("frmSelectDBRN"));
  FormCreate();
  finishLayout();
}

void TfrmSelectDBRN::FormCreate() {
  const AppState& state = host_.state();
  busyLabel()->setText(toQt((shell(120) + " ...").resolve(state.texts)));
  setLines(catalogueItems(state.dbrnCatalog));
}

void TfrmSelectDBRN::btnOKClick() {
  const ChooserChoice choice = chooseDbrn(host_.state(), list()->currentRow());
  if (choice.message) host_.showMessage(*choice.message, this);
  switch (choice.action) {
    case ChooserAction::Stay: return;
    case ChooserAction::OpenWizard: {
      // Opened before the chooser closes, so the main window stays disabled for it; a
      // database that cannot be read opens nothing and the chooser stays.
      const WindowFactory& windows = host_.windows();
      QWidget* wizard = windows.databaseWizard ? windows.databaseWizard(host_) : nullptr;
      if (!wizard) return;
      host_.openWindow(wizard);
      break;
    }
    case ChooserAction::Export:
      if (!exportToExcel_ || exportToExcel_(*this)) return;
      break;
    case ChooserAction::Delete: DeleteDBRN(choice.key); break;
    case ChooserAction::Close: break;
  }
  close();
}

void TfrmSelectDBRN::DeleteDBRN(const std::string& key) {
  if (!host_.showMessage(deleteDbrnQuestion(key), this)) return;
  if (const auto failure = deleteDbrnFile(host_.state())) host_.showMessage(*failure, this);
}

}  // namespace qj::ui
