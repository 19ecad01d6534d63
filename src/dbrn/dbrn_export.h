#pragma once
// The database chooser's export (FormMode 5): the database of SelectedPath written as its
// main workbook and, at level 2, its house workbook into the program folder's Export/, under
// names that no earlier export holds. The house workbook is named as the import looks for it:
// the main workbook's name with "#" before the extension.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frame/app_state.h"
#include "platform/progress.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

struct DbrnExport {
  // The database was refused (a client addition, or a file that cannot be read): nothing was
  // written and the chooser stays open for another choice.
  bool refused = false;
  std::optional<fs::path> mainWorkbook, houseWorkbook;  // the workbooks written
  std::vector<Message> messages;                        // in order; at most one per workbook
};

// Reads SelectedPath + ".dat" and writes its workbooks, row by row as they are laid out.
// A failure of the main workbook ends the export with its message; a failure of the house
// workbook keeps the main workbook. `progress` hears the rows written of both workbooks.
DbrnExport exportDbrnWorkbooks(const AppState& state, const WorkProgress& progress = {});

// The n-th names of the two workbooks in `folder`: "<stem>.xlsx" and "<stem>#.xlsx", then
// with the stem "<stem> (2)", "<stem> (3)" .... The export takes the first pair at which no
// file holds either name, so that it never replaces a file and the pair keeps the names the
// import looks for.
struct WorkbookPairPaths {
  fs::path main, houses;
};
WorkbookPairPaths workbookPairPaths(const fs::path& folder, const std::string& stem, int n);

// "<28>.": a client addition is not exported. "<467>." and "<468>.": the main or the house
// workbook could not be written.
Message clientAdditionExportMessage();
Message mainWorkbookFailedMessage();
Message houseWorkbookFailedMessage();

}  // namespace qj
