#include "dbrn/dbrn_export.h"

#include <new>

#include "dbrn/dbrn_io.h"
#include "dbrn/dbrn_workbook.h"
#include "office/xlsx_writer.h"
#include "records/cp1251.h"

namespace qj {

Message clientAdditionExportMessage() {
  return warningMessage(shell(28) + ".");
}

Message mainWorkbookFailedMessage() {
  return errorMessage(shell(467) + ".");
}

Message houseWorkbookFailedMessage() {
  return errorMessage(shell(468) + ".");
}

WorkbookPairPaths workbookPairPaths(const fs::path& folder, const std::string& stem) {
  for (int n = 1;; ++n) {
    const std::string name = n == 1 ? stem : stem + " (" + std::to_string(n) + ")";
    WorkbookPairPaths paths{folder / (name + ".xlsx"), folder / (name + "#.xlsx")};
    std::error_code ec;
    if (!fs::exists(paths.main, ec) && !fs::exists(paths.houses, ec)) return paths;
  }
}

namespace {

// Writes one workbook as the layout gives its rows; false when anything failed on the way.
bool writeWorkbook(const office::WorkbookLayout& layout, const fs::path& path,
                   const WorkProgress& progress, int64_t rows) {
  try {
    office::writeXlsx(layout, path, progress, rows);
    return true;
  } catch (const office::OfficeError&) {
  } catch (const std::bad_alloc&) {
  }
  return false;
}

}  // namespace

DbrnExport exportDbrnWorkbooks(const AppState& state, const WorkProgress& progress) {
  DbrnExport out;
  const fs::path file(state.selectedPath + ".dat");
  const DbrnRead read = readDbrnFile(file);
  if (!read.db) {
    out.refused = true;
    out.messages.push_back(
        errorMessage(dbrnReadFailure(cp1251::fromUtf8(file.filename().string()), read.error)));
    return out;
  }
  const DbrnFile& db = *read.db;
  const int level = db.level();
  if (level != 1 && level != 2) {
    out.refused = true;
    out.messages.push_back(clientAdditionExportMessage());
    return out;
  }
  const WorkbookPairPaths paths = workbookPairPaths(state.dirs().exports(), file.stem().string());
  // The rows of both workbooks are counted as one run.
  const int64_t mainRows = dbrnWorkbookRows(db);
  const int64_t rows = mainRows + (level == 2 ? dbrnHouseWorkbookRows(db) : 0);
  const auto part = [&](int64_t before) -> WorkProgress {
    if (!progress) return {};
    return [&progress, before, rows](int64_t done, int64_t) { progress(before + done, rows); };
  };
  const ShellTables& texts = state.texts;
  if (!writeWorkbook([&](office::WorkbookOutput& o) { layDbrnWorkbook(db, texts, o); }, paths.main,
                     part(0), rows)) {
    out.messages.push_back(mainWorkbookFailedMessage());
    return out;
  }
  out.mainWorkbook = paths.main;
  if (level == 2) {
    if (writeWorkbook([&](office::WorkbookOutput& o) { layDbrnHouseWorkbook(db, texts, o); },
                      paths.houses, part(mainRows), rows))
      out.houseWorkbook = paths.houses;
    else
      out.messages.push_back(houseWorkbookFailedMessage());
  }
  return out;
}

}  // namespace qj
