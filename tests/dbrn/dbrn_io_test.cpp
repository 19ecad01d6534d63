// Database files on disk: names, the wizard's load and save with the take-over of system
// databases, the header alone, and the messages of files that cannot be read.

#include "dbrn/dbrn_io.h"

#include <gtest/gtest.h>

#include "support/bytes_at.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"

namespace qj {
namespace {

class DbrnFiles : public ::testing::Test {
 protected:
  // The town of the given kind as <dir>/123<kind>_dbrn_eng.dat; its selected path.
  std::string place(const char* kind) {
    dir.write(dbrnFileName("123", kind, "eng"), writeDbrn(test::smallTown(kind)));
    return (dir / ("123" + std::string(kind) + "_dbrn_eng")).string();
  }
  std::string text(const Text& t) const { return t.utf8(shell); }

  test::TempDir dir;
  ShellTables shell = test::markedShell();
};

TEST_F(DbrnFiles, SaveWritesTheUserFileThatLoadReadsBack) {
  EXPECT_EQ(dbrnFileName("123", "use1", "rus"), "123use1_dbrn_rus.dat");
  const DbrnFile db = test::smallTown("use2");
  const fs::path path = saveDbrn(dir.path(), "eng", "use2", db);
  EXPECT_EQ(path, dir / "123use2_dbrn_eng.dat");
  EXPECT_EQ(dir.read("123use2_dbrn_eng.dat"), writeDbrn(db));
  const WizardDbrnLoad load = loadDbrn((dir / "123use2_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(load.loaded->db, db);
  // Saving again replaces the file.
  DbrnFile renamed = db;
  renamed.header.dbName = "Renamed";
  saveDbrn(dir.path(), "eng", "use2", renamed);
  EXPECT_EQ(readDbrnFile(path).db->header.dbName, "Renamed");
  // The header's kind must be the kind saved under.
  EXPECT_THROW(saveDbrn(dir.path(), "eng", "use1", db), std::invalid_argument);
}

TEST_F(DbrnFiles, SystemDatabasesAreTakenOverOutsideViewModeAndClientAdditionsAreLevelThree) {
  shell.shellTexts[609] = "  S609  ";  // trimmed in the caption
  struct Case {
    const char* kind;
    int mode;
    const char* loaded;  // kind, level and caption
  };
  // clang-format off
  const Case cases[] = {
      {"sys2", kImportDbrn, "use2 2 use2 (S511)"}, {"sys2", kViewDbrn, "sys2 2 sys2 (S610)"},
      {"sys1", kCreateDbrn, "use1 1 use1 (S510)"}, {"sys1", kViewDbrn, "sys1 1 sys1 (S609)"},
      {"use1", kViewDbrn, "use1 1 use1 (S510)"}, {"cli2", kCreateDbrn, "cli2 3 cli2 (S218)"},
      {"cli2", kCorrectDbrn, "cli2 3 cli2 (S218)"}, {"cli2", kViewDbrn, "cli2 3 cli2 (S218)"}};
  // clang-format on
  for (const Case& c : cases) {
    const WizardDbrnLoad load = loadDbrn(place(c.kind), c.mode);
    ASSERT_TRUE(load.loaded) << c.kind;
    const WizardDbrn& w = *load.loaded;
    EXPECT_EQ(w.curKind + " " + std::to_string(w.level) + " " + text(w.kindCaption), c.loaded)
        << c.kind << " " << c.mode;
    EXPECT_EQ(w.db.header.dbKind, c.kind);  // replaced only when step 2 passes
  }
  EXPECT_TRUE(dbrnKindCaption("use3").empty());
  EXPECT_EQ(takeOverKind("cli2", kImportDbrn), "cli2");

  // The imported system database is saved as a user database of the same code.
  WizardDbrn imported = *loadDbrn(place("sys2"), kImportDbrn).loaded;
  imported.db.header.dbKind = imported.curKind;
  const fs::path saved = saveDbrn(dir.path(), "eng", imported.curKind, imported.db);
  EXPECT_EQ(readDbrnFile(saved).db->header.key(), "123use2");
}

TEST_F(DbrnFiles, MissingDamagedAndFarTooLongFilesAreReportedByName) {
  WizardDbrnLoad load = loadDbrn((dir / "123use1_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_FALSE(load.loaded);
  EXPECT_EQ(load.message.kind, MessageKind::Error);
  EXPECT_EQ(load.message.utf8(shell), "S830 \"123use1_dbrn_eng.dat\" S831.");

  const DbrnFile town = test::smallTown();
  std::string bytes = writeDbrn(town);
  test::putI32(bytes, kDbrnHeaderSize + 3 * kStreetTypeSize + 4 * kStreetSize + 68, 11);
  dir.write("123use1_dbrn_eng.dat", bytes);
  load = loadDbrn((dir / "123use1_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_FALSE(load.loaded);
  EXPECT_EQ(load.message.utf8(shell), "S830 \"123use1_dbrn_eng.dat\" S832: S836 1 (11 > 10).");

  // A file far beyond any database is refused by its length, before a byte of it is read: the
  // reader would take several times the length in memory.
  EXPECT_GT(kMaxDbrnFileBytes, 5 * kLargestEnteredDbrnBytes);
  const fs::path path = saveDbrn(dir.path(), "eng", "use1", town);
  fs::resize_file(path, kMaxDbrnFileBytes + 1);  // sparse: the disk holds no more than before
  EXPECT_EQ(readDbrnFile(path).error.fault, DbrnFault::TooLong);
  load = loadDbrn((dir / "123use1_dbrn_eng").string(), kViewDbrn);
  EXPECT_EQ(load.message.utf8(shell), "S830 \"123use1_dbrn_eng.dat\" S832: S842.");
}

TEST_F(DbrnFiles, EveryFaultNamesWhatIsWrong) {
  struct Case {
    DbrnFault fault;
    int64_t value, record;
    const char* kind;
    const char* text;
  };
  // clang-format off
  const Case cases[] = {
      {DbrnFault::Truncated, 0, 0, "", "S833"}, {DbrnFault::UnknownKind, 0, 0, "use3", "S834 \"use3\""},
      {DbrnFault::BadCount, -1, 0, "", "S835 (-1)"}, {DbrnFault::TooManyTurns, 11, 1, "", "S836 1 (11 > 10)"},
      {DbrnFault::TooManyLinks, 5, 7, "", "S837 7 (5 > 4)"}, {DbrnFault::SectionStreet, 9, 3, "", "S838 3"},
      {DbrnFault::HouseStreet, 9, 4, "", "S839 4"}, {DbrnFault::LinkSection, 0, 2, "", "S840 2 (0)"},
      {DbrnFault::HouseCountsDisagree, 3, 0, "", "S841"}, {DbrnFault::TooLong, 0, 0, "", "S842"}};
  // clang-format on
  for (const Case& c : cases) {
    DbrnError e;
    e.fault = c.fault;
    e.value = c.value;
    e.record = c.record;
    e.kind = c.kind;
    EXPECT_EQ(text(dbrnReadFailure("f.dat", e)),
              "S830 \"f.dat\" S832: " + std::string(c.text) + ".");
  }
}

}  // namespace
}  // namespace qj
