#include "frame/catalogue.h"

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using Catalogue = test::FrameTest;
using test::V;

V keys(const CatalogueScan& scan) {
  V out;
  for (const auto& e : scan.catalog) out.push_back(e.key);
  return out;
}

TEST_F(Catalogue, ListsSystemThenUserThenClientDatabasesOfTheLanguageOnly) {
  for (const char* key : {"200cli2", "100use2", "050use1", "300sys1", "001sys2"})
    database(key, std::string(key, 3), key + 3, std::string("City ") + key);
  dir.write("Dbrn/101use1_dbrn_rus.dat", "garbage");
  dir.write("Dbrn/103use1_dbrn_eng.dat.old", "garbage");
  // Every later step opens a database by the name built from its key: these are no files of
  // language "eng", and the second no other copy of 050use1.
  dir.write("Dbrn/105use1_dbrn_ENG.dat", "garbage");
  dir.write("Dbrn/050use1_dbrn_Eng.dat", "garbage");
  const CatalogueScan scan = DBRNClick(state);
  EXPECT_EQ(text(scan.failure), "(none)");
  EXPECT_EQ(keys(scan), (V{"001sys2", "300sys1", "050use1", "100use2", "200cli2"}));
  EXPECT_EQ(databaseListItems(scan.catalog, state.texts).at(1), "[001sys2] City 001sys2");

  state.dbrnCatalog = {{"999use1", "old"}};
  state.dbCheckFailed = 1;
  fs::remove_all(dir / "Dbrn");
  EXPECT_FALSE(storeCatalogue(state, DBRNClick(state)));
  EXPECT_TRUE(state.dbrnCatalog.empty());
  EXPECT_EQ(state.dbCheckFailed, 0);
}

// A file the mask found whose header does not name it stops the scan with what came before.
TEST_F(Catalogue, AHeaderThatDoesNotNameItsFileStopsTheScan) {
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
      {"123use1", "123", "use1", 0, foreign},
  };
  database("001sys1", "001", "sys1");
  database("200cli2", "200", "cli2");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    database(c.file, c.code, c.kind, "x", c.size);
    EXPECT_EQ(keys(DBRNClick(state)), V{"001sys1"});
    EXPECT_EQ(text(storeCatalogue(state, DBRNClick(state))), c.failure);
    EXPECT_EQ(state.dbCheckFailed, 1);
    fs::remove(dir / (std::string("Dbrn/") + c.file + "_dbrn_eng.dat"));
  }
}

TEST_F(Catalogue, ACorrectionDoesNotStopAtAFaultySystemFile) {
  database("001sys1", "002", "sys1");
  database("100use1", "100", "use1");
  state.formMode = kChooseToCorrect;
  EXPECT_EQ(text(DBRNaClick(state).failure), "(none)");
  EXPECT_EQ(keys(DBRNaClick(state)), V{"100use1"});
  state.formMode = kChooseToCorrect + 2;
  EXPECT_TRUE(DBRNaClick(state).failure);
}

TEST_F(Catalogue, CyrillicLanguageCodesSelectTheirFiles) {
  state.langCode = "\xF0\xF3\xF1";  // рус
  database("101use1", "101", "use1");
  fs::rename(dir / "Dbrn/101use1_dbrn_eng.dat", dir / "Dbrn/100use1_dbrn_рус.dat");
  database("101use1", "101", "use1");
  EXPECT_EQ(text(DBRNClick(state).failure),
            "S204 \"100use1_dbrn_рус.dat\" S707. S496: \"101use1_dbrn_рус.dat\".");
}

}  // namespace
}  // namespace qj
