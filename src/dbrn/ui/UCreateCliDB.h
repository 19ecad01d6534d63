#pragma once

#include <vector>

#include "frame/ui/list_chooser.h"

namespace qj::ui {

class AppContext;

// The client addition: lists the level-2 system databases of the catalogue (the menu's scan
// found them) and OK writes the client addition of the chosen one. The dialog stays open
// when the database was refused or its client addition exists already, so the user can
// choose another or cancel. The command sets its caption.
class TfrmCreateCliDB : public ListChooser {
  Q_OBJECT

 public:
  explicit TfrmCreateCliDB(AppContext& app);

  void btnOKClick() override;

 private:
  void FormCreate();

  std::vector<int> ListMap;  // list row to catalogue index
};

}  // namespace qj::ui
