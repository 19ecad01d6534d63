// The database wizard as a whole: step 1 with its imports, a database entered through the
// steps and saved, a save that fails, and the demo city corrected through every step.

#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "dbrn/dbrn_chooser.h"
#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/identity_step.h"
#include "dbrn/summary_step.h"
#include "democity/demo_city.h"
#include "records/dbrn_file.h"
#include "support/write_faults.h"

namespace qj {
namespace {

class IdentityStep : public test::DbrnWizardFixture {
 protected:
  StepResult next(const std::string& code, const std::string& name, bool use2 = false) {
    return checkGeneralPage(s, app, {code, name, !use2, use2});
  }
  // The small city as a file in Dbrn/, listed in the catalogue; its item in the import list.
  int addDatabase(const std::string& code, const std::string& kind) {
    enterUntil(kind.back() == '1' ? 1 : 2, 8);
    DbrnFile db = s.db;
    db.header.dbCode = code;
    db.header.dbKind = kind;
    dir.write("Dbrn/" + code + kind + "_dbrn_eng.dat", writeDbrn(db));
    app.dbrnCatalog.push_back({code + kind, "City " + code});
    s = newDbrnWizard(app.formMode, ',', "eng", app.texts);
    return static_cast<int>(app.dbrnCatalog.size());
  }
};

TEST_F(IdentityStep, TheCodeIsThreeDigitsThenTheNameIsGiven) {
  for (const char* code : {"", "1", "12", "1234", "12a", "1 2"})
    EXPECT_EQ(refusal(next(code, "x")), "S297. @-1 txtKod") << code;
  EXPECT_EQ(refusal(next("000", "")), "S40. @-1 txtName");
  // A name of one blank is a name.
  EXPECT_EQ(outcome(next("000", " ")), "passed");
  EXPECT_EQ(s.db.header.dbName + std::to_string(s.wizardStep), " 2");
  // Captions follow the mode and the level; pages their steps.
  std::string seen;
  for (int32_t mode : {kViewDbrn, kCorrectDbrn, kImportDbrn, kCreateDbrn}) {
    s.mode = mode;
    const ControlUpdates u = identityPageCaptions(s);
    seen += text(*updatedText(u, "Label1_1")) + text(*updatedText(u, "Label2_1"));
  }
  // The last step's window bears the bare title.
  EXPECT_EQ(text(dbrnStepCaption(s, kDbrnSteps)), text(dbrnStepCaption(s, 99)));
  for (int level : {1, 2, 3})
    seen += text(updatedText(levelTitleUpdates(level), "Label5").value_or(Text())) + "|";
  for (int step = 0; step <= kDbrnSteps + 1; ++step)
    seen += std::string(dbrnPageSuffix(step)) + std::string(dbrnStripSuffix(step)) + ",";
  EXPECT_EQ(seen, "S226:S260:S224:S260:S39:S40:S39:S40:S386|S394||,0,10,1212,22,33,44,4a4a,55,,");
  // A code and kind in the catalogue are refused, the same code of another kind is not.
  app.dbrnCatalog = {{"123use1", "Mine"}, {"123sys1", "System"}};
  EXPECT_EQ(refusal(next("123", "City")), "S693 use1 (S510) S603. S38. @-1 txtKod");
  EXPECT_EQ(outcome(next("123", "City", true)), "passed");
  // The chooser's OK needs a row of the list.
  app.formMode = kChooseToDelete;
  for (int row : {-1, 2}) EXPECT_EQ(chooseDbrn(app, row).action, ChooserAction::Stay);
  EXPECT_EQ(chooseDbrn(app, 0).key, "123use1");
  // A correction keeps its own entry in the catalogue.
  s = newDbrnWizard(kCorrectDbrn, ',', "eng", app.texts);
  s.curKind = s.db.header.dbKind = "use1";
  EXPECT_EQ(outcome(next("123", "City")), "passed");
}

TEST_F(IdentityStep, ImportsTakeOverSystemDatabasesAndRefuseClientAdditionsAndNoKind) {
  app.formMode = kImportDbrn;
  const int sys = addDatabase("001", "sys2");
  const int cli = addDatabase("321", "cli2");
  ASSERT_FALSE(importDbrnFile(s, app, cli).message);
  EXPECT_EQ(refusal(next("555", "City")), "S26. S158. @-1 cbImport");
  s.curKind = "none";  // no kind chosen
  s.db.header.dbKind = "xxx1";
  EXPECT_EQ(outcome(next("555", "City")), "S205. S179.");

  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  const DbrnImport imported = importDbrnFile(s, app, sys);
  ASSERT_FALSE(imported.message);
  // The header keeps the kind read until step 2 passes.
  EXPECT_EQ(text(imported.source) + " " + s.curKind + " " + s.db.header.dbKind,
            "[001sys2] City 001 use2 sys2");
  EXPECT_FALSE(kindChoiceShown(s));
  ASSERT_EQ(outcome(next("777", "Taken over")), "passed");
  EXPECT_EQ(s.db.header.dbCode + " " + std::to_string(s.table0.rows()), "777 3");
  passStreetTypes();
  EXPECT_EQ(s.db.header.dbKind, "use2");

  // "none" empties the database; the kind can be chosen again.
  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  importDbrnFile(s, app, sys);
  EXPECT_EQ(text(importDbrnFile(s, app, 0).source), "S275.");
  EXPECT_TRUE(s.db.streets.empty() && kindChoiceShown(s));
  // The last item of the list, its file missing.
  app.dbrnCatalog.push_back({"404use1", "Missing"});
  EXPECT_EQ(text(importDbrnFile(s, app, 3).message), "S830 \"404use1_dbrn_eng.dat\" S831.");
}

// Two faults on page 1 at once: the message of the one checked first. The kind is checked only
// for a new database, after the code and the name: first that there is one, then that it is no
// client addition, then that its key is not taken.
TEST_F(IdentityStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  app.formMode = kImportDbrn;
  app.dbrnCatalog = {{"12use1", "Short key"}, {"555use1", "Taken"}, {"555cli2", "Client"}};
  // clang-format off
  const struct {
    const char *code, *name, *kind, *expected;
  } cases[] = {
      {"12", "", "use1", "S297. @-1 txtKod"},         // the code before the name
      {"1a2", "City", "cli2", "S297. @-1 txtKod"},    // the code before the kind
      {"555", "", "use1", "S40. @-1 txtName"},        // the name before the key taken
      {"555", "", "cli2", "S40. @-1 txtName"},        // the name before the client addition
      {"555", "", "none", "S40. @-1 txtName"},        // the name before a missing kind
      {"555", "City", "cli2", "S26. S158. @-1 cbImport"},  // a client addition, key taken
      {"555", "City", "xxx1", "S205. S179. @-1 cbImport"},
      {"555", "City", "use1", "S693 use1 (S510) S603. S38. @-1 txtKod"},
  };
  // clang-format on
  for (const auto& c : cases) {
    s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
    // A kind given by an import; "use1" is the radio button's.
    if (std::string(c.kind) != "use1") s.curKind = s.db.header.dbKind = c.kind;
    EXPECT_EQ(refusal(next(c.code, c.name)), c.expected)
        << c.code << "|" << c.name << "|" << c.kind;
    EXPECT_EQ(s.wizardStep, 1);
  }
}

// Pickers choose their items only, and tell whether the choice moved.
TEST(DbrnPicker, ChoosesAndStepsWithinItsItems) {
  Picker p;
  for (int v : {5, 7}) p.add(std::to_string(v), v);
  std::string moved = Picker().step(1) ? "y" : "n";  // an empty picker never moves
  for (int r : {-1, 0, 0, 2, 1}) moved += p.choose(r) ? "y" : "n";
  for (int delta : {5, -5, -1, 5}) moved += p.step(delta) ? "y" : "n";
  EXPECT_EQ(moved + std::to_string(*p.chosen()), "nnynnynyny7");
}

// A street continues from the row above only under the same type and the same name.
TEST(DbrnStreetName, IsIndentedUnderTheSameStreetOnly) {
  const StreetRec kings{"av.", "Kings"};
  std::string out;
  for (const StreetRec& above : {kings, StreetRec{"st.", "Kings"}, StreetRec{"av.", "King"}})
    out += streetNameCell(kings, &above) + "|";
  EXPECT_EQ(out + streetNameCell(kings, nullptr), "  Kings|Kings|Kings|Kings");
}

class WizardFlow : public test::DbrnWizardFixture {
 protected:
  static std::string streetsOf(const DbrnFile& db) {
    std::string out;
    for (const StreetRec& s : db.streets)
      out += s.streetType + " " + s.name + " " + s.state + " " + std::to_string(s.streetNo) + ";";
    for (const StreetTypeRec& t : db.streetTypes)
      out += t.shortName + std::to_string(t.streetCount) + ";";
    return out;
  }
};

TEST_F(WizardFlow, TheStreetOfSectionsWithoutAStreetIsWrittenOnlyWhenASectionNeedsIt) {
  enterUntil(1, 2);
  // Sorted first, its street would stand before Kings.
  s.table0.set(2, typeCol::kFullName, "a");
  passStreetTypes();
  typeStreets();
  passStreets();
  typeSections();
  for (GridTable* g : {&s.table1, &s.table2, &s.table3}) g->setRows(4);  // no section without
  passSections();
  typeTurns();
  passTurns();
  EXPECT_EQ(
      text(updatedText(checkAccessPage(s, toDateTime({2024, 12, 6})).updates, "nstr_5").value()),
      "3");
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnFile db = readDbrnFile(dir / "Dbrn/123use1_dbrn_eng.dat").db.value();
  EXPECT_EQ(streetsOf(db), "av. Kings 3 0;st. Elm 3 1;st. Oak 3 2;none0;av.1;st.2;");
  EXPECT_EQ(db.sections[0].streetIndex * 100 + db.sections[2].streetIndex * 10 +
                db.sections[3].streetIndex,
            210);
}

// What the wizard saves is what it holds: the small city of either level, entered through every
// step and walked through them again, reads back as the records the wizard kept; a level-1
// database has no houses at all.
TEST_F(WizardFlow, TheDatabaseReadBackIsTheOneTheWizardHeld) {
  for (int level : {1, 2}) {
    SCOPED_TRACE(level);
    s = newDbrnWizard(kCreateDbrn, ',', "eng", app.texts);
    enterUntil(level, 8);
    passEveryStep({"123", "Small city"}, toDateTime({2024, 12, 6}));
    ASSERT_EQ(finishDbrn(s, app), std::nullopt);
    const DbrnFile held = databaseToWrite(s);
    const std::string file = "Dbrn/123use" + std::to_string(level) + "_dbrn_eng.dat";
    EXPECT_EQ(readDbrnFile(dir / file).db.value(), held);
    EXPECT_EQ(held.houses.empty() && held.streetHouseCounts.empty(), level == 1);
  }
}

TEST_F(WizardFlow, ASaveThatFailsIsReportedAndViewingWritesNothing) {
  enterUntil(1, 8);
  std::filesystem::remove_all(dir / "Dbrn");
  dir.write("Dbrn", "a file where the folder belongs");
  s.mode = kViewDbrn;
  EXPECT_EQ(finishDbrn(s, app), std::nullopt);
  s.mode = kCreateDbrn;
  EXPECT_EQ(text(finishDbrn(s, app)), "S830 \"123use1_dbrn_eng.dat\" S865.");
}

// The database is in place, but the disk did not confirm its folder: a warning, not a failure.
TEST_F(WizardFlow, ASaveInPlaceButNotConfirmedIsSaidToBeWritten) {
  if (test::WriteFaults::ranInChild()) return;
  enterUntil(1, 8);
  std::optional<Message> saved;
  {
    test::WriteFaults faults(dir / "Dbrn");
    faults.fail("fsync", 1, 1);  // the file's own sync passes, its folder's fails
    saved = finishDbrn(s, app);
  }
  ASSERT_TRUE(saved && saved->kind == MessageKind::Warning);
  EXPECT_EQ(text(saved), "S1328 \"Dbrn/123use1_dbrn_eng.dat\" S1329.");
  EXPECT_TRUE(readDbrnFile(dir / "Dbrn/123use1_dbrn_eng.dat").db);
}

// The shipped city, corrected without a change, passes every step and comes back as it was.
TEST_F(WizardFlow, TheDemoCityCorrectedWithoutAChangeIsWrittenBackUnchanged) {
  for (int level : {1, 2}) {
    DbrnFile city = demoCity(level, "eng");
    city.header.dbKind = level == 1 ? "use1" : "use2";
    const std::string file = city.header.dbCode + city.header.dbKind + "_dbrn_eng";
    dir.write("Dbrn/" + file + ".dat", writeDbrn(city));
    app.formMode = kCorrectDbrn;
    app.selectedPath = (dir / "Dbrn" / file).string();
    s = std::move(*openDbrnWizard(app).state);
    passEveryStep({city.header.dbCode, city.header.dbName}, toDateTime(kDemoCityDate));
    for (size_t r = 0; r < city.sections.size(); ++r) {  // numbered and named as the records
      EXPECT_EQ(s.table1.cell(r, sectionCol::kRow) + " " + s.table1.cell(r, sectionCol::kStreet),
                std::to_string(r + 1) + " " + std::to_string(city.sections[r].streetIndex));
      EXPECT_EQ(s.table2.cell(r, turnCol::kRow) + s.table3.cell(r, accessCol::kRow),
                std::to_string(r + 1) + std::to_string(r + 1));
    }
    std::set<std::string> shown;  // turns to the right and left numbered in their order
    for (int r = 0; r < s.table2.rows(); ++r)
      for (int k = 0; k < kMaxTurns; ++k) shown.insert(s.table2.cell(r, turnCol::direction(k)));
    EXPECT_EQ(std::accumulate(shown.begin(), shown.end(), std::string()),
              level == 1 ? "<1<2>1>2^v" : "<1>1^v");
    ASSERT_EQ(finishDbrn(s, app), std::nullopt);
    EXPECT_EQ(dir.read("Dbrn/" + file + ".dat"), writeDbrn(city)) << level;
  }
}

// A street renamed so that it sorts elsewhere keeps its houses: the stored houses stand in the
// old order of the streets, and each street takes its own.
TEST_F(WizardFlow, AStreetRenamedOutOfPlaceKeepsItsHouses) {
  DbrnFile city = demoCity(2, "eng");
  city.header.dbKind = "use2";
  const std::string file = city.header.dbCode + "use2_dbrn_eng";
  dir.write("Dbrn/" + file + ".dat", writeDbrn(city));
  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / "Dbrn" / file).string();
  s = std::move(*openDbrnWizard(app).state);
  ASSERT_EQ(outcome(checkGeneralPage(s, app, {city.header.dbCode, city.header.dbName})), "passed");
  passStreetTypes();
  // The houses of a street, one a line: number, yard and links.
  const auto housesOf = [](const DbrnFile& db, const std::string& name) {
    std::string out;
    for (const HouseRec& h : db.houses) {
      if (db.streets[h.streetIndex].name != name) continue;
      out += h.houseNo + " " + std::to_string(h.yardNo);
      for (const HouseLinkRec& l : h.links)
        out += " " + std::to_string(l.sectionNo) + "/" + std::to_string(l.distToExit) + "/" +
               std::to_string(l.distExitToEnd);
      out += ";";
    }
    return out;
  };
  const std::string before = housesOf(city, "Bridge");
  ASSERT_FALSE(before.empty());
  int renamed = 0;
  for (int r = 0; r < s.table_0.rows(); ++r)
    if (s.table_0.cell(r, streetCol::kName) == "Bridge") {
      s.table_0.set(r, streetCol::kName, "Yew");  // the first street of its type becomes the last
      ++renamed;
    }
  ASSERT_EQ(renamed, 1);
  passStreets();
  passSections();
  passTurns();
  passAccess();
  passHouses();
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnFile saved = readDbrnFile(dir / ("Dbrn/" + file + ".dat")).db.value();
  EXPECT_EQ(housesOf(saved, "Yew"), before);
  EXPECT_EQ(saved.houses.size(), city.houses.size());
}

}  // namespace
}  // namespace qj
