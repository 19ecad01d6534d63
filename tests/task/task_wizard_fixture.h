#pragma once
// A program folder with the shared state that the task wizard works in, and small road
// networks of every level built in code:
//
//   types  av. avenue (1 street), st. street (2), none unnamed (1), ln. lane (1)
//   streets 0 st. Oak (referenced), 1 av. Main (referenced), 2 none (referenced),
//           3 ln. Quiet (entered only), 4 st. Elm (referenced)
//   sections 0 Main 1-9 (nodes 1->2), 1 Main 2-10 (2->1), 2 Oak 1-19 (2->3), 3 none (3->1)
//   houses (level 2 and 3): Oak "10", "9", "2а"; Main "1"; Elm "5"

#include <memory>
#include <string>

#include "dbrn/dbrn_io.h"
#include "frame/app_state.h"
#include "records/cp1251.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "task/wizard_state.h"
#include "text/message.h"

namespace qj::test {

inline DbrnFile tinyDb(int level) {
  DbrnFile db;
  DbrnHeader& h = db.header;
  h.language = "eng";
  h.dbCode = level == 3 ? "002" : "00" + std::to_string(level);
  h.dbName = "Tiny town";
  h.dbKind = level == 1 ? "use1" : level == 2 ? "use2" : "cli2";
  h.dbDate = "01.02.2026";
  db.streetTypes = {
      {"avenue", "av.", 1}, {"street", "st.", 2}, {"unnamed", "none", 1}, {"lane", "ln.", 1}};
  db.streets = {{"st.", "Oak", "3", 0},
                {"av.", "Main", "3", 1},
                {"none", "", "3", 2},
                {"ln.", "Quiet", "1", 3},
                {"st.", "Elm", "3", 4}};
  const auto section = [](int32_t street, const char* from, const char* to, const char* a,
                          const char* b) {
    TransitSectionRec s;
    s.streetIndex = street;
    s.houseFrom = from;
    s.houseTo = to;
    s.startNode = a;
    s.endNode = b;
    s.length = "100";
    s.speed = "40";
    return s;
  };
  if (level <= 2)
    db.sections = {section(1, "1", "9", "00001", "00002"), section(1, "2", "10", "00002", "00001"),
                   section(0, "1", "19", "00002", "00003"), section(2, " ", " ", "00003", "00001")};
  if (level >= 2) {
    const auto house = [&](int32_t street, const std::string& no, int32_t linked) {
      HouseRec r;
      r.streetIndex = street;
      r.houseNo = no;
      if (level == 2) r.links = {{linked, 10, 20}};
      return r;
    };
    db.houses = {house(0, "10", 3), house(0, "9", 3), house(0, cp1251::fromUtf8("2а"), 3),
                 house(1, "1", 1), house(4, "5", 3)};
    db.streetHouseCounts = {3, 1, 0, 0, 1};
  }
  db.syncHeaderCounts();
  h.nodeCount = 3;
  if (level == 3) h.sectionCount = 4;  // the count of the system database it came from
  return db;
}

struct WizardFixture {
  TempDir dir;
  AppState app;

  WizardFixture() {
    app.folder = std::make_unique<ProgramFolder>(dir.path());
    app.langCode = "eng";
    app.shellFileName = "Shell (QJ 1.6).eng";
    app.texts = markedShell();
    app.texts.shortTexts[2] = "none";
    app.texts.shellTexts[697] = "street";
    app.decSep = ',';
  }

  TaskWizardState wizard(int32_t formMode = 1) const {
    TaskWizardState s;
    s.formMode = formMode;
    s.decSep = app.decSep;
    s.langCode = app.langCode;
    return s;
  }

  // Writes the database into Dbrn/ and lists it in the catalogue; returns its list item.
  int addDatabase(const DbrnFile& db) {
    writeBytes(db.header.dbCode + db.header.dbKind, writeDbrn(db));
    app.dbrnCatalog.push_back({db.header.key(), db.header.dbName});
    return static_cast<int>(app.dbrnCatalog.size());
  }
  void writeBytes(const std::string& key, const std::string& bytes) const {
    dir.write("Dbrn/" + key + "_dbrn_eng.dat", bytes);
  }

  std::string text(const Text& t) const { return t.resolve(app.texts); }
  std::string text(const Message& m) const { return m.text.resolve(app.texts); }
};

}  // namespace qj::test
