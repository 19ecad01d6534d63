#pragma once
// Step 3 of the task wizard: the target points' addresses, service times, waiting penalties
// and order values in Table1, the keys that enter the addresses from the pickers, and the check
// that turns the rows into point records, builds the candidate sections of step 5 and fills the
// grid of step 4.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "task/point_options_step.h"
#include "task/step_outcome.h"
#include "task/wizard_state.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// Table1 columns.
namespace t1 {
inline constexpr int kPoint = 0, kType = 1, kStreet = 2, kHouse = 3, kService = 4, kUnload = 5,
                     kPenalty = 6, kOrder = 7, kHouseIndex = 8;
}

// Table12 columns (the candidate sections of points that the house number cannot place).
namespace t12 {
inline constexpr int kPoint = 0, kAddress = 1, kSection = 2, kType = 3, kName = 4, kFrom = 5,
                     kTo = 6, kNonStd = 7, kMark = 8, kPointOfRow = 9;
}

// ---- Shared by the point grids ------------------------------------------------------------

// Column 0 of the point grids: the 1-based number, marked for the start and the end point.
std::string pointLabel(const TaskHeader& header, const ShellTables& shell, int point);
// The address of a point as the grids show it: type, street and house.
std::string addressText(const TaskPointRec& p);
// A row whose column-0 text contains short text 12 (the start point's mark) carries no cargo
// of its own: its cargo cells read "-" and are neither typed nor checked.
bool isExemptRow(const GridTable& table, int row, const ShellTables& shell);
// The cell texts "-" (does not apply) and the start/end marks "(" of column 0.
bool isDash(std::string_view cell);
bool hasPointMark(const GridTable& table, int row);
// A number cell as a step stores it once its check has passed (0 when it holds no number).
double cellReal(const GridTable& table, int row, int col, char sep);

// A house number typed for a level-1 point: digits, optionally followed by one lower-case
// Cyrillic letter. Only the exact text "-" stands for "no number".
bool isValidHouseNumber(std::string_view text);

// ---- Filling the grid (done when step 2 passes) -------------------------------------------

// Table1 gets one row per point, from the point records held (imported, loaded or entered
// before) or with defaults.
void fillTable1(TaskWizardState& state, const ShellTables& shell);

// ---- Keys ----------------------------------------------------------------------------------

// What may be typed into Table1: the house number (level 1), times and penalty, the order
// value; every text is judged whole, as typed or pasted.
class Table1Rules : public GridRules {
 public:
  Table1Rules(const TaskWizardState& state, const ShellTables& shell)
      : state_(state), shell_(shell) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const TaskWizardState& state_;
  const ShellTables& shell_;
};

// The wizard's keys in Table1: Ctrl+A/S and Ctrl+Q/W step the pickers, the SpaceBar enters
// the picked address into the row, Delete is ignored on cells that are not typed, rows are
// never inserted or deleted.
GridKeyResult table1Key(TaskWizardState& state, GridKey key, int row, int col);
// Call when the user changed a cell of Table1 by typing or pasting. On a level-1 task the
// point counts as changed (its transitions get their defaults again); changing the address of
// a point that has a record warns once for the row.
std::optional<Message> table1Typed(TaskWizardState& state, int row, int col);

// ---- Next ----------------------------------------------------------------------------------

struct Step3Outcome : StepOutcome {
  // Set when page 3a is first shown on a task with refusals (or first after an import): the
  // threshold controls' state.
  std::optional<ThresholdControls> threshold;
};

// Checks every row, then the rows together; on success writes the point records, builds the
// candidate rows of Table12 (level 1), fills Table1a and says which page comes next.
Step3Outcome checkStep3(TaskWizardState& state, const ShellTables& shell);

}  // namespace qj
