#include "dbrn/ui/UCreateCliDB.h"

#include "dbrn/client_addition.h"
#include "frame/catalogue.h"
#include "frame/ui/window_host.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmCreateCliDB::TfrmCreateCliDB(AppContext& app)
    : ListChooser(app, "List", QSize(420, 200), false, QStringLiteral("ОК")) {
  FormCreate();
  finishLayout();
}

void TfrmCreateCliDB::FormCreate() {
  const std::vector<std::string> lines = catalogueItems(app_.state().dbrnCatalog);
  ListMap.resize(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) ListMap[i] = static_cast<int>(i);
  setLines(lines);
}

void TfrmCreateCliDB::btnOKClick() {
  const int row = list()->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= ListMap.size()) return;
  AppState& state = app_.state();
  const ClientAdditionResult result =
      createClientAddition(state, state.dbrnCatalog.at(ListMap[row]));
  if (result.message) app_.showMessage(*result.message, this);
  if (!result.stayOpen) close();
}

}  // namespace qj::ui
