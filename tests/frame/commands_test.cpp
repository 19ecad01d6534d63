#include "frame/catalogue.h"
#include "frame/frame_fixture.h"
#include "frame/menu.h"

namespace qj {
namespace {

using Commands = test::FrameTest;
using test::V;

V keys(const std::vector<DbrnCatalogEntry>& catalog) {
  V out;
  for (const auto& e : catalog) out.push_back(e.key);
  return out;
}

TEST_F(Commands, TheCatalogueListsSystemThenUserThenClientDatabasesOfTheLanguageOnly) {
  for (const char* key : {"200cli2", "100use2", "050use1", "300sys1", "001sys2"})
    database(key, std::string(key, 3), key + 3, std::string("City ") + key);
  // Every later step opens a database by the name built from its key: the last two are no
  // files of language "eng", and the second no other copy of 050use1.
  for (const char* file : {"101use1_dbrn_rus.dat", "103use1_dbrn_eng.dat.old",
                           "105use1_dbrn_ENG.dat", "050use1_dbrn_Eng.dat"})
    dir.write(std::string("Dbrn/") + file, "garbage");
  EXPECT_FALSE(storeCatalogue(state, DBRNClick(state)));
  EXPECT_EQ(keys(state.dbrnCatalog), (V{"001sys2", "300sys1", "050use1", "100use2", "200cli2"}));
  EXPECT_EQ(databaseListItems(state.dbrnCatalog, state.texts).at(1), "[001sys2] City 001sys2");
  fs::remove_all(dir / "Dbrn");
  EXPECT_FALSE(storeCatalogue(state, DBRNClick(state)));
  EXPECT_TRUE(state.dbrnCatalog.empty());
}

// A file the mask found whose header does not name it stops the scan with what came before.
TEST_F(Commands, AHeaderThatDoesNotNameItsFileStopsTheScan) {
  const std::string foreign = "S706 \"123use1_dbrn_eng.dat\" S296. S691.";
  const struct {
    const char *file, *code, *kind;
    size_t size;
    std::string failure;
  } cases[] = {
      {"123use1", "124", "use1", 148,
       "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\"."},
      {"123use1", "12", "use1", 148,
       "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"12use1_dbrn_eng.dat\"."},
      // The name's letter case counts in the key, although the mask found the file.
      {"123USE1", "123", "use1", 148,
       "S204 \"123USE1_dbrn_eng.dat\" S707. S496: \"123use1_dbrn_eng.dat\"."},
      {"123use1", "123", "use3", 148, foreign},
      {"123use1", "123", "USE1", 148, foreign},
      {"123use1", "123", "use1", 147, foreign},
  };
  database("001sys1", "001", "sys1");
  for (const auto& c : cases) {
    database(c.file, c.code, c.kind, "x", c.size);
    EXPECT_EQ(text(storeCatalogue(state, DBRNClick(state))), c.failure);
    EXPECT_EQ(keys(state.dbrnCatalog), V{"001sys1"});
    fs::remove(dir / (std::string("Dbrn/") + c.file + "_dbrn_eng.dat"));
  }
  // A Cyrillic language code selects its files.
  state.langCode = "\xF0\xF3\xF1";
  database("101use1", "101", "use1");
  fs::rename(dir / "Dbrn/101use1_dbrn_eng.dat", dir / "Dbrn/100use1_dbrn_рус.dat");
  EXPECT_EQ(text(DBRNClick(state).failure),
            "S204 \"100use1_dbrn_рус.dat\" S707. S496: \"101use1_dbrn_рус.dat\".");
}

TEST_F(Commands, ACommandSetsItsModeAndRunsItsScan) {
  for (const char* kind : {"sys2", "sys1", "use1", "use2", "cli2"})
    database(std::string("001") + kind, "001", kind);
  const V every{"001sys1", "001sys2", "001use1", "001use2", "001cli2"};
  const struct {
    MenuItem item;
    int32_t mode;
    V keys;
  } rows[] = {
      {MenuItem::N12, 3, {"001use1", "001use2"}},
      {MenuItem::Excel1, 5, {"001sys1", "001sys2", "001use1", "001use2"}},
      {MenuItem::N14, 7, {"001sys2"}},
      {MenuItem::mnuInNewTask, 1, every},
      // Commands without a code leave FormMode alone; those without a scan keep the catalogue.
      {MenuItem::mnuOutViewProtocol, 1, every},
      {MenuItem::N103, 3, every},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(startCommand(state, row.item).proceed);
    EXPECT_EQ(state.formMode, row.mode);
    EXPECT_EQ(keys(state.dbrnCatalog), row.keys);
  }
  // A scan that rejects a file ends the command, but a correction does not stop at a faulty
  // system file and the client addition looks only at level-2 system files.
  database("123use1", "124", "use1");
  database("001sys1", "002", "sys1");
  EXPECT_FALSE(startCommand(state, MenuItem::N13).proceed);
  EXPECT_EQ(state.formMode, 4);
  EXPECT_TRUE(startCommand(state, MenuItem::N14).proceed);
  fs::remove(dir / "Dbrn/123use1_dbrn_eng.dat");
  EXPECT_TRUE(startCommand(state, MenuItem::N12).proceed);
  EXPECT_FALSE(startCommand(state, MenuItem::Excel1).proceed);
}

TEST_F(Commands, MenuCaptionsAreTheirOwnAndTheOptimiserIsOfferedOnlyWhileATaskIsQueued) {
  state.texts.shellTexts[65] = state.texts.shellTexts[66] = " x ";
  EXPECT_EQ(menuCaption(MenuItem::mnuIn).utf8(state.texts), "x");
  EXPECT_EQ(menuCaption(MenuItem::mnuInNewTask).utf8(state.texts), " x ");  // as stored
  for (const MenuItem item : allMenuItems())
    EXPECT_EQ(isTopMenu(item), menuCommand(item).target == MenuTarget::Submenu);

  state.solveAtOnce = 1;
  EXPECT_FALSE(openSolvingMenu(state));
  EXPECT_EQ(state.solveAtOnce, 0);
  // None named as the optimiser would open it.
  for (const char* f : {"Solving/qj_AB12CD_out.dat", "Solving/qj_AB12C_in.dat",
                        "Data/qj_AB12CD_in.dat", "Solving/qj_AB12CD_In.dat"})
    dir.write(f, "x");
  EXPECT_FALSE(openSolvingMenu(state));
  dir.write("Solving/qj_AB12CD_in.dat", "x");
  state.solveAtOnce = 1;
  EXPECT_TRUE(openSolvingMenu(state));
}

}  // namespace
}  // namespace qj
