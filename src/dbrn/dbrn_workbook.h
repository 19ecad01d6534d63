#pragma once
// The workbooks of a road-network database of level 1 or 2. The main workbook holds an info
// sheet with the database's identity and counts, the street types, the streets and the
// transit sections with their turns; the house workbook (level 2 only) holds the houses with
// their links. Long tables run over sheets of at most 65000 rows. The export writes both; the
// database import reads them back by the same positions, so the layout binds both sides.
//
// Every cell is text: stored texts as they stand, integers in decimal, flags "*" or empty.
// Some columns are blank when repeated: the cell is left empty when its value equals the
// same column's value in the row above on the same sheet (a reader takes the nearest filled
// cell above it).

#include <cstdint>

#include "office/workbook.h"
#include "records/dbrn_file.h"
#include "text/shell_texts.h"

namespace qj {

inline constexpr int kWorkbookSheetRows = 65000;  // data rows of a section or house sheet
inline constexpr int kMaxSectionSheets = 4;
inline constexpr int kMaxHouseSheets = 5;
inline constexpr int kInfoSheetRows = 11;
inline constexpr int kSectionSheetColumns = 35;  // A .. AI
inline constexpr int kHouseSheetColumns = 19;    // A .. S

// The number of sheets that hold `records` sections or houses: one, and one more for every
// 65000 beyond the first, up to the limit. Records beyond the last sheet are not written.
int sectionSheetCount(int64_t sections);
int houseSheetCount(int64_t houses);

// The main workbook of a database of level 1 or 2: sheet 1 the info sheet, 2 the street
// types, 3 the streets, 4 to 7 the transit sections. Laid out row by row into `out` (a file
// as it is written, or a workbook in memory).
void layDbrnWorkbook(const DbrnFile& db, const ShellTables& texts, office::WorkbookOutput& out);
office::Workbook dbrnWorkbook(const DbrnFile& db, const ShellTables& texts);

// The house workbook of a level-2 database: sheets 1 to 5 of the houses.
void layDbrnHouseWorkbook(const DbrnFile& db, const ShellTables& texts,
                          office::WorkbookOutput& out);
office::Workbook dbrnHouseWorkbook(const DbrnFile& db, const ShellTables& texts);

// The rows that each of the two workbooks holds (titles included), to tell how far an
// export has come.
int64_t dbrnWorkbookRows(const DbrnFile& db);
int64_t dbrnHouseWorkbookRows(const DbrnFile& db);

// Column letters of the section sheets, by level: the non-standard numbering column exists
// at level 1 only, and every later column moves one to the left at level 2.
int sectionColumnOffset(int level);  // 1 at level 1, 0 at level 2

}  // namespace qj
