#pragma once
// The task wizard's tests in code: road networks built section by section, a small city drawn
// as lists, wizard states on them and a program folder for the steps that read and write files.
//
// mainNetwork (nodes in brackets, sections 0-based; the database numbers them one higher):
//
//            S0 ->   (houses 1-9)          S2 ->   (houses 11-19)
//     [1] ==================== [2] ========================== [3]
//            <- S1   (houses 10-2)   ||     <- S3  (houses 20-12)
//                                    || S4 closed, S6 open (2->4), S5 (4->2)
//                                   [4]
//   S0 1->2 Main 1-9 100 m 40 km/h turns to 3, 1, 4    S1 2->1 Main 10-2  100 m 40 km/h to 2
//   S2 2->3 Main 11-19 200 m 40 km/h to 2              S3 3->2 Main 20-12 200 m 80 km/h to 1
//   S4 2->4 Side closed 50 m to 2   S5 4->2 Side 50 m to 1, 3   S6 2->4 Side 50 m to 2
// S0's turn to node 4 meets the closed S4 first, so S0 has no successor towards node 4.
//
// smallCity: types ul "street" (the default type), pr "avenue", per "lane" (no referenced
// street), none (the no-street type), pl (no streets); streets 0 ul Lenina, 1 ul Mira,
// 2 pr Nevsky, 3 per Tihiy (unreferenced), 4 none, 5 ul Lenina1; sections (nodes, houses):
//   0 Lenina 1->2 2..20   1 Lenina 2->1 1..19   2 Lenina 2->3 40..22   3 Mira 3->4 1..9 non-std
//   4 Mira 4->3 2..10     5 Nevsky 4->5 1..99   6 (none) 5->1          7 Lenina1 5->6 2..4
// Level 2 adds houses; street 0 holds "3", "2а", "10", "1", "2" in that record order.

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "dbrn/dbrn_io.h"
#include "frame/app_state.h"
#include "records/dbrn_file.h"
#include "records/numbers.h"
#include "records/text.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "task/wizard_state.h"
#include "text/message.h"

namespace qj::test {

inline std::string padded(int node) {
  return padLeft(std::to_string(node), 5, '0');
}

inline TransitSectionRec citySection(int32_t street, const char* from, const char* to, int a, int b,
                                     const char* nonStd = "") {
  TransitSectionRec s;
  std::tie(s.streetIndex, s.houseFrom, s.houseTo, s.nonStdNumbering) =
      std::tuple(street, from, to, nonStd);
  std::tie(s.startNode, s.endNode, s.length, s.speed) =
      std::tuple(padded(a), padded(b), "100", "30");
  return s;
}

class NetworkBuilder {
 public:
  explicit NetworkBuilder(const char* kind = "use1") {
    std::tie(db.header.dbKind, db.header.dbCode, db.header.dbName, db.header.language) =
        std::tuple(kind, "042", "Test city", "eng");
    db.streetTypes.push_back({"street", "st", 0});
  }

  int street(const std::string& name) {
    for (size_t k = 0; k < db.streets.size(); ++k)
      if (db.streets[k].name == name) return static_cast<int>(k);
    db.streets.push_back({"st", name, "3", static_cast<int32_t>(db.streets.size())});
    ++db.streetTypes[0].streetCount;
    return static_cast<int>(db.streets.size()) - 1;
  }

  TransitSectionRec& section(const std::string& streetName, int from, int to,
                             const std::string& houseFrom, const std::string& houseTo,
                             double length, double speed, std::initializer_list<int> turns) {
    TransitSectionRec s =
        citySection(street(streetName), houseFrom.c_str(), houseTo.c_str(), from, to);
    std::tie(s.length, s.speed) = std::pair(formatReal(length, '.'), formatReal(speed, '.'));
    for (int node : turns) s.turns.push_back({padded(node), "^"});
    db.sections.push_back(s);
    return db.sections.back();
  }

  DbrnFile finish() {
    db.syncHeaderCounts();
    db.header.nodeCount = 4;
    return db;
  }

