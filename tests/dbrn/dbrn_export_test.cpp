// The database export: the workbooks of a database written into Export/ in pairs whose names
// the import finds again, refusals, and failures of either workbook.

#include "dbrn/dbrn_export.h"

#include <gtest/gtest.h>

#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/dbrn_workbook.h"
#include "dbrn/dbrn_workbook_import.h"
#include "democity/demo_city.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

class DbrnExportTest : public ::testing::Test {
 protected:
  DbrnExportTest() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
  }
  // The database written under its file name and chosen.
  void choose(const DbrnFile& db) {
    const std::string name = dbrnFileName(db.header.dbCode, db.header.dbKind, "eng");
    dir.write("Dbrn/" + name, writeDbrn(db));
    state.selectedPath = (dir / "Dbrn" / name).replace_extension().string();
  }
  std::vector<std::string> messages(const DbrnExport& e) const {
    std::vector<std::string> out;
    for (const Message& m : e.messages) out.push_back(m.utf8(state.texts));
    return out;
  }

  test::TempDir dir;
  AppState state;
};

TEST_F(DbrnExportTest, ALevelTwoDatabaseGivesTwoWorkbooksThatTheImportReadsBack) {
  const DbrnFile db = demoCity(2, "eng");
  choose(db);
  // The rows written are told as they go, up to the rows of both workbooks.
  int64_t done = -1, total = 0;
  bool rising = true;
  const DbrnExport first = exportDbrnWorkbooks(state, [&](int64_t d, int64_t t) {
    rising = rising && d >= done;
    done = d;
    total = t;
  });
  EXPECT_TRUE(rising);
  EXPECT_EQ(done, total);
  EXPECT_EQ(total, dbrnWorkbookRows(db) + dbrnHouseWorkbookRows(db));
  EXPECT_FALSE(first.refused || !first.messages.empty());
  ASSERT_TRUE(first.mainWorkbook && first.houseWorkbook);
  EXPECT_EQ(*first.mainWorkbook, dir / "Export/002sys2_dbrn_eng.xlsx");
  EXPECT_EQ(*first.houseWorkbook, dir / "Export/002sys2_dbrn_eng#.xlsx");

  // What the import reads back of them is the database.
  const ImportedDbrnWorkbook back = importDbrnWorkbook(*first.mainWorkbook, "eng");
  ASSERT_TRUE(back.loaded && back.messages.empty());
  EXPECT_EQ(back.loaded->db.houses, db.houses);
  EXPECT_EQ(back.loaded->db.sections.size(), db.sections.size());

  // A second export never replaces the first pair; a lone house workbook moves the pair on.
  const DbrnExport second = exportDbrnWorkbooks(state);
  ASSERT_TRUE(second.mainWorkbook && second.houseWorkbook);
  EXPECT_EQ(*second.mainWorkbook, dir / "Export/002sys2_dbrn_eng (2).xlsx");
  EXPECT_EQ(*second.houseWorkbook, dir / "Export/002sys2_dbrn_eng (2)#.xlsx");
  std::filesystem::remove(*first.mainWorkbook);
  EXPECT_EQ(*exportDbrnWorkbooks(state).mainWorkbook, dir / "Export/002sys2_dbrn_eng (3).xlsx");
}

TEST_F(DbrnExportTest, LevelOneHasNoHouseWorkbookClientAdditionsAndUnreadableFilesAreRefused) {
  choose(demoCity(1, "eng"));
  const DbrnExport e = exportDbrnWorkbooks(state);
  EXPECT_TRUE(!e.refused && e.mainWorkbook && !e.houseWorkbook && e.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "Export/001sys1_dbrn_eng#.xlsx"));

  choose(clientAdditionOf(demoCity(2, "eng")));
  const DbrnExport cli = exportDbrnWorkbooks(state);
  EXPECT_TRUE(cli.refused);
  EXPECT_EQ(messages(cli), std::vector<std::string>{"S28."});
  EXPECT_EQ(cli.messages[0].kind, MessageKind::Warning);
  EXPECT_FALSE(std::filesystem::exists(dir / "Export/002cli2_dbrn_eng.xlsx"));
  state.selectedPath = (dir / "Dbrn/009use1_dbrn_eng").string();
  const DbrnExport missing = exportDbrnWorkbooks(state);
  EXPECT_TRUE(missing.refused);
  EXPECT_EQ(messages(missing), std::vector<std::string>{"S830 \"009use1_dbrn_eng.dat\" S831."});
}

TEST_F(DbrnExportTest, AWorkbookThatCannotBeWrittenGivesItsOneMessage) {
  dir.write("Export", "in the way");  // nothing can be written there
  choose(demoCity(2, "eng"));
  const DbrnExport e = exportDbrnWorkbooks(state);
  EXPECT_FALSE(e.refused || e.mainWorkbook || e.houseWorkbook);
  EXPECT_EQ(messages(e), std::vector<std::string>{"S467."});
  EXPECT_EQ(e.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(houseWorkbookFailedMessage().utf8(state.texts), "S468.");
  EXPECT_EQ(houseWorkbookFailedMessage().kind, MessageKind::Error);
}

}  // namespace
}  // namespace qj
