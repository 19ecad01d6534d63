#pragma once
// The operation codes that a menu command stores in FormMode for the window it opens; each
// window reads the code of its own kind. The menu sets them all, so they live here once.

#include <cstdint>

namespace qj {

// No operation: FormMode before any command, and the code of a command that leaves FormMode
// as it is.
inline constexpr int32_t kNoFormMode = 0;

// The task wizard; the task chooser hands over kCorrectTask.
enum TaskWizardMode : int32_t { kNewTask = 1, kImportTask = 2, kCorrectTask = 3 };
// The task chooser: what the chosen task is opened for.
enum TaskChooserMode : int32_t {
  kChooserViewInput = 1,
  kChooserViewSolution = 2,
  kChooserCorrectTask = 3
};
// The database wizard; the database chooser hands over kCorrectDbrn and kViewDbrn.
enum DbrnWizardMode : int32_t { kCreateDbrn = 1, kImportDbrn = 2, kCorrectDbrn = 3, kViewDbrn = 4 };
// The database chooser: what the chosen database is for.
enum DbrnChooserMode : int32_t {
  kChooseToCorrect = 3,
  kChooseToView = 4,
  kChooseToExport = 5,
  kChooseToDelete = 6
};
// The client addition's chooser.
enum ClientAdditionMode : int32_t { kMakeClientAddition = 7 };
// The help window's three pages.
enum HelpMode : int32_t { kHelpAboutSystem = 1, kHelpAboutDeveloper = 2, kHelpNotation = 3 };

}  // namespace qj