  DbrnFile db;
};

inline NetworkBuilder mainNetwork(const char* kind = "use1") {
  NetworkBuilder b(kind);
  b.section("Main", 1, 2, "1", "9", 100, 40, {3, 1, 4});
  b.section("Main", 2, 1, "10", "2", 100, 40, {2});
  b.section("Main", 2, 3, "11", "19", 200, 40, {2});
  b.section("Main", 3, 2, "20", "12", 200, 80, {1});
  b.section("Side", 2, 4, " ", " ", 50, 50, {2}).closed = "*";
  b.section("Side", 4, 2, " ", " ", 50, 50, {1, 3});
  b.section("Side", 2, 4, " ", " ", 50, 50, {2});
  return b;
}

struct PointSpec {
  std::string street;
  std::string house;
  double serviceMinutes = 0;
};

// A level-1 task on `db` with rates of 2 per km and 10 per hour and an approach speed of 5 km/h,
// start point 1, no end point; the points as given.
inline TaskWizardState level1Task(DbrnFile db, std::initializer_list<PointSpec> points) {
  TaskWizardState st;
  st.dbLevel = db.level();
  st.header.language = "eng";
  st.header.dbKind = db.header.dbKind;
  st.header.sectionCount = db.header.sectionCount;
  st.header.pointCount = static_cast<int32_t>(points.size());
  std::tie(st.header.startPoint, st.header.finePerKm, st.header.finePerHour) = std::tuple(1, 2, 10);
  st.approachSpeed = 5;
  for (const PointSpec& p : points) {
    TaskPointRec rec{"st", p.street, p.house, p.serviceMinutes};
    rec.vertexNo = st.header.sectionCount + static_cast<int32_t>(st.points.size());
    st.points.push_back(rec);
  }
  st.pointChanged.assign(st.points.size(), 0);
  st.db = std::move(db);
  return st;
}

// The marked shell with the texts the steps compare against: the no-street type's short name,
// the default street type's full name, the start and end marks (the start mark contains short
// text 12, which makes a row the start row).
inline ShellTables wizardShell() {
  ShellTables t = markedShell();
  std::tie(t.shortTexts[2], t.shortTexts[11], t.shortTexts[12], t.shortTexts[17],
           t.shellTexts[697]) = std::tuple("none", "start", "st", "end", "street");
  return t;
}

inline DbrnFile smallCity(int level) {
  DbrnFile db;
  db.header.language = "eng";
  db.header.dbCode = "001";
  db.header.dbName = "Small city";
  db.header.dbKind = level == 1 ? "use1" : "use2";
  db.streetTypes = {{"street", "ul", 3},
                    {"avenue", "pr", 1},
                    {"lane", "per", 1},
                    {"nothing", "none", 1},
                    {"square", "pl", 0}};
  db.streets = {{"ul", "Lenina", "3", 0}, {"ul", "Mira", "3", 1}, {"pr", "Nevsky", "3", 2},
                {"per", "Tihiy", "1", 3}, {"none", "", "3", 4},   {"ul", "Lenina1", "3", 5}};
  db.sections = {citySection(0, "2", "20", 1, 2),  citySection(0, "1", "19", 2, 1),
                 citySection(0, "40", "22", 2, 3), citySection(1, "1", "9", 3, 4, "*"),
                 citySection(1, "2", "10", 4, 3),  citySection(2, "1", "99", 4, 5),
                 citySection(4, " ", " ", 5, 1),   citySection(5, "2", "4", 5, 6)};
  if (level >= 2) {
    const std::pair<int32_t, const char*> houses[] = {{0, "3"}, {0, "2\xE0"}, {0, "10"}, {0, "1"},
                                                      {0, "2"}, {1, "7"},     {2, "15"}, {5, "4"}};
    for (const auto& [street, no] : houses) db.houses.push_back({street, no, 1, {{1, 10, 50}}});
    db.streetHouseCounts = {5, 1, 1, 0, 0, 1};
  }
  db.syncHeaderCounts();
  return db;
}

// A wizard on the small city after step 2: `n` points, no options, cost of 1 per km.
inline TaskWizardState wizardOn(int level, int32_t n, int32_t start = 1, int32_t end = 0) {
  TaskWizardState s;
  std::tie(s.langCode, s.wizardStep, s.dbLevel) = std::tuple("eng", 3, level);
  s.db = smallCity(level);
  TaskHeader& h = s.header;
  std::tie(h.language, h.dbKind, h.sectionCount) =
      std::tuple("eng", s.db.header.dbKind, static_cast<int32_t>(s.db.sections.size()));
  std::tie(h.pointCount, h.startPoint, h.endPoint, h.finePerKm, h.tactMinutes) =
      std::tuple(n, start, end, 1, 10);
  s.pointChanged.assign(n, 0);
  return s;
}

// Cells of a grid as the user leaves them: "row,col=text" joined by ';'.
inline void editCells(GridTable& t, const std::string& edits) {
  for (size_t at = 0; at < edits.size();) {
    const size_t end = std::min(edits.find(';', at), edits.size());
    const std::string e = edits.substr(at, end - at);
    const size_t comma = e.find(','), eq = e.find('=');
    t.set(std::stoi(e.substr(0, comma)), std::stoi(e.substr(comma + 1, eq - comma - 1)),
          e.substr(eq + 1));
    at = end + 1;
  }
}

// A grid row's cells from column `from` on, joined by '|'.
inline std::string rowText(const GridTable& t, int r, int from = 0) {
  std::string out;
  for (int c = from; c < t.columns(); ++c) out += (c > from ? "|" : "") + t.cell(r, c);
  return out;
}

// A step's verdict as the user meets it: "passed", or the message, the control and its row
// (and, after a colon, the column of the cell it names).
inline std::string checkText(const StepCheck& c, const ShellTables& texts) {
  if (c.passed()) return "passed";
  return (c.message ? c.message->text.resolve(texts) : "") + " @" + c.focus +
         std::to_string(c.row) + (c.column >= 0 ? ":" + std::to_string(c.column) : "");
}

// A program folder with the shared state the task wizard works in.
struct WizardFixture {
  TempDir dir;
  AppState app;

  WizardFixture() {
    app.folder = std::make_unique<ProgramFolder>(dir.path());
    std::tie(app.langCode, app.shellFileName, app.texts, app.decSep) =
        std::tuple("eng", "Shell (QJ 1.6).eng", wizardShell(), ',');
  }

  TaskWizardState wizard(int32_t formMode = kNewTask) const {
    TaskWizardState s;
    s.formMode = formMode;
    s.langCode = app.langCode;
    return s;
  }

  // Writes the database into Dbrn/ and lists it in the catalogue; returns its list item.
  int addDatabase(const DbrnFile& db) {
    dir.write("Dbrn/" + db.header.key() + "_dbrn_eng.dat", writeDbrn(db));
    app.dbrnCatalog.push_back({db.header.key(), db.header.dbName});
    return static_cast<int>(app.dbrnCatalog.size());
  }

  std::string text(const Text& t) const { return t.resolve(app.texts); }
  std::string text(const Message& m) const { return m.text.resolve(app.texts); }
  std::string text(const StepCheck& c) const {
    return c.passed() ? "passed" : c.message ? text(*c.message) : "focus " + c.focus;
  }
};

}  // namespace qj::test
