// Database files: names, the wizard's load and save with the take-over of system databases,
// the messages of files that cannot be read, the client addition byte by byte with its dialog,
// and the export of the workbooks.

#include <gtest/gtest.h>

#include "dbrn/client_addition.h"
#include "dbrn/dbrn_export.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/dbrn_workbook.h"
#include "dbrn/dbrn_workbook_import.h"
#include "dbrn/houses_step.h"
#include "dbrn/sections_step.h"
#include "dbrn/street_types_step.h"
#include "dbrn/streets_step.h"
#include "democity/demo_city.h"
#include "support/bytes_at.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"

namespace qj {
namespace {

// A program folder for the dialogs that work on database files.
class DbrnFolder : public ::testing::Test {
 protected:
  DbrnFolder() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
  }
  // The town of the given kind as <dir>/123<kind>_dbrn_eng.dat; its selected path.
  std::string place(const char* kind) {
    dir.write(dbrnFileName("123", kind, "eng"), writeDbrn(test::smallTown(kind)));
    return (dir / ("123" + std::string(kind) + "_dbrn_eng")).string();
  }
  std::string text(const Text& t) const { return t.utf8(state.texts); }
  // A message in UTF-8, "!" after an error and "?" after a warning.
  std::string text(const Message& m) const {
    return m.utf8(state.texts) + (m.kind == MessageKind::Error ? "!" : "?");
  }
  // What the wizard loads from `selected`: its kind, level and caption, or the message.
  std::string loaded(const std::string& selected, int mode) const {
    const WizardDbrnLoad load = loadDbrn(selected, mode);
    if (!load.loaded) return text(load.message);
    return load.loaded->curKind + " " + std::to_string(load.loaded->level) + " " +
           text(load.loaded->kindCaption);
  }
  // The database written under its file name and chosen.
  void choose(const DbrnFile& db) {
    const std::string name = dbrnFileName(db.header.dbCode, db.header.dbKind, "eng");
    dir.write("Dbrn/" + name, writeDbrn(db));
    state.selectedPath = (dir / "Dbrn" / name).replace_extension().string();
  }
  // The message with its kind, whether the dialog stays open and the file written.
  std::string text(const ClientAdditionResult& r) const {
    return (r.message ? text(*r.message) : std::string("(none)")) +
           (r.stayOpen ? " open" : " closed") +
           (r.written ? " " + r.written->filename().string() : "");
  }

  // Refused or not, the workbooks written and the messages with their kinds.
  std::string outcome(const DbrnExport& e) const {
    std::string out = e.refused ? "refused" : "done";
    for (const auto* book : {&e.mainWorkbook, &e.houseWorkbook})
      out += " " + (*book ? book->value().filename().string() : "-");
    for (const Message& m : e.messages) out += " " + text(m);
    return out;
  }

