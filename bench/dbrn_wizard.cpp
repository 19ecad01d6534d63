// Times the database wizard's steps on large databases, as a correction runs them: every
// step's check and fill, the building of the records, a second pass through the steps (Back
// to the street types and Next again, the grids kept) and a row inserted and deleted in the
// sections grid with the house links following.
//
// Cities: the large test city at both levels (10000 sections; level 2 with about 19000
// houses), the level-2 city with ten times its houses (about 190000), and a grid of about
// 200000 sections, the most a database may have.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "dbrn/access_step.h"
#include "dbrn/houses_step.h"
#include "dbrn/identity_step.h"
#include "dbrn/sections_step.h"
#include "dbrn/street_types_step.h"
#include "dbrn/streets_step.h"
#include "dbrn/summary_step.h"
#include "dbrn/turns_step.h"
#include "dbrn/wizard_frame.h"
#include "democity/demo_city.h"
#include "platform/files.h"
#include "records/datetime.h"
#include "records/text.h"

namespace {

namespace fs = std::filesystem;
using qj::DbrnFile;
using qj::DbrnWizardState;
using qj::StepResult;

double timed(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

bool failed = false;

// Runs a step and prints its time; a refusal is a failure of the benchmark.
void step(const char* name, const std::function<StepResult()>& run) {
  StepResult r;
  const double ms = timed([&] { r = run(); });
  std::printf("  %-34s %9.1f ms\n", name, ms);
  if (!r.passed()) {
    std::fprintf(stderr, "  refused: %s\n",
                 r.check.message ? "with a message" : r.check.focus.c_str());
    failed = true;
  }
}

// The level-2 large city with `factor` times the houses of every street.
DbrnFile moreHouses(DbrnFile db, int factor) {
  std::vector<qj::HouseRec> houses;
  houses.reserve(db.houses.size() * static_cast<size_t>(factor));
  size_t first = 0;
  for (size_t s = 0; s < db.streets.size(); ++s) {
    const int32_t count = db.streetHouseCounts[s];
    for (int copy = 0; copy < factor; ++copy)
      for (int32_t i = 0; i < count; ++i) {
        qj::HouseRec h = db.houses[first + static_cast<size_t>(i)];
        if (copy > 0) h.houseNo = qj::cut(h.houseNo + "/" + std::to_string(copy), 9);
        houses.push_back(std::move(h));
      }
    first += static_cast<size_t>(count);
    db.streetHouseCounts[s] = count * factor;
  }
  db.houses = std::move(houses);
  db.syncHeaderCounts();
  return db;
}

// A grid of two-way streets, rows and columns, every section going straight on at its end.
DbrnFile sectionGrid(int rows, int cols) {
  DbrnFile db;
  db.header.language = "eng";
  db.header.dbCode = "998";
  db.header.dbName = "Section grid";
  db.header.dbKind = "use1";
  db.streetTypes = {{"street", "st.", 0}};
  const auto node = [cols](int r, int c) {
    return qj::padLeft(std::to_string(r * cols + c + 1), 5, '0');
  };
  const auto add = [&db](int32_t street, const std::string& a, const std::string& b, int number) {
    qj::TransitSectionRec s;
    s.streetIndex = street;
    s.houseFrom = std::to_string(number);
    s.houseTo = std::to_string(number + 2);
    s.startNode = a;
    s.endNode = b;
    s.length = "100";
    s.speed = "40";
    db.sections.push_back(std::move(s));
  };
  for (int line = 0; line < rows + cols; ++line) {
    const auto street = static_cast<int32_t>(db.streets.size());
    db.streets.push_back(
        {"st.", (line < rows ? "Row " : "Column ") + std::to_string(line), "3", street});
    const bool row = line < rows;
    const int length = row ? cols : rows;
    for (int k = 0; k + 1 < length; ++k) {
      const std::string a = row ? node(line, k) : node(k, line - rows);
      const std::string b = row ? node(line, k + 1) : node(k + 1, line - rows);
      add(street, a, b, 4 * k + 1);
      add(street, b, a, 4 * k + 2);
    }
  }
  // Straight on where the street goes on.
  for (size_t i = 0; i + 2 < db.sections.size(); ++i)
    if (db.sections[i].streetIndex == db.sections[i + 2].streetIndex)
      db.sections[i].turns.push_back({db.sections[i + 2].endNode, "^"});
  db.streetTypes[0].streetCount = static_cast<int32_t>(db.streets.size());
  db.syncHeaderCounts();
  db.header.nodeCount = rows * cols;
  return db;
}

void run(const char* title, DbrnFile city, const fs::path& folder) {
  city.header.dbKind = city.level() == 1 ? "use1" : "use2";
  const std::string base = city.header.dbCode + city.header.dbKind + "_dbrn_eng";
  qj::writeFileAtomic(folder / "Dbrn" / (base + ".dat"), qj::writeDbrn(city));
  std::printf("%s: %d sections, %d nodes, %d streets, %d houses\n", title, city.header.sectionCount,
              city.header.nodeCount, city.header.streetCount, city.header.houseCount);

  qj::AppState app;
  app.folder = std::make_unique<qj::ProgramFolder>(folder);
  app.langCode = "eng";
  app.texts.shortTexts = {"", "", "none"};
  app.formMode = qj::kCorrectDbrn;
  app.selectedPath = (folder / "Dbrn" / base).string();
  DbrnWizardState s;
  const double load = timed([&] { s = std::move(*qj::openDbrnWizard(app).state); });
  std::printf("  %-34s %9.1f ms\n", "load", load);
  const int level = s.level;
  const auto throughTheSteps = [&](const char* pass) {
    std::printf(" %s\n", pass);
    step("1 identity, street-type grid", [&] {
      return qj::checkGeneralPage(s, app, {city.header.dbCode, city.header.dbName, true, false});
    });
    step("2 street types, streets grid", [&] { return qj::checkStreetTypesPage(s, "35,0"); });
    step("3 streets: re-sort, sections grids", [&] { return qj::checkStreetsPage(s, {}); });
    step("4 sections: rows, pairs, ranges, nodes", [&] { return qj::checkSectionsPage(s); });
    step("5 turns and reverse sections", [&] { return qj::checkTurnsPage(s); });
    step("6 records, houses grid", [&] {
      return qj::checkAccessPage(s, qj::toDateTime({2025, 1, 1}));
    });
    if (level == 2) step("7 houses and links", [&] { return qj::checkHousesPage(s); });
  };
  throughTheSteps("first pass");
  // Back from the summary to the street types, then forward again over the kept grids.
  s.wizardStep = 4;
  qj::dbrnBack(s);
  throughTheSteps("second pass");
  const double insert = timed([&] { qj::insertSectionRow(s, 0); });
  const double remove = timed([&] { qj::deleteSectionRow(s, 1); });
  std::printf("  %-34s %9.1f ms\n  %-34s %9.1f ms\n", "a section row inserted", insert,
              "a section row deleted", remove);
  const double save = timed([&] { qj::finishDbrn(s, app); });
  std::printf("  %-34s %9.1f ms\n", "save", save);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "qj-bench-dbrn-wizard";
  fs::remove_all(folder);
  fs::create_directories(folder / "Dbrn");
  run("large city, level 1", qj::largeCity(1, "eng"), folder);
  run("large city, level 2", qj::largeCity(2, "eng"), folder);
  run("large city, level 2, ten times the houses", moreHouses(qj::largeCity(2, "eng"), 10), folder);
  run("section grid", sectionGrid(224, 224), folder);
  fs::remove_all(folder);
  return failed ? 1 : 0;
}
