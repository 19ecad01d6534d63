#pragma once
// The working state of the database wizard: the database being created, corrected or viewed,
// the grids of its pages (hidden record columns included) and the pickers beside them. The
// window moves data between its widgets and this state; every step's check, fill and key
// command works on it in the core.
//
// Grids hold what the user typed until a step stores it, and the records hold what the steps
// stored. Moving Back and Next never throws typed rows away: a grid is filled from the
// records only when the records came from a file (a load or an import) after the grid was
// last filled; otherwise it keeps its rows and only follows the renumbering of the records.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbrn/dbrn_io.h"
#include "records/dbrn_file.h"
#include "text/message.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"
#include "wizard/step_result.h"

namespace qj {

// The wizard's steps, held in WizardStep; the page of each step is gbWindow_<suffix>.
inline constexpr int kDbrnSteps = 8;
std::string_view dbrnPageSuffix(int step);  // "0", "1", "12", "2", "3", "4", "4a", "5"
// The suffix of the identity strip and the counts on the page of a step (2 to 8):
// "0", "12", "2", "3", "4", "4a", "5".
std::string_view dbrnStripSuffix(int step);

// Table0: the street types of step 2.
namespace typeCol {
inline constexpr int kRow = 0, kFullName = 1, kShortName = 2, kStreets = 3, kCount = 4;
}
// Table_0: the streets of step 3.
namespace streetCol {
inline constexpr int kRow = 0, kType = 1, kName = 2, kHouses = 3, kState = 4, kIndex = 5,
                     kCount = 6;
}
// Table1: the transit sections of step 4.
namespace sectionCol {
inline constexpr int kRow = 0, kType = 1, kName = 2, kFrom = 3, kTo = 4, kNonStd = 5, kStart = 6,
                     kEnd = 7, kLength = 8, kSpeed = 9, kClosed = 10, kStreet = 11, kCount = 12;
}
// Table2: the turns of step 5; pair k (0..9) has its node in column 4 + 2k and its direction
// in 5 + 2k.
namespace turnCol {
inline constexpr int kRow = 0, kName = 1, kStart = 2, kEnd = 3, kCount = 24;
inline constexpr int node(int k) {
  return 4 + 2 * k;
}
inline constexpr int direction(int k) {
  return 5 + 2 * k;
}
}  // namespace turnCol
// Table3: the accessibility of step 6.
namespace accessCol {
inline constexpr int kRow = 0, kName = 1, kStart = 2, kEnd = 3, kReverse = 4, kPrevClosed = 5,
                     kReverseClosed = 6, kCount = 7;
}
// Table4: the houses of step 7; link k (0..3) has its section in column 5 + 3k and its two
// distances in 6 + 3k and 7 + 3k. The last column (not shown) holds the house's street index.
namespace houseCol {
inline constexpr int kRow = 0, kType = 1, kName = 2, kHouseNo = 3, kYard = 4, kStreet = 17,
                     kCount = 18;
inline constexpr int section(int k) {
  return 5 + 3 * k;
}
inline constexpr int toExit(int k) {
  return 6 + 3 * k;
}
inline constexpr int exitToEnd(int k) {
  return 7 + 3 * k;
}
}  // namespace houseCol

// The street state "deleted": a street removed on the streets page, dropped at the next Next.
inline constexpr std::string_view kStreetDeleted = "2";

// A drop-down list beside a grid: its items and what each stands for (a street-type index, a
// street index or a section number), with the chosen row.
struct Picker {
  std::vector<std::string> items;
  std::vector<int32_t> values;
  int row = -1;

  std::optional<int32_t> chosen() const;
  void clear() { *this = Picker(); }
  void add(std::string item, int32_t value);
  // Moves the choice by `delta`, not beyond the first or the last item; true when it moved.
  bool step(int delta);
  bool choose(int r);
};

struct DbrnWizardState {
  // Copies of the shared state taken when the wizard opens.
  int32_t mode = kCreateDbrn;
  char decSep = ',';
  std::string langCode;
  std::string noStreetType;     // Trim(ShortTexts[2]): the type of sections without a street
  std::string defaultTypeName;  // ShellTexts[697]: the street type chosen first in the lists

  int32_t wizardStep = 1;

