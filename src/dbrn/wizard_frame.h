#pragma once
// The database wizard's frame in the core: opening it for an operation, its titles and
// captions, where Back leads, the edits' rules, the import from a database file and the
// identity strip of the later pages. The summary and saving at the end are summary_step.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbrn/wizard_state.h"
#include "frame/app_state.h"
#include "text/message.h"
#include "wizard/step_result.h"

namespace qj {

// The wizard for the operation in FormMode: empty in modes 1 and 2; in modes 3 and 4 with the
// database of SelectedPath, or nothing and the message when that file cannot be read.
struct DbrnWizardOpen {
  std::optional<DbrnWizardState> state;
  std::optional<Message> message;
};
DbrnWizardOpen openDbrnWizard(const AppState& app);

// The title of the operation, and the window caption at a step: the title followed by
// " (<step> n <of> 6)", n being 1 to 6 or 6a; the summary shows the title alone.
Text dbrnBaseTitle(int32_t mode);
Text dbrnStepCaption(const DbrnWizardState& state, int step);

// The heading of a page (steps 2 to 8); in view mode pages 2 to 7 name what they show.
Text dbrnPageHeading(int32_t mode, int step);
// The captions of page 1 that depend on the operation: the code, the kind and the name label.
ControlUpdates identityPageCaptions(const DbrnWizardState& state);
// Whether the kind of a new database can still be chosen (RBT1, RBT2): not once step 2 has
// passed or a database has been imported.
bool kindChoiceShown(const DbrnWizardState& state);

// What an edit of the wizard accepts; nullopt for other names.
std::optional<FieldRule> dbrnEditRule(std::string_view componentName);

// Where Back leads from the current step. Entering the street-types page again brings the
// locks of its types up to date.
struct DbrnBackMove {
  int toStep = 1;
  std::string focus;             // the control that gets the focus
  bool scrollToCurrent = false;  // a grid: its current row at the top
};
DbrnBackMove dbrnBack(DbrnWizardState& state);

// The import of step 1 from a database of the catalogue (item 0 is "none", which empties the
// database). The code and name typed on page 1 stay as they are.
struct DbrnImport {
  std::optional<Message> message;  // the file could not be read; nothing changed
  Text source;                     // staticBase: "[key] name", or <275>.
};
DbrnImport importDbrnFile(DbrnWizardState& state, const AppState& app, int item);

// A database read from a workbook by the Excel import of step 1: the database (nothing when
// the workbook was refused before anything was read), the boxes to show in order, and the
// workbook's file name.
struct DbrnWorkbookImport {
  std::optional<WizardDbrn> loaded;
  std::vector<Message> messages;
  std::string workbookName;  // code page 1251
};
// Puts what the import read into the wizard (the kind is then final); the captions of page 1.
ControlUpdates installWorkbook(DbrnWizardState& state, DbrnWorkbookImport imported);

// The red label that the steps' checks show while they work. Its text is the same in every
// language.
BusyLabel dbrnBusyLabel();

// The captions that name the database on the later pages: code, name, kind and date on the
// identity strips (a new database has no date until step 6 passes).
ControlUpdates identityStripUpdates(const DbrnWizardState& state);
}  // namespace qj
