// Step 1 of the database wizard, the frame's captions and Back, and the imports of step 1.

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
  // The small city as a file in Dbrn/, listed in the catalogue; its item in the import list.
  int addDatabase(const std::string& code, const std::string& kind) {
    enterSmallCity(kind.back() == '1' ? 1 : 2);
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
  EXPECT_EQ(s.db.header.dbName, " ");
  EXPECT_EQ(s.wizardStep, 2);
}

TEST_F(IdentityStep, TheKindComesFromTheRadioButtonsAndFixesTheLevel) {
  ASSERT_EQ(outcome(next("123", "City", true)), "passed");
  EXPECT_EQ(s.curKind + " " + text(s.kindCaption), "use2 use2 (S511)");
  EXPECT_EQ(s.level, 2);
  const StepResult r = next("123", "City", false);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(r.focus, "skor");
  EXPECT_EQ(text(*updatedText(r.updates, "Label10")), "S263 (*)");  // a level-1 title
  EXPECT_EQ(text(*updatedText(levelTitleUpdates(2), "Title2_T3")), "S264");
  // A new database has no date yet: the date lines are hidden.
  EXPECT_EQ(updatedVisibility(r.updates, "Label4_12"), false);
}

TEST_F(IdentityStep, ACodeAndKindInTheCatalogueAreRefusedTheSameCodeOfAnotherKindIsNot) {
  app.dbrnCatalog = {{"123sys1", "System"}, {"123use1", "Mine"}};
  StepResult r = next("123", "City");
  EXPECT_EQ(refusal(r), "S693 use1 (S510) S603. S38. @-1 txtKod");
  EXPECT_EQ(text(*updatedText(r.updates, "DBRN1_0")), "use1 (S510)");
  EXPECT_EQ(s.wizardStep, 1);
  EXPECT_EQ(outcome(next("123", "City", true)), "passed");
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
  s.curKind = "none";
  s.db.header.dbKind = "xxx1";
  EXPECT_EQ(outcome(next("555", "City")), "S205. S179.");

  s = newDbrnWizard(kImportDbrn, ',', "eng", app.texts);
  const DbrnImport imported = importDbrnFile(s, app, sys);
  ASSERT_FALSE(imported.message);
  EXPECT_EQ(text(imported.source), "[001sys2] City 001");
  EXPECT_EQ(s.curKind, "use2");
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
  EXPECT_EQ(text(importDbrnFile(s, app, 0).source), "S275.");
  EXPECT_TRUE(s.db.streets.empty());
  EXPECT_TRUE(kindChoiceShown(s));
  EXPECT_EQ(text(*updatedText(identityPageCaptions(s), "Label11_1")), "S182:");
  // A file that cannot be read changes nothing.
  app.dbrnCatalog.push_back({"404use1", "Missing"});
  EXPECT_EQ(text(importDbrnFile(s, app, 3).message), "S830 \"404use1_dbrn_eng.dat\" S831.");
  EXPECT_TRUE(kindChoiceShown(s));
}

TEST_F(IdentityStep, BackFollowsTheOperationAndTheLevel) {
  // Back: where it leads from each step, whether the grid shows its current row at the top
  // and whether Next gets its caption back.
  struct Case {
    int mode, step, level;
    const char* move;
  };
  const Case cases[] = {{kCreateDbrn, 2, 1, "1 txtKod 00"},  {kCorrectDbrn, 2, 1, "1 txtName 00"},
                        {kViewDbrn, 2, 1, "1 EditKey_1 00"}, {kCreateDbrn, 3, 1, "2 Table0 00"},
                        {kCreateDbrn, 4, 1, "2 Table0 00"},  {kCreateDbrn, 5, 1, "4 Table1 10"},
                        {kCreateDbrn, 6, 1, "5 Table2 10"},  {kCreateDbrn, 7, 2, "6 Table3 10"},
                        {kCreateDbrn, 8, 1, "6 Table3 11"},  {kCreateDbrn, 8, 2, "7 Table4 11"},
                        {kCreateDbrn, 1, 1, "1  00"}};
  for (const Case& c : cases) {
    s.mode = c.mode;
    s.wizardStep = c.step;
    s.level = c.level;
    const DbrnBackMove m = dbrnBack(s);
    EXPECT_EQ(std::to_string(m.toStep) + " " + m.focus + " " + std::to_string(m.scrollToCurrent) +
                  std::to_string(m.restoreNextCaption),
              c.move);
  }
}

}  // namespace
}  // namespace qj
