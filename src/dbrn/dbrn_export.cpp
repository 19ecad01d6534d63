#include "dbrn/dbrn_export.h"

#include <memory>
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

WorkbookPairPaths workbookPairPaths(const fs::path& folder, const std::string& stem, int n) {
  const std::string name = n == 1 ? stem : stem + " (" + std::to_string(n) + ")";
  return {folder / (name + ".xlsx"), folder / (name + "#.xlsx")};
}

namespace {

// Writes one workbook into its file as the layout gives its rows; false when anything failed
// on the way.
bool writeWorkbook(const office::WorkbookLayout& layout, AtomicFile& file,
                   const WorkProgress& progress, int64_t rows) {
  try {
    office::writeXlsx(layout, file, progress, rows);
    return true;
  } catch (const office::OfficeError&) {
  } catch (const FileError&) {
  } catch (const std::bad_alloc&) {
  }
  return false;
}

// A file beside the first names of the pair, for a workbook; nothing when none can be made.
std::unique_ptr<AtomicFile> workbookFile(const fs::path& name) {
  try {
    return std::make_unique<AtomicFile>(name);
  } catch (const FileError&) {
    return nullptr;
  }
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
  const fs::path folder = state.dirs().exports();
  const std::string stem = file.stem().string();
  // The rows of both workbooks are counted as one run.
  const int64_t mainRows = dbrnWorkbookRows(db);
  const int64_t rows = mainRows + (level == 2 ? dbrnHouseWorkbookRows(db) : 0);
  const auto part = [&](int64_t before) -> WorkProgress {
    if (!progress) return {};
    return [&progress, before, rows](int64_t done, int64_t) { progress(before + done, rows); };
  };
  const ShellTables& texts = state.texts;
  // Both workbooks are written whole before either appears under a name.
  const WorkbookPairPaths first = workbookPairPaths(folder, stem, 1);
  std::unique_ptr<AtomicFile> main = workbookFile(first.main);
  if (!main || !writeWorkbook([&](office::WorkbookOutput& o) { layDbrnWorkbook(db, texts, o); },
                              *main, part(0), rows)) {
    out.messages.push_back(mainWorkbookFailedMessage());
    return out;
  }
  std::vector<AtomicFile*> files{main.get()};
  std::unique_ptr<AtomicFile> houses = level == 2 ? workbookFile(first.houses) : nullptr;
  if (level == 2) {
    if (houses &&
        writeWorkbook([&](office::WorkbookOutput& o) { layDbrnHouseWorkbook(db, texts, o); },
                      *houses, part(mainRows), rows))
      files.push_back(houses.get());
    else
      out.messages.push_back(houseWorkbookFailedMessage());
  }
  // Linked under names that no file holds at that moment: a file or a link put at a name
  // meanwhile is never replaced.
  try {
    constexpr int kMaxTries = 10000;
    const std::vector<fs::path> placed = AtomicFile::commitUnderFreeNames(
        files,
        [&](int n) {
          const WorkbookPairPaths p = workbookPairPaths(folder, stem, n);
          return std::vector{p.main, p.houses};
        },
        kMaxTries);
    out.mainWorkbook = placed[0];
    if (placed.size() > 1) out.houseWorkbook = placed[1];
  } catch (const FileError&) {
    out.messages.clear();
    out.messages.push_back(mainWorkbookFailedMessage());
  }
  return out;
}

}  // namespace qj
