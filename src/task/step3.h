#pragma once
// Step 3 of the task wizard: the target points' addresses, service times, waiting penalties
// and order values in Table1, the street-type, street and house pickers that enter the
// addresses, and the check that turns the rows into point records, builds the candidate
// sections of step 5 and fills the grid of step 4.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/shell_texts.h"
#include "platform/grid.h"
#include "task/step4.h"
#include "task/step_flow.h"
#include "task/wizard_state.h"

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

// A house text split as the placement reads it: a last character that is not a digit is the
// letter, the rest the number. No number when the rest is not a decimal integer.
struct HouseText {
  std::optional<int32_t> number;
  char letter = ' ';
};
HouseText splitHouse(std::string_view text);
// A house number typed for a level-1 point: digits, optionally followed by one lower-case
// Cyrillic letter. Only the exact text "-" stands for "no number".
bool isValidHouseNumber(std::string_view text);

// ---- Filling the grid (done when step 2 passes) -------------------------------------------

// Table1 gets one row per point, from the point records held (imported, loaded or entered
// before) or with defaults.
void fillTable1(TaskWizardState& state, const ShellTables& shell);

// ---- Pickers --------------------------------------------------------------------------------

struct HousePick {
  int32_t houseIndex = 0;  // into the database's houses
  std::string houseNo;
};

// The houses of one street in the house picker's order: by the first 9 characters of the
// house number as unsigned code-page-1251 codes (so "10" comes before "9" and digits before
// letters), equal numbers in record order.
std::vector<HousePick> sortedHouses(const DbrnFile& db, int32_t streetIndex);

// The three pickers of page 3: street types (rows map to types through state.typeListMap),
// the referenced streets of the chosen type, and (levels 2 and 3) the houses of the chosen
// street. The window shows the items and selections and reports the user's choices.
class AddressPickers {
 public:
  // Builds the street-type list when step 2 passes: every type other than the no-street type
  // that has streets, one of them referenced; the row of the type named by shell text 697 is
  // chosen, else row 0. Also fills the streets and houses of that type.
  void fill(TaskWizardState& state, const ShellTables& shell);

  const std::vector<std::string>& typeItems() const { return typeItems_; }
  const std::vector<std::string>& streetItems() const { return streetItems_; }
  const std::vector<HousePick>& houseItems() const { return houses_; }
  int typeRow() const { return typeRow_; }  // -1: nothing chosen
  int streetRow() const { return streetRow_; }
  int houseRow() const { return houseRow_; }

  // The user chose a row of a picker (-1 clears the choice).
  void chooseType(const TaskWizardState& state, int row);
  void chooseStreet(const TaskWizardState& state, int row);
  void chooseHouse(int row);
  // Ctrl+A / Ctrl+S and Ctrl+Q / Ctrl+W: the previous or next type or street, not past the
  // ends of the list; a new type lists its streets from the first.
  void stepType(const TaskWizardState& state, int delta);
  void stepStreet(const TaskWizardState& state, int delta);
  // A click on the address cells of a row shows that row's address in the pickers.
  void followCell(const TaskWizardState& state, int row, int col);

  // The choice as entered by the SpaceBar: street-type index, street name and house pick.
  std::optional<int32_t> chosenType(const TaskWizardState& state) const;
  const HousePick* chosenHouse() const;

 private:
  void listStreets(const TaskWizardState& state);
  void listHouses(const TaskWizardState& state);

  std::vector<std::string> typeItems_, streetItems_;
  std::vector<HousePick> houses_;
  int typeRow_ = -1, streetRow_ = -1, houseRow_ = -1;
};

// ---- Keys ----------------------------------------------------------------------------------

// What may be typed into Table1: the house number (level 1), times and penalty, the order
// value; every text is judged whole, as typed or pasted.
class Table1Rules : public GridRules {
 public:
  Table1Rules(const TaskWizardState& state, const ShellTables& shell)
      : state_(state), shell_(shell) {}
  bool typable(const GridTable& table, int row, int col) const override;
  bool accepts(const GridTable& table, int row, int col, std::string_view text) const override;

 private:
  const TaskWizardState& state_;
  const ShellTables& shell_;
};

// The wizard's keys in Table1: Ctrl+A/S and Ctrl+Q/W step the pickers, the SpaceBar enters
// the picked address into the row, Delete is ignored on cells that are not typed, rows are
// never inserted or deleted.
GridKeyResult table1Key(TaskWizardState& state, AddressPickers& pickers, GridKey key, int row,
                        int col);
// Call when the user changed a cell of Table1 by typing or pasting. On a level-1 task the
// point counts as changed (its transitions get their defaults again); changing the address of
// a point that has a record warns once for the row.
std::optional<Message> table1Typed(TaskWizardState& state, int row, int col);

// ---- Next ----------------------------------------------------------------------------------

struct Step3Outcome : StepOutcome {
  // Set when page 3a is shown on a task with refusals: the threshold controls' state.
  std::optional<ThresholdControls> threshold;
};

// Checks every row, then the rows together; on success writes the point records, builds the
// candidate rows of Table12 (level 1), fills Table1a and says which page comes next.
Step3Outcome checkStep3(TaskWizardState& state, const ShellTables& shell);

}  // namespace qj
