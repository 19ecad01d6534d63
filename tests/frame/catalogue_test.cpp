#include "frame/catalogue.h"

#include <gtest/gtest.h>

#include "records/bytes.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::TempDir;

// The first 148 bytes of a database file, with the texts the catalogue reads.
std::string dbrnHeader(const std::string& code, const std::string& kind, const std::string& name) {
  ByteWriter w;
  w.shortString("eng", 3);
  w.shortString(code, 3);
  w.shortString(name, 70);
  w.shortString(kind, 4);
  w.zeros(148 - w.size());
  return w.take();
}

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
  }
  // A database file whose name and header agree, plus some records after the header.
  void database(const std::string& code, const std::string& kind, const std::string& lang = "eng") {
    dir.write("Dbrn/" + code + kind + "_dbrn_" + lang + ".dat",
              dbrnHeader(code, kind, "City " + code + kind) + std::string(50, '\x01'));
  }
  static std::vector<std::string> keys(const CatalogueScan& scan) {
    std::vector<std::string> out;
    for (const auto& e : scan.catalog) out.push_back(e.key);
    return out;
  }
  std::string failure(const CatalogueScan& scan) const {
    return scan.failure ? scan.failure->utf8(state.texts) : std::string("(none)");
  }

  TempDir dir;
  AppState state;
};

TEST_F(Catalogue, MessagesAreComposedFromTheirShellTexts) {
  const ShellTables t = test::markedShell();
  EXPECT_EQ(foreignDbrnFileMessage("123use3_dbrn_eng.dat").utf8(t),
            "S706 \"123use3_dbrn_eng.dat\" S296. S691.");
  EXPECT_EQ(misnamedDbrnFileMessage("123use1_dbrn_eng.dat", "124use1", "eng").utf8(t),
            "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\".");
  EXPECT_EQ(foreignDbrnFileMessage("x").kind, MessageKind::Warning);
  EXPECT_EQ(misnamedDbrnFileMessage("x", "y", "z").kind, MessageKind::Warning);
}

TEST_F(Catalogue, ListsSystemThenUserThenClientDatabasesWithTheirNames) {
  database("200", "cli2");
  database("100", "use2");
  database("050", "use1");
  database("300", "sys1");
  database("001", "sys2");
  const CatalogueScan scan = DBRNClick(state);
  EXPECT_FALSE(scan.failure);
  EXPECT_EQ(keys(scan),
            (std::vector<std::string>{"001sys2", "300sys1", "050use1", "100use2", "200cli2"}));
  EXPECT_EQ(scan.catalog[0].name, "City 001sys2");
}

TEST_F(Catalogue, EachScanCoversItsOwnMasks) {
  for (const char* kind : {"sys1", "sys2", "use1", "use2", "cli2"}) database("101", kind);
  EXPECT_EQ(keys(DBRNaClick(state)),
            (std::vector<std::string>{"101sys1", "101sys2", "101use1", "101use2"}));
  state.formMode = 3;
  EXPECT_EQ(keys(DBRNaClick(state)), (std::vector<std::string>{"101use1", "101use2"}));
  EXPECT_EQ(keys(SysDBRNClick(state)), std::vector<std::string>{"101sys2"});
}

TEST_F(Catalogue, FilesOfAnotherLanguageAreNeverLookedAt) {
  database("101", "use1", "rus");
  dir.write("Dbrn/102use1_dbrn_rus.dat", "garbage");
  dir.write("Dbrn/103use1_dbrn_eng.dat.old", "garbage");
  database("104", "use1");
  // Every later step opens a database by the name built from its key: these are no files
  // of language "eng", and the second no other copy of 104use1.
  database("105", "use1", "ENG");
  database("104", "use1", "Eng");
  const CatalogueScan scan = DBRNClick(state);
  EXPECT_FALSE(scan.failure);
  EXPECT_EQ(keys(scan), std::vector<std::string>{"104use1"});
}

TEST_F(Catalogue, NoFileIsAnEmptyCatalogueAndNoFailure) {
  state.dbrnCatalog = {{"999use1", "old"}};
  state.dbCheckFailed = 1;
  EXPECT_FALSE(storeCatalogue(state, DBRNClick(state)));
  EXPECT_TRUE(state.dbrnCatalog.empty());
  EXPECT_EQ(state.dbCheckFailed, 0);
}

