// Times the database workbooks at the largest size the import takes: a level-2 database of
// 200000 transit sections (the large test city's network repeated) and 300000 houses, laid
// out, written into Export/ as its two workbooks and read back by the import.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "dbrn/dbrn_export.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/dbrn_workbook_import.h"
#include "democity/demo_city.h"
#include "platform/files.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The large city's sections repeated up to 200000, its houses up to 300000.
qj::DbrnFile largestDatabase() {
  qj::DbrnFile db = qj::largeCity(2, "eng");
  const std::vector<qj::TransitSectionRec> sections = db.sections;
  while (db.sections.size() < 200000)
    db.sections.push_back(sections[db.sections.size() % sections.size()]);
  // Every house repeated in place, so that the houses stay grouped street by street.
  const std::vector<qj::HouseRec> houses = db.houses;
  db.houses.clear();
  std::fill(db.streetHouseCounts.begin(), db.streetHouseCounts.end(), 0);
  for (const qj::HouseRec& h : houses)
    for (int copy = 0; copy < 15 && db.houses.size() < 300000; ++copy) {
      db.houses.push_back(h);
      ++db.streetHouseCounts[static_cast<size_t>(h.streetIndex)];
    }
  db.syncHeaderCounts();
  return db;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "qj-bench-dbrn-workbooks";
  fs::remove_all(root);
  qj::AppState state;
  state.folder = std::make_unique<qj::ProgramFolder>(root);
  state.langCode = "eng";
  state.texts.shellTexts.resize(1200, "Title");
  state.texts.shortTexts.resize(63, "T");

  const qj::DbrnFile db = largestDatabase();
  const fs::path saved = qj::saveDbrn(state.dirs().dbrn(), "eng", db.header.dbKind, db);
  state.selectedPath = fs::path(saved).replace_extension().string();

  auto start = std::chrono::steady_clock::now();
  const qj::DbrnExport exported = qj::exportDbrnWorkbooks(state);
  const double exportSeconds = seconds(start);
  if (!exported.mainWorkbook || !exported.houseWorkbook) {
    std::fprintf(stderr, "the export failed\n");
    return 1;
  }
  start = std::chrono::steady_clock::now();
  const qj::ImportedDbrnWorkbook imported = qj::importDbrnWorkbook(*exported.mainWorkbook, "eng");
  const double importSeconds = seconds(start);
  if (!imported.loaded || !imported.messages.empty()) {
    std::fprintf(stderr, "the import failed\n");
    return 1;
  }
  std::printf("%zu sections, %zu houses: export %.2f s (%ju + %ju bytes), import %.2f s\n",
              db.sections.size(), db.houses.size(), exportSeconds,
              static_cast<uintmax_t>(fs::file_size(*exported.mainWorkbook)),
              static_cast<uintmax_t>(fs::file_size(*exported.houseWorkbook)), importSeconds);
  fs::remove_all(root);
  return 0;
}
