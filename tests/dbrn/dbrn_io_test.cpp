#include "dbrn/dbrn_io.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace qj {
namespace {

ShellTables tables() {
  ShellTables t;
  t.shellTexts.resize(843);
  t.shellTexts[218] = "client addition";
  t.shellTexts[510] = "user, streets";
  t.shellTexts[511] = "user, houses";
  t.shellTexts[609] = "  system, streets  ";
  t.shellTexts[610] = "system, houses";
  t.shellTexts[830] = "The database file";
  t.shellTexts[831] = "cannot be opened";
  t.shellTexts[832] = "is damaged";
  t.shellTexts[833] = "it ends too early";
  t.shellTexts[834] = "unknown kind";
  t.shellTexts[835] = "bad count";
  t.shellTexts[836] = "too many turns at section";
  t.shellTexts[837] = "too many links at house";
  t.shellTexts[838] = "no such street at section";
  t.shellTexts[839] = "no such street at house";
  t.shellTexts[840] = "no such section at house";
  t.shellTexts[841] = "house counts disagree";
  t.shellTexts[842] = "far too long";
  return t;
}

DbrnFile smallDb(const char* kind) {
  DbrnFile db;
  db.header = {"eng", "042", "Small", kind, 0, 0, 0, 2, 0, "01.06.2024"};
  db.streetTypes = {{"street", "st.", 1}};
  db.streets = {{"st.", "Oak", "3", 0}};
  TransitSectionRec s;
  s.houseFrom = "1";
  s.houseTo = "9";
  s.startNode = "00001";
  s.endNode = "00002";
  s.length = "100";
  s.speed = "40";
  if (dbLevel(kind) != 3) db.sections = {s};
  if (dbLevel(kind) >= 2) {
    db.streetHouseCounts = {1};
    db.houses = {{0, "5", 0, {}}};
    if (dbLevel(kind) == 2) db.houses[0].links = {{1, 0, 50}};
  }
  db.syncHeaderCounts();
  return db;
}

TEST(DbrnFiles, NamesFollowCodeKindAndLanguage) {
  EXPECT_EQ(dbrnFileName("123", "use1", "rus"), "123use1_dbrn_rus.dat");
}

TEST(DbrnFiles, SaveWritesTheUserFileThatLoadReadsBack) {
  test::TempDir dir;
  const DbrnFile db = smallDb("use2");
  const fs::path path = saveDbrn(dir.path(), "eng", "use2", db);
  EXPECT_EQ(path, dir / "042use2_dbrn_eng.dat");
  EXPECT_EQ(dir.read("042use2_dbrn_eng.dat"), writeDbrn(db));

  const WizardDbrnLoad load = loadDbrn((dir / "042use2_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(load.loaded->db, db);
  EXPECT_EQ(load.loaded->curKind, "use2");
  EXPECT_EQ(load.loaded->level, 2);
  EXPECT_EQ(load.loaded->kindCaption.resolve(tables()), "use2 (user, houses)");

  // Saving again replaces the file.
  DbrnFile renamed = db;
  renamed.header.dbName = "Renamed";
  saveDbrn(dir.path(), "eng", "use2", renamed);
  EXPECT_EQ(readDbrnFile(path).db->header.dbName, "Renamed");
}

TEST(DbrnFiles, SystemDatabasesAreTakenOverOutsideViewMode) {
  test::TempDir dir;
  dir.write("042sys2_dbrn_eng.dat", writeDbrn(smallDb("sys2")));
  dir.write("042sys1_dbrn_eng.dat", writeDbrn(smallDb("sys1")));
  const std::string sys2 = (dir / "042sys2_dbrn_eng").string();
  const std::string sys1 = (dir / "042sys1_dbrn_eng").string();

  WizardDbrnLoad load = loadDbrn(sys2, kImportDbrn);
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(load.loaded->curKind, "use2");
  EXPECT_EQ(load.loaded->db.header.dbKind, "sys2");  // replaced only when step 2 passes
  EXPECT_EQ(load.loaded->kindCaption.resolve(tables()), "use2 (user, houses)");

  load = loadDbrn(sys2, kViewDbrn);
  EXPECT_EQ(load.loaded->curKind, "sys2");
  EXPECT_EQ(load.loaded->level, 2);
  EXPECT_EQ(load.loaded->kindCaption.resolve(tables()), "sys2 (system, houses)");

  load = loadDbrn(sys1, kCreateDbrn);
  EXPECT_EQ(load.loaded->curKind, "use1");
  EXPECT_EQ(load.loaded->level, 1);
  load = loadDbrn(sys1, kViewDbrn);
  EXPECT_EQ(load.loaded->kindCaption.resolve(tables()), "sys1 (system, streets)");

  // The imported system database is saved as a user database of the same code, once step 2
  // has given the header its kind.
  WizardDbrn imported = *loadDbrn(sys2, kImportDbrn).loaded;
  EXPECT_THROW(saveDbrn(dir.path(), "eng", imported.curKind, imported.db), std::invalid_argument);
  imported.db.header.dbKind = imported.curKind;
  const fs::path saved = saveDbrn(dir.path(), "eng", imported.curKind, imported.db);
  EXPECT_EQ(saved.filename(), "042use2_dbrn_eng.dat");
  EXPECT_EQ(readDbrnFile(saved).db->header.key(), "042use2");
}

TEST(DbrnFiles, ClientAdditionLoadsAsLevelThreeWithWidenedHouses) {
  test::TempDir dir;
  DbrnFile cli = smallDb("cli2");
  cli.header.sectionCount = 1;
  dir.write("042cli2_dbrn_eng.dat", writeDbrn(cli));
  for (int mode : {kCreateDbrn, kImportDbrn, kCorrectDbrn, kViewDbrn}) {
    const WizardDbrnLoad load = loadDbrn((dir / "042cli2_dbrn_eng").string(), mode);
    ASSERT_TRUE(load.loaded);
    EXPECT_EQ(load.loaded->curKind, "cli2");
    EXPECT_EQ(load.loaded->level, 3);
    EXPECT_EQ(load.loaded->kindCaption.resolve(tables()), "cli2 (client addition)");
    EXPECT_TRUE(load.loaded->db.sections.empty());
    ASSERT_EQ(load.loaded->db.houses.size(), 1u);
    EXPECT_EQ(load.loaded->db.houses[0].yardNo, 0);
    EXPECT_TRUE(load.loaded->db.houses[0].links.empty());
  }
}

TEST(DbrnFiles, KindCaptionsOfOtherTextsAreEmpty) {
  EXPECT_TRUE(dbrnKindCaption("use3").empty());
  EXPECT_EQ(takeOverKind("cli2", kImportDbrn), "cli2");
}

TEST(DbrnFiles, HeaderFileReadsOnlyTheHeader) {
  test::TempDir dir;
  dir.write("042use1_dbrn_eng.dat", writeDbrn(smallDb("use1")).substr(0, kDbrnHeaderSize));
  const auto h = readDbrnHeaderFile(dir / "042use1_dbrn_eng.dat");
  ASSERT_TRUE(h);
  EXPECT_EQ(h->key(), "042use1");
  EXPECT_EQ(h->sectionCount, 1);
  dir.write("short.dat", "eng");
  EXPECT_FALSE(readDbrnHeaderFile(dir / "short.dat"));
  EXPECT_FALSE(readDbrnHeaderFile(dir / "missing.dat"));
}

TEST(DbrnMessages, MissingAndDamagedFilesAreReportedByName) {
  test::TempDir dir;
  WizardDbrnLoad load = loadDbrn((dir / "042use1_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_FALSE(load.loaded);
  EXPECT_EQ(load.message.kind, MessageKind::Error);
  EXPECT_EQ(load.message.utf8(tables()),
            "The database file \"042use1_dbrn_eng.dat\" cannot be opened.");

  std::string bytes = writeDbrn(smallDb("use1"));
  const int32_t eleven = 11;
  std::memcpy(bytes.data() + kDbrnHeaderSize + kStreetTypeSize + kStreetSize + 68, &eleven, 4);
  dir.write("042use1_dbrn_eng.dat", bytes);
  load = loadDbrn((dir / "042use1_dbrn_eng").string(), kCorrectDbrn);
  ASSERT_FALSE(load.loaded);
  EXPECT_EQ(load.message.utf8(tables()),
            "The database file \"042use1_dbrn_eng.dat\" is damaged: too many turns at section 1 "
            "(11 > 10).");
}

// A file far beyond any database is refused by its length, before a byte of it is read: the
// reader would take several times the length in memory.
TEST(DbrnFiles, AFileFarLongerThanAnyDatabaseIsRefusedUnread) {
  test::TempDir dir;
  EXPECT_GT(kMaxDbrnFileBytes, 5 * kLargestEnteredDbrnBytes);
  const fs::path path = saveDbrn(dir.path(), "eng", "use1", smallDb("use1"));
  fs::resize_file(path, kMaxDbrnFileBytes + 1);  // sparse: the disk holds no more than before
  EXPECT_EQ(readDbrnFile(path).error.fault, DbrnFault::TooLong);
  const WizardDbrnLoad load = loadDbrn((dir / "042use1_dbrn_eng").string(), kViewDbrn);
  ASSERT_FALSE(load.loaded);
  EXPECT_EQ(load.message.utf8(tables()),
            "The database file \"042use1_dbrn_eng.dat\" is damaged: far too long.");
}

TEST(DbrnMessages, EveryFaultNamesWhatIsWrong) {
  const ShellTables t = tables();
  auto text = [&](DbrnFault fault, int64_t value, int64_t record, std::string kind = {}) {
    DbrnError e;
    e.fault = fault;
    e.value = value;
    e.record = record;
    e.kind = std::move(kind);
    return dbrnReadFailure("f.dat", e).utf8(t);
  };
  const std::string head = "The database file \"f.dat\" is damaged: ";
  EXPECT_EQ(text(DbrnFault::Truncated, 0, 0), head + "it ends too early.");
  EXPECT_EQ(text(DbrnFault::UnknownKind, 0, 0, "use3"), head + "unknown kind \"use3\".");
  EXPECT_EQ(text(DbrnFault::BadCount, -1, 0), head + "bad count (-1).");
  EXPECT_EQ(text(DbrnFault::TooManyLinks, 5, 7), head + "too many links at house 7 (5 > 4).");
  EXPECT_EQ(text(DbrnFault::SectionStreet, 9, 3), head + "no such street at section 3.");
  EXPECT_EQ(text(DbrnFault::HouseStreet, 9, 4), head + "no such street at house 4.");
  EXPECT_EQ(text(DbrnFault::LinkSection, 0, 2), head + "no such section at house 2 (0).");
  EXPECT_EQ(text(DbrnFault::HouseCountsDisagree, 3, 0), head + "house counts disagree.");
}

}  // namespace
}  // namespace qj