TEST_F(Catalogue, AHeaderWithAnotherCodeStopsTheScanNamingTheMatchingFile) {
  database("001", "sys1");
  dir.write("Dbrn/123use1_dbrn_eng.dat", dbrnHeader("124", "use1", "Moved"));
  database("200", "cli2");
  const CatalogueScan scan = DBRNClick(state);
  EXPECT_EQ(failure(scan), "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\".");
  EXPECT_EQ(keys(scan), std::vector<std::string>{"001sys1"});

  EXPECT_TRUE(storeCatalogue(state, DBRNClick(state)));
  EXPECT_EQ(state.dbCheckFailed, 1);
}

TEST_F(Catalogue, KindsAndCodesAreComparedExactly) {
  // An unknown kind in the header, although the name matched the mask.
  dir.write("Dbrn/123use3_dbrn_eng.dat", dbrnHeader("123", "use3", "x"));
  EXPECT_EQ(failure(DBRNClick(state)), "S706 \"123use3_dbrn_eng.dat\" S296. S691.");
  std::filesystem::remove(dir / "Dbrn/123use3_dbrn_eng.dat");

  // A kind in other letter case is no kind.
  dir.write("Dbrn/123use1_dbrn_eng.dat", dbrnHeader("123", "USE1", "x"));
  EXPECT_EQ(failure(DBRNClick(state)), "S706 \"123use1_dbrn_eng.dat\" S296. S691.");

  // A two-character code never matches the seven-character key.
  dir.write("Dbrn/123use1_dbrn_eng.dat", dbrnHeader("12", "use1", "x"));
  EXPECT_EQ(failure(DBRNClick(state)),
            "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"12use1_dbrn_eng.dat\".");

  // The name's letter case counts in the key, although the mask found the file.
  std::filesystem::remove(dir / "Dbrn/123use1_dbrn_eng.dat");
  dir.write("Dbrn/123USE1_dbrn_eng.dat", dbrnHeader("123", "use1", "x"));
  EXPECT_EQ(failure(DBRNClick(state)),
            "S204 \"123USE1_dbrn_eng.dat\" S707. S496: \"123use1_dbrn_eng.dat\".");
}

TEST_F(Catalogue, AFileShorterThanAHeaderIsRejectedLikeAForeignFile) {
  dir.write("Dbrn/123use1_dbrn_eng.dat", dbrnHeader("123", "use1", "x").substr(0, 147));
  EXPECT_EQ(failure(DBRNClick(state)), "S706 \"123use1_dbrn_eng.dat\" S296. S691.");
  dir.write("Dbrn/123use1_dbrn_eng.dat", "");
  EXPECT_EQ(failure(DBRNClick(state)), "S706 \"123use1_dbrn_eng.dat\" S296. S691.");
}

TEST_F(Catalogue, ACorrectionDoesNotStopAtAFaultySystemFile) {
  dir.write("Dbrn/001sys1_dbrn_eng.dat", dbrnHeader("002", "sys1", "x"));
  database("100", "use1");
  state.formMode = 3;
  const CatalogueScan forCorrection = DBRNaClick(state);
  EXPECT_FALSE(forCorrection.failure);
  EXPECT_EQ(keys(forCorrection), std::vector<std::string>{"100use1"});
  state.formMode = 5;
  EXPECT_TRUE(DBRNaClick(state).failure);
}

TEST_F(Catalogue, CyrillicLanguageCodesSelectTheirFiles) {
  state.langCode = "\xF0\xF3\xF1";  // рус
  dir.write("Dbrn/100use1_dbrn_рус.dat", dbrnHeader("100", "use1", "\xC3\xEE\xF0\xEE\xE4"));
  database("101", "use1");
  const CatalogueScan scan = DBRNClick(state);
  EXPECT_FALSE(scan.failure);
  ASSERT_EQ(keys(scan), std::vector<std::string>{"100use1"});
  EXPECT_EQ(scan.catalog[0].name, "\xC3\xEE\xF0\xEE\xE4");

  dir.write("Dbrn/100use2_dbrn_рус.dat", dbrnHeader("100", "use1", "x"));
  EXPECT_EQ(failure(DBRNClick(state)),
            "S204 \"100use2_dbrn_рус.dat\" S707. S496: \"100use1_dbrn_рус.dat\".");
}

}  // namespace
}  // namespace qj
