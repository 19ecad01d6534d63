// Step 1 of the database wizard, the frame's captions and Back, and the import from a database
// file.

#include "dbrn/identity_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "records/dbrn_file.h"

namespace qj {
namespace {

class IdentityStep : public test::DbrnWizardFixture {
 protected:
  StepResult next(const std::string& code, const std::string& name, bool use2 = false) {
    return checkGeneralPage(s, app, {code, name, !use2, use2});
  }
  // A database file in Dbrn/, listed in the catalogue; its item in the import list.
  int addDatabase(const std::string& code, const std::string& kind) {
    enterSmallCity(kind.back() == '1' ? 1 : 2);
    DbrnFile db = s.db;
    db.header.dbCode = code;
    db.header.dbKind = kind;
    if (kind == "cli2") {
      db.sections.clear();
      for (HouseRec& h : db.houses) h.links.clear();
    }
    dir.write("Dbrn/" + code + kind + "_dbrn_eng.dat", writeDbrn(db));
    app.dbrnCatalog.push_back({code + kind, "City " + code});
    s = newDbrnWizard(app.formMode, ',', "eng", app.texts);
    return static_cast<int>(app.dbrnCatalog.size());
  }
};

TEST_F(IdentityStep, TheCodeIsThreeDigitsThenTheNameIsGiven) {
  for (const char* code : {"", "1", "12", "1234", "12a", "1 2"}) {
    const StepResult r = next(code, "x");
    EXPECT_EQ(outcome(r), "S297.") << code;
    EXPECT_EQ(r.check.focus, "txtKod");
  }
  EXPECT_EQ(outcome(next("000", "")), "S40.");
  EXPECT_EQ(next("000", "").check.focus, "txtName");
  // A name of one blank is a name.
  EXPECT_EQ(outcome(next("000", " ")), "passed");
  EXPECT_EQ(s.db.header.dbName, " ");
  EXPECT_EQ(s.wizardStep, 2);
}

TEST_F(IdentityStep, TheKindComesFromTheRadioButtonsAndFixesTheLevel) {
  ASSERT_EQ(outcome(next("123", "City", true)), "passed");
  EXPECT_EQ(s.curKind, "use2");
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(text(s.kindCaption), "use2 (S511)");
  const StepResult r = next("123", "City", false);
  EXPECT_EQ(s.level, 1);
  // The titles that depend on the level, fitted to their labels.
  EXPECT_EQ(text(*updatedText(r.updates, "Label5")), "S386");
  EXPECT_EQ(text(*updatedText(r.updates, "Label10")), "S263 (*)");
  EXPECT_EQ(text(*updatedText(levelTitleUpdates(2), "Title2_T3")), "S264");
  EXPECT_TRUE(levelTitleUpdates(3).empty());
  EXPECT_EQ(r.focus, "skor");
  EXPECT_EQ(text(*updatedText(r.updates, "kod_0")), "123");
  EXPECT_EQ(text(*updatedText(r.updates, "DBRN1_5")), "use1 (S510)");
  // A new database has no date yet: the date lines are hidden.
  EXPECT_EQ(updatedVisibility(r.updates, "Label4_12"), false);
}

TEST_F(IdentityStep, ACodeAndKindInTheCatalogueAreRefusedTheSameCodeOfAnotherKindIsNot) {
  app.dbrnCatalog = {{"123sys1", "System"}, {"123use1", "Mine"}};
  StepResult r = next("123", "City");
  EXPECT_EQ(outcome(r), "S693 use1 (S510) S603. S38.");
  EXPECT_EQ(r.check.focus, "txtKod");
  EXPECT_EQ(text(*updatedText(r.updates, "DBRN1_0")), "use1 (S510)");
  EXPECT_EQ(s.wizardStep, 1);
  EXPECT_EQ(outcome(next("123", "City", true)), "passed");
  // A correction keeps its own entry in the catalogue.
  s = newDbrnWizard(kCorrectDbrn, ',', "eng", app.texts);
  s.curKind = "use1";
  s.db.header.dbKind = "use1";
  EXPECT_EQ(outcome(next("123", "City")), "passed");
}

TEST_F(IdentityStep, AnImportedClientAdditionOrNoKindIsRefusedOnTheImportList) {
  app.formMode = kImportDbrn;
  const int cli = addDatabase("321", "cli2");
  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  const DbrnImport imported = importDbrnFile(s, app, cli);
  ASSERT_FALSE(imported.message);
  EXPECT_EQ(text(imported.source), "[321cli2] City 321");
  StepResult r = next("555", "City");
  EXPECT_EQ(outcome(r), "S26. S158.");
  EXPECT_EQ(r.check.focus, "cbImport");
  s.curKind = "none";
  s.db.header.dbKind = "xxx1";
  EXPECT_EQ(outcome(next("555", "City")), "S205. S179.");
}

TEST_F(IdentityStep, ASystemDatabaseImportedIsTakenOverAsAUserDatabase) {
  app.formMode = kImportDbrn;
  const int sys = addDatabase("001", "sys2");
  const DbrnImport imported = importDbrnFile(s, app, sys);
  ASSERT_FALSE(imported.message);
  EXPECT_EQ(s.curKind, "use2");
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(s.db.header.dbKind, "sys2");  // until step 2 passes
  EXPECT_FALSE(kindChoiceShown(s));
  EXPECT_EQ(text(*updatedText(identityPageCaptions(s), "Label11_1")), "S672:   use2 (S511)");
  ASSERT_EQ(outcome(next("777", "Taken over")), "passed");
  EXPECT_EQ(s.db.header.dbCode, "777");
  EXPECT_EQ(s.table0.rows(), 3);
  passStreetTypes();
  EXPECT_EQ(s.db.header.dbKind, "use2");

  // "none" empties the database; the kind can be chosen again.
  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  importDbrnFile(s, app, sys);
  const DbrnImport none = importDbrnFile(s, app, 0);
  EXPECT_EQ(text(none.source), "S275.");
  EXPECT_TRUE(s.db.streets.empty());
  EXPECT_TRUE(kindChoiceShown(s));
  EXPECT_EQ(text(*updatedText(identityPageCaptions(s), "Label11_1")), "S182:");
}

TEST_F(IdentityStep, AWorkbookImportTakesTheDatabaseAndNamesTheWorkbook) {
  app.formMode = kImportDbrn;
  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  enterSmallCity(1);
  DbrnWorkbookImport imported;
  imported.loaded = WizardDbrn{s.db, "use1", 1, dbrnKindCaption("use1")};
  imported.workbookName = "city.xlsx";
  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  DbrnWorkbookImport refused;
  refused.workbookName = "bad.xlsx";
  // The workbook line says what is loaded: nothing after a refused first import, the workbook
  // of the data after a later refused one, nothing once the data came from elsewhere.
  const auto workbookLine = [this](const ControlUpdates& u) {
    return updatedVisibility(u, "Label_ex2") == true
               ? text(*updatedText(u, "Label_ex1")) + " " + text(*updatedText(u, "Label_ex2"))
               : std::string("(hidden)");
  };
  EXPECT_EQ(workbookLine(installWorkbook(s, refused)), "(hidden)");
  const ControlUpdates u = installWorkbook(s, std::move(imported));
  EXPECT_EQ(workbookLine(u), "S108: city.xlsx");
  EXPECT_EQ(updatedVisibility(u, "RBT1"), false);
  EXPECT_EQ(s.db.streets.size(), 4u);
  // A refused workbook leaves the database as it was.
  EXPECT_EQ(workbookLine(installWorkbook(s, refused)), "S108: city.xlsx");
  EXPECT_EQ(s.db.streets.size(), 4u);
  importDbrnFile(s, app, 0);
  EXPECT_EQ(workbookLine(identityPageCaptions(s)), "(hidden)");
}

TEST_F(IdentityStep, AnImportThatCannotBeReadChangesNothing) {
  app.formMode = kImportDbrn;
  app.dbrnCatalog.push_back({"404use1", "Missing"});
  const DbrnImport r = importDbrnFile(s, app, 1);
  EXPECT_EQ(text(r.message), "S830 \"404use1_dbrn_eng.dat\" S831.");
  EXPECT_TRUE(kindChoiceShown(s));
}

TEST_F(IdentityStep, CaptionsAndBackFollowTheOperation) {
  EXPECT_EQ(text(dbrnStepCaption(s, 1)), "S640 (S744 1 S200 6)");
  EXPECT_EQ(text(dbrnStepCaption(s, 7)), "S640 (S744 6a S200 6)");
  EXPECT_EQ(text(dbrnStepCaption(s, 8)), "S640");
  EXPECT_EQ(text(dbrnBaseTitle(kCorrectDbrn)), "S230");
  EXPECT_EQ(text(dbrnBaseTitle(kViewDbrn)), "S572");
  EXPECT_EQ(text(dbrnPageHeading(kCreateDbrn, 4)), "S47:");
  EXPECT_EQ(text(dbrnPageHeading(kViewDbrn, 4)), "S493:");
  EXPECT_EQ(text(dbrnPageHeading(kViewDbrn, 8)), "S423:");

  s.wizardStep = 2;
  EXPECT_EQ(dbrnBack(s).focus, "txtKod");
  s.mode = kCorrectDbrn;
  EXPECT_EQ(dbrnBack(s).focus, "txtName");
  s.mode = kViewDbrn;
  EXPECT_EQ(dbrnBack(s).focus, "EditKey_1");
  // Back from the sections page lands on the street types.
  s.wizardStep = 4;
  EXPECT_EQ(dbrnBack(s).toStep, 2);
  EXPECT_EQ(dbrnBack(s).focus, "Table0");
  s.wizardStep = 8;
  s.level = 1;
  EXPECT_EQ(dbrnBack(s).toStep, 6);
  EXPECT_TRUE(dbrnBack(s).restoreNextCaption);
  s.level = 2;
  EXPECT_EQ(dbrnBack(s).toStep, 7);
  EXPECT_EQ(dbrnBack(s).focus, "Table4");

  s.mode = kViewDbrn;
  s.kindCaption = dbrnKindCaption("sys1");
  const ControlUpdates u = identityPageCaptions(s);
  EXPECT_EQ(text(*updatedText(u, "Label1_1")), "S226:");
  EXPECT_EQ(text(*updatedText(u, "Label11_1")), "S672:   sys1 (S609)");
  EXPECT_EQ(updatedVisibility(u, "RBT1"), false);
}

}  // namespace
}  // namespace qj
