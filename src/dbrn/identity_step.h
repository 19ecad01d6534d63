#pragma once
// Step 1 of the database wizard: the database's code, name and kind. Next writes the identity
// into the header, fixes the level and opens the street-types page.

#include <string>

#include "dbrn/wizard_state.h"
#include "frame/app_state.h"

namespace qj {

// The page-1 values that step 1 reads.
struct DbrnIdentityInput {
  std::string code;   // txtKod
  std::string name;   // txtName
  bool use1 = true;   // RBT1 checked
  bool use2 = false;  // RBT2 checked
};

// A database code becomes part of a file name: exactly three digits.
bool isValidDbCode(std::string_view code);

// The titles of the later pages that depend on the level: the house-number columns of the
// sections grid and the section columns of the turns and accessibility grids.
ControlUpdates levelTitleUpdates(int32_t level);

StepResult checkGeneralPage(DbrnWizardState& state, const AppState& app,
                            const DbrnIdentityInput& input);

}  // namespace qj
