#pragma once
// Step 8 of the database wizard, the summary: the counts it shows (also over the turns and
// accessibility grids), and its Next, which writes the database.

#include <optional>

#include "dbrn/wizard_state.h"
#include "frame/app_state.h"
#include "records/dbrn_file.h"
#include "text/message.h"
#include "wizard/step_result.h"

namespace qj {

// The counts of the turns, accessibility and summary pages.
ControlUpdates countUpdates(const DbrnWizardState& state);

// The database as Next on the summary writes it: the wizard's records, at level 1 without the
// street of sections without a street when no section belongs to it.
DbrnFile databaseToWrite(const DbrnWizardState& state);
// Next on the summary: outside view mode the database is written into the Dbrn folder. The
// message when it cannot be written (the wizard then stays open).
std::optional<Message> finishDbrn(DbrnWizardState& state, const AppState& app);

}  // namespace qj
