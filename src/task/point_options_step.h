#pragma once
// Step 4 of the task wizard: which points may be refused, the cargo and income of every
// point and its time window (Table1a), and the tact. The page is shown only for tasks with
// the time factor, refusals or cargo.

#include <string>
#include <string_view>

#include "task/step_outcome.h"
#include "task/wizard_state.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// Table1a columns.
namespace t1a {
inline constexpr int kPoint = 0, kAddress = 1, kRefusal = 2, kCargo = 3, kIncome = 4, kLow = 5,
                     kHigh = 6;
}

// The largest time-window bound accepted, in minutes (what four digits can hold).
inline constexpr int32_t kMaxWindowMinutes = 9999;
// Cargo and capacity compare with this tolerance.
inline constexpr double kCargoTolerance = 0.00001;

// The served-points threshold controls of page 3a: which of por0, por1, por2 is checked and
// the texts of porog1 and porog2 (the one not in use is empty and disabled).
struct ThresholdControls {
  int choice = 0;  // 0 no threshold, 1 at most (porog1), 2 exactly (porog2)
  std::string porog1, porog2;
  bool operator==(const ThresholdControls&) const = default;
};
ThresholdControls thresholdControls(int32_t servedThreshold);

// Fills Table1a from the point records (at the end of step 3).
void fillTable1a(TaskWizardState& state, const ShellTables& shell);

class Table1aRules : public GridRules {
 public:
  explicit Table1aRules(const TaskWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const TaskWizardState& state_;
};

// The SpaceBar toggles the refusal mark of a point that may be refused; Delete does nothing
// on a "-" cell; rows are never inserted or deleted.
GridKeyResult table1aKey(TaskWizardState& state, GridKey key, int row, int col);

// Next on page 3a with the text of the tact edit txtDT. Goes on to the section choice page or
// straight into step 5.
StepOutcome checkStep4(TaskWizardState& state, const ShellTables& shell, std::string_view tactText);

}  // namespace qj