  // Header and records. Streets carry the state "2" (deleted) until the next re-sort.
  DbrnFile db;
  std::string curKind;     // the kind the database is edited under
  int32_t level = 0;       // 0 until step 1 passed on a new database, then 1, 2 or 3
  Text kindCaption;        // DBRN1_0
  bool kindFinal = false;  // the kind radio buttons are gone for good
  // The workbook the database was imported from (code page 1251); empty when it came from
  // elsewhere or from nowhere.
  std::string importedWorkbook;
  int32_t nodeCount = 0;
  int32_t typeCount = 1;     // rows of Table0
  int32_t houseTotal = 0;    // houses of the streets kept at step 3
  int32_t sectionTotal = 0;  // sections counted at step 4
  int32_t sectionRowCount = 0;
  double avgSpeed = 0;
  std::string avgSpeedText;  // the default speed of a new section
  std::string keyPhraseType, keyPhraseName;

  GridTable table0{typeCol::kCount};
  GridTable table_0{streetCol::kCount};
  GridTable table1{sectionCol::kCount};
  GridTable table2{turnCol::kCount};
  GridTable table3{accessCol::kCount};
  GridTable table4{houseCol::kCount};

  Picker list0;            // step 3: every street type
  bool listByType = true;  // RB_yes: the streets grid shows the streets of the List_0 type
  std::string shownType;   // the type whose streets the streets grid was filled with
  Picker list1, list2;     // step 4: types that have streets, streets of the chosen type
  int sectionInfoRow = 0;  // step 4: the row of Table1 that Label_02 describes
  Picker list41, list42;   // step 7: types with referenced streets, their streets
  Picker list43;           // step 7: house ranges of the chosen street's sections

  // Which load of the records each grid was last filled from (-1: never filled).
  int32_t recordsLoad = 0;
  int32_t table0Load = -1, table_0Load = -1, table1Load = -1, table4Load = -1;

  bool viewing() const { return mode == kViewDbrn; }
  bool creating() const { return mode == kCreateDbrn || mode == kImportDbrn; }
  int32_t streetTotal() const { return static_cast<int32_t>(db.streets.size()); }
};

// The wizard for an operation, its database empty.
DbrnWizardState newDbrnWizard(int32_t mode, char decSep, std::string langCode,
                              const ShellTables& shell);
// Puts a database read from a file (a load or an import) into the wizard: its records, its
// kind and level; every grid is filled from it again when its step comes.
void installDbrn(DbrnWizardState& state, WizardDbrn loaded);
// Empties the database (an import of "none"): header, records and grids.
void clearDbrn(DbrnWizardState& state);

// ---- Shared by the steps ------------------------------------------------------------------

// A node number as a step leaves it: the trimmed text, padded with zeros to five characters
// when it has one to four.
std::string paddedNode(std::string_view cell);
// The integer of a cell, trimmed; nullopt when it holds none.
std::optional<int32_t> cellInt(const GridTable& table, int row, int col);
// Column 0 of rows from..end: the row numbers 1, 2, ...
void renumberRows(GridTable& table, int from = 0);
// FullName + " (" + ShortName + ")": how the pickers name a street type.
std::string typeItem(const StreetTypeRec& type);
// The index of the street type with this ShortName among the stored types, or -1.
int32_t typeIndexOf(const DbrnWizardState& state, std::string_view shortName);
// The street that sections without a street belong to: the first street of the no-street
// type with an empty name; -1 when there is none.
int32_t noStreetStreet(const DbrnWizardState& state);
// Whether the street of a stored index is the program's street of sections without a street.
bool isNoStreetStreet(const DbrnWizardState& state, int32_t street);
// Column 2 of a grid row that names a street: the name, with two blanks in front when the
// previous row named the same street (same type and name).
std::string streetNameCell(const StreetRec& street, const StreetRec* previous);
// Whether `phrase` is empty or occurs in `text` (case-sensitive), the view-mode filter.
bool matchesPhrase(std::string_view text, std::string_view phrase);
// The view-mode filter line: "<219> - "type" + "name".   <725> - n." or, without a phrase,
// `everything` (all sections shown, unless the page lists something else) + ".   <725> - n.".
Text filterLine(const DbrnWizardState& state, int32_t rowsShown, Text everything = shell(220));

}  // namespace qj