  test::TempDir dir;
  AppState state;
};

TEST_F(DbrnFolder, SystemDatabasesAreTakenOverOutsideViewModeAndClientAdditionsAreLevelThree) {
  state.texts.shellTexts[609] = "  S609  ";  // trimmed in the caption
  // The kind of the file, the operation, and the kind, level and caption loaded.
  // clang-format off
  const std::tuple<const char*, int, const char*> cases[] = {
      {"sys2", kImportDbrn, "use2 2 use2 (S511)"}, {"sys2", kViewDbrn, "sys2 2 sys2 (S610)"},
      {"sys1", kCreateDbrn, "use1 1 use1 (S510)"}, {"sys1", kViewDbrn, "sys1 1 sys1 (S609)"},
      {"cli2", kCorrectDbrn, "cli2 3 cli2 (S218)"}, {"cli2", kViewDbrn, "cli2 3 cli2 (S218)"}};
  // clang-format on
  for (const auto& [kind, mode, expected] : cases)
    EXPECT_EQ(loaded(place(kind), mode), expected) << kind << mode;

  // The imported system database keeps its kind until step 2 and is saved as a user database
  // of the same code.
  WizardDbrn imported = *loadDbrn(place("sys2"), kImportDbrn).loaded;
  EXPECT_EQ(imported.db.header.dbKind, "sys2");
  imported.db.header.dbKind = imported.curKind;
  const fs::path saved = saveDbrn(dir.path(), "eng", imported.curKind, imported.db);
  EXPECT_EQ(readDbrnFile(saved).db->header.key(), "123use2");
  // A kind other than the header's is never saved.
  EXPECT_THROW(saveDbrn(dir.path(), "eng", "use1", imported.db), std::invalid_argument);
  // Missing, damaged and far too long files are reported by name.
  const std::string selected = (dir / "123use1_dbrn_eng").string();
  EXPECT_EQ(loaded(selected, kCorrectDbrn), "S830 \"123use1_dbrn_eng.dat\" S831.!");
  std::string bytes = writeDbrn(test::smallTown());
  test::putI32(bytes, kDbrnHeaderSize + 3 * kStreetTypeSize + 4 * kStreetSize + 68, 11);
  dir.write("123use1_dbrn_eng.dat", bytes);
  EXPECT_EQ(loaded(selected, kCorrectDbrn),
            "S830 \"123use1_dbrn_eng.dat\" S832: S836 1 (11 > 10).!");

  // A file far beyond any database is refused by its length, before a byte of it is read: the
  // reader would take several times the length in memory.
  const fs::path path = saveDbrn(dir.path(), "eng", "use1", test::smallTown());
  fs::resize_file(path, kMaxDbrnFileBytes + 1);  // sparse: the disk holds no more than before
  EXPECT_EQ(loaded(selected, kViewDbrn), "S830 \"123use1_dbrn_eng.dat\" S832: S842.!");
  // A database whose records and grids would take more than the wizard may is refused as too
  // large, after the reader admitted it.
  for (int k = static_cast<int>(state.texts.shellTexts.size()); k <= 1343; ++k)
    state.texts.shellTexts.push_back("S" + std::to_string(k));
  dir.write("123use1_dbrn_eng.dat", writeDbrn(test::smallTown()));
  const uint64_t weight =
      dbrnWizardBytesBound(test::smallTown().header, writeDbrn(test::smallTown()).size());
  EXPECT_TRUE(loadDbrn(selected, kCorrectDbrn, weight).loaded);
  EXPECT_EQ(text(loadDbrn(selected, kImportDbrn, weight - 1).message),
            "S830 \"123use1_dbrn_eng.dat\" S1340: S1341 1 S1342 0 S1343.!");
  EXPECT_EQ(text(dbrnTooLargeForWizard("f.dat", (1141ull << 20) + 1, kMaxDbrnWizardBytes)),
            "S830 \"f.dat\" S1340: S1341 1142 S1342 896 S1343.");
  // Every fault names what is wrong.
  using F = DbrnFault;
  // clang-format off
  const std::pair<DbrnError, const char*> faults[] = {
      {{F::Truncated, 0, 0, ""}, "S833"}, {{F::BadCount, -1, 0, ""}, "S835 (-1)"},
      {{F::UnknownKind, 0, 0, "use3"}, "S834 \"use3\""}, {{F::TooLong, 0, 0, ""}, "S842"},
      {{F::TooManyTurns, 11, 1, ""}, "S836 1 (11 > 10)"}, {{F::HouseStreet, 9, 4, ""}, "S839 4"},
      {{F::TooManyLinks, 5, 7, ""}, "S837 7 (5 > 4)"}, {{F::SectionStreet, 9, 3, ""}, "S838 3"},
      {{F::LinkSection, 0, 2, ""}, "S840 2 (0)"}, {{F::HouseCountsDisagree, 3, 0, ""}, "S841"}};
  // clang-format on
  for (const auto& [error, expected] : faults)
    EXPECT_EQ(text(dbrnReadFailure("f.dat", error)),
              "S830 \"f.dat\" S832: " + std::string(expected) + ".");
}

// What the wizard is allowed to keep lets the largest database that can be entered open with
// room to spare, and refuses the densest databases that only the optimiser needs to read: those
// that viewing took more than 2 GiB for.
TEST(DbrnWizardMemory, TheLargestEnteredDatabaseOpensAndTheDensestAdmittedOnesDoNot) {
  DbrnHeader largest = test::smallTown("sys2").header;
  largest.streetTypeCount = 100;
  largest.streetCount = 10000;
  largest.sectionCount = 200000;
  largest.houseCount = 300000;
  EXPECT_LT(dbrnWizardBytesBound(largest, kLargestEnteredDbrnBytes), kMaxDbrnWizardBytes * 2 / 3);
  DbrnHeader houses = test::smallTown("sys2").header;
  houses.houseCount = 2'849'000;
  const uint64_t houseBytes = kDbrnHeaderSize + 4096 + houses.houseCount * 72ull;
  EXPECT_LE(dbrnKeptBytesBound(houses, houseBytes), kMaxDbrnKeptBytes);
  EXPECT_GT(dbrnWizardBytesBound(houses, houseBytes), kMaxDbrnWizardBytes);
  DbrnHeader sections = test::smallTown("sys2").header;
  sections.sectionCount = 900'000;
  const uint64_t sectionBytes = kDbrnHeaderSize + 4096 + sections.sectionCount * 80ull;
  EXPECT_LE(dbrnKeptBytesBound(sections, sectionBytes), kMaxDbrnKeptBytes);
  EXPECT_GT(dbrnWizardBytesBound(sections, sectionBytes), kMaxDbrnWizardBytes);
}

// Every grid of the wizard keeps no more for a database than the bound weighs it by, though
// every record holds the longest texts and numbers that its file can give.
TEST(DbrnWizardMemory, GridsOfTheLongestRecordsKeepNoMoreThanTheyAreWeighedBy) {
  DbrnFile db;
  db.header = test::smallTown("sys2").header;
  db.streetTypes = {{"abcdefghijklmnopqrst", "abcd", 3}};
  for (int32_t i = 0; i < 3; ++i)
    db.streets.push_back({"abcd", std::string(29, 'n') + char('a' + i), "3", i});
  const int32_t sections = 40;
  for (int32_t i = 0; i < sections; ++i)
    db.sections.push_back({i % 3, "123456789", "123456799", "*", std::to_string(10000 + i),
                           std::to_string(10001 + i), "1234567,89", "1234567,89", "*", "*", "*",
                           "123456", std::vector<TurnRec>(kMaxTurns, TurnRec{"99999", "^"})});
  db.streetHouseCounts = {20, 20, 20};
  for (int32_t i = 0; i < 60; ++i)
    db.houses.push_back(
        {i / 20, "123456789", 2147483647,
         std::vector<HouseLinkRec>(kMaxLinks, {sections, -2147483647, 2147483647})});
  db.syncHeaderCounts();
  for (const int mode : {kViewDbrn, kCorrectDbrn}) {
    SCOPED_TRACE(mode);
    DbrnWizardState s = newDbrnWizard(mode, ',', "eng", test::markedShell());
    installDbrn(s, {db, "use2", 2, {}});
    fillTable0(s);
    listStreetsByType(s, false);
    prepareStreetsPage(s);
    prepareSectionsPage(s, 0);
    prepareHousesPage(s);
    ASSERT_EQ(s.table1.rows() + s.table4.rows() + s.table_0.rows(), sections + 60 + 3);
    uint64_t kept = 0;
    for (const GridTable* t : {&s.table0, &s.table_0, &s.table1, &s.table2, &s.table3, &s.table4})
      kept += t->keptBytes();
    const uint64_t bound = dbrnGridBytesBound(dbrnHeldCounts(db.header, dbrnFileBytes(db)), 1);
    EXPECT_LE(kept, bound);
    EXPECT_GT(kept, bound * 3 / 5);  // weighed, not guessed high
  }
}

// The town at level 2 with a street type that no street has.
DbrnFile sys2() {
  DbrnFile db = test::smallTown("sys2");
  db.streetTypes.insert(db.streetTypes.begin() + 1, {"boulevard", "bd.", 0});
  db.syncHeaderCounts();
  return db;
}

TEST(ClientAddition, KeepsTheUsedStreetTypesAndEveryStreetAndHouse) {
  const DbrnFile source = sys2();
  const DbrnFile cli = clientAdditionOf(source);
  // The used street types; every street and house, the houses without yards and links; the
  // network's counts of the source, since tasks take their graph from it.
  DbrnFile expected = source;
  expected.header.dbKind = "cli2";
  expected.header.streetTypeCount = 3;
  expected.streetTypes.erase(expected.streetTypes.begin() + 1);
  expected.sections.clear();
  for (HouseRec& h : expected.houses) h = {h.streetIndex, h.houseNo, 0, {}};
  EXPECT_EQ(cli, expected);

  EXPECT_EQ(readDbrn(writeDbrn(cli)).db, cli);
}

TEST_F(DbrnFolder, AClientAdditionIsWrittenOnceAndNeverOverwritten) {
  dir.write("Dbrn/123sys2_dbrn_eng.dat", writeDbrn(sys2()));
  EXPECT_EQ(text(createClientAddition(state, {"123sys2", "Small town"})),
            "(none) closed 123cli2_dbrn_eng.dat");
  const std::string first = dir.read("Dbrn/123cli2_dbrn_eng.dat");
  EXPECT_EQ(first, writeDbrn(clientAdditionOf(sys2())));

  // The second time is refused and leaves the first file as it was.
  DbrnFile changed = sys2();
  changed.header.dbName = "Changed";
  dir.write("Dbrn/123sys2_dbrn_eng.dat", writeDbrn(changed));
  EXPECT_EQ(text(createClientAddition(state, {"123sys2", "Small town"})),
            "S705 \"123cli2_dbrn_eng.dat\", S31.? open");
  EXPECT_EQ(dir.read("Dbrn/123cli2_dbrn_eng.dat"), first);
  // A client addition of level 1 or of a damaged source is refused.
  EXPECT_EQ(text(createClientAddition(state, {"001sys1", "Streets only"})), "S107.? open");
  // A file whose header no longer says level 2 has nothing to keep.
  DbrnFile level1 = sys2();
  level1.header.dbKind = "sys1";
  level1.streetHouseCounts.clear();
  level1.houses.clear();
  level1.syncHeaderCounts();
  dir.write("Dbrn/003sys2_dbrn_eng.dat", writeDbrn(level1));
  EXPECT_EQ(text(createClientAddition(state, {"003sys2", "x"})), "S107.? open");

  dir.write("Dbrn/004sys2_dbrn_eng.dat", writeDbrn(sys2()).substr(0, 200));
  EXPECT_EQ(text(createClientAddition(state, {"004sys2", "x"})),
            "S830 \"004sys2_dbrn_eng.dat\" S832: S835 (4).! open");
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/004cli2_dbrn_eng.dat"));
  EXPECT_EQ(text(createClientAddition(state, {"005sys2", "x"})),
            "S830 \"005sys2_dbrn_eng.dat\" S831.! open");
}

TEST_F(DbrnFolder, ExportOfLevelTwoGivesTwoWorkbooksThatTheImportReadsBack) {
  const DbrnFile db = demoCity(2, "eng");
  choose(db);
  // The rows written are told as they go, up to the rows of both workbooks.
  int64_t done = -1, total = 0;
  const DbrnExport first = exportDbrnWorkbooks(state, [&](int64_t d, int64_t t) {
    EXPECT_GE(d, done);
    done = d;
    total = t;
  });
  EXPECT_EQ(done, total);
  EXPECT_EQ(total, dbrnWorkbookRows(db) + dbrnHouseWorkbookRows(db));
  EXPECT_EQ(outcome(first), "done 002sys2_dbrn_eng.xlsx 002sys2_dbrn_eng#.xlsx");
  // What the import reads back of them is the database.
  EXPECT_EQ(importDbrnWorkbook(*first.mainWorkbook, "eng").loaded->db.houses, db.houses);
  // A second export never replaces the first pair; a lone house workbook moves the pair on.
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)),
            "done 002sys2_dbrn_eng (2).xlsx 002sys2_dbrn_eng (2)#.xlsx");
  // A link planted at a name, or a file put there, is passed over and left as it is.
  const auto exported = dir / "Export";
  std::filesystem::create_symlink(dir / "elsewhere", exported / "002sys2_dbrn_eng (3)#.xlsx");
  dir.write("Export/002sys2_dbrn_eng (4).xlsx", "someone's");
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)),
            "done 002sys2_dbrn_eng (5).xlsx 002sys2_dbrn_eng (5)#.xlsx");
  EXPECT_TRUE(std::filesystem::is_symlink(exported / "002sys2_dbrn_eng (3)#.xlsx"));
  EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
  EXPECT_FALSE(std::filesystem::exists(exported / "002sys2_dbrn_eng (3).xlsx"));
  EXPECT_EQ(dir.read("Export/002sys2_dbrn_eng (4).xlsx"), "someone's");
  // Level 1 has no house workbook; failures are reported.
  choose(demoCity(1, "eng"));
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)), "done 001sys1_dbrn_eng.xlsx -");
  choose(clientAdditionOf(demoCity(2, "eng")));
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)), "refused - - S28.?");
  state.selectedPath = (dir / "Dbrn/009use1_dbrn_eng").string();
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)),
            "refused - - S830 \"009use1_dbrn_eng.dat\" S831.!");
  std::filesystem::remove_all(dir / "Export");
  dir.write("Export", "in the way");  // nothing can be written there
  choose(demoCity(2, "eng"));
  EXPECT_EQ(outcome(exportDbrnWorkbooks(state)), "done - - S467.!");
}

}  // namespace
}  // namespace qj
