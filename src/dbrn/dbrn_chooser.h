#pragma once
// The database chooser: the databases of the catalogue, and what OK does with the chosen one
// for the operation in FormMode (correct or view it in the wizard, export it, delete it).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app_state.h"
#include "text/message.h"

namespace qj {

enum class ChooserAction {
  Stay,        // the choice was refused (its message); another can be made
  OpenWizard,  // the database wizard for SelectedPath, then the chooser closes
  Export,      // the export of SelectedPath
  Delete,      // ask, then delete SelectedPath + ".dat"
  Close,
};

struct ChooserChoice {
  ChooserAction action = ChooserAction::Close;
  std::optional<Message> message;
  std::string key;  // the chosen database's catalogue key
};

// OK on list row `row`: SelectedPath becomes the chosen database's path (without ".dat").
ChooserChoice chooseDbrn(AppState& app, int row);

// The question before a database is deleted: <89> "key"?
Message deleteDbrnQuestion(std::string_view key);
// Deletes SelectedPath + ".dat"; the message when no file was deleted (it could not be
// removed, or it was not there).
std::optional<Message> deleteDbrnFile(const AppState& app);

}  // namespace qj
