#include "dbrn/dbrn_chooser.h"

#include <filesystem>
#include <system_error>

#include "frame/task_handover.h"
#include "records/cp1251.h"

namespace qj {

ChooserChoice chooseDbrn(AppState& app, int row) {
  ChooserChoice choice;
  if (row < 0 || row >= static_cast<int>(app.dbrnCatalog.size())) {
    choice.action = ChooserAction::Stay;
    return choice;
  }
  choice.key = app.dbrnCatalog[static_cast<size_t>(row)].key;
  app.selectedPath =
      (app.dirs().dbrn() / cp1251::toUtf8(choice.key + "_dbrn_" + app.langCode)).string();
  switch (app.formMode) {
    case kChooseToCorrect:
      if (choice.key.find("use") == std::string::npos) {
        choice.action = ChooserAction::Stay;
        choice.message = warningMessage(shell(105) + ".");
      } else {
        choice.action = ChooserAction::OpenWizard;
      }
      break;
    case kChooseToView: choice.action = ChooserAction::OpenWizard; break;
    case kChooseToExport: choice.action = ChooserAction::Export; break;
    case kChooseToDelete: choice.action = ChooserAction::Delete; break;
    default: choice.action = ChooserAction::Close; break;
  }
  return choice;
}

Message deleteDbrnQuestion(std::string_view key) {
  return confirmMessage(shell(89) + " \"" + val(key) + "\"?");
}

std::optional<Message> deleteDbrnFile(const AppState& app) {
  const std::filesystem::path file(app.selectedPath + ".dat");
  std::error_code ec;
  // Only a file that was there and is gone now counts as deleted: a deletion that removed
  // nothing has deleted nothing the user chose.
  if (std::filesystem::remove(file, ec)) return std::nullopt;
  return fileNotDeletedMessage(cp1251::fromUtf8(file.filename().string()));
}

}  // namespace qj
