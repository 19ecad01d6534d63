#include "dbrn/ui/USelectDBRN.h"

#include "frame/catalogue.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectDBRN::TfrmSelectDBRN(TfrmMainWin& main, DbrnExport exportToExcel)
    : ListChooser(main, "lbTask", QSize(460, 260), true), exportToExcel_(std::move(exportToExcel)) {
  setObjectName(QStringLiteral("frmSelectDBRN"));
  FormCreate();
  finishLayout();
}

void TfrmSelectDBRN::FormCreate() {
  const AppState& state = main_.state();
  busyLabel()->setText(toQt((shell(120) + " ...").resolve(state.texts)));
  setLines(catalogueItems(state.dbrnCatalog));
}

void TfrmSelectDBRN::btnOKClick() {
  const ChooserChoice choice = chooseDbrn(main_.state(), list()->currentRow());
  if (choice.message) main_.showMessage(*choice.message, this);
  switch (choice.action) {
    case ChooserAction::Stay: return;
    case ChooserAction::OpenWizard: {
      // Opened before the chooser closes, so the main window stays disabled for it; a
      // database that cannot be read opens nothing and the chooser stays.
      const WindowFactory& windows = main_.windows();
      QWidget* wizard = windows.databaseWizard ? windows.databaseWizard(main_) : nullptr;
      if (!wizard) return;
      main_.openWindow(wizard);
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
  if (!main_.showMessage(deleteDbrnQuestion(key), this)) return;
  if (const auto failure = deleteDbrnFile(main_.state())) main_.showMessage(*failure, this);
}

}  // namespace qj::ui
