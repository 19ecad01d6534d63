// The client addition: the reduced copy of a level-2 database, byte by byte, and the dialog's
// OK with its refusals.

#include "dbrn/client_addition.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_io.h"
#include "support/bytes_at.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::i32At;
using test::strAt;

// Five street types of which the second and the fourth have no streets; three streets with
// houses in yards and with links.
DbrnFile sys2() {
  DbrnFile db;
  db.header = {"eng", "007", "River town", "sys2", 0, 0, 0, 4, 0, "01.06.2024"};
  db.streetTypes = {{"avenue", "av.", 1},
                    {"boulevard", "bd.", 0},
                    {"lane", "ln.", 1},
                    {"quay", "q.", 0},
                    {"street", "st.", 1}};
  db.streets = {{"av.", "Kings", "3", 0}, {"ln.", "Mill", "3", 1}, {"st.", "Oak", "3", 2}};
  db.streetHouseCounts = {2, 0, 1};
  for (int i = 0; i < 3; ++i) {
    TransitSectionRec s;
    s.streetIndex = i;
    s.houseFrom = "1";
    s.houseTo = "9";
    s.startNode = std::to_string(i + 1);
    s.endNode = std::to_string(i + 2);
    s.length = "100";
    s.speed = "40";
    s.turns = {{std::to_string(i + 3), "^"}};
    db.sections.push_back(s);
  }
  db.houses = {{0, "1", 1, {{1, 5, 50}, {2, 7, 20}}},
               {0, "3a", 1, {{1, 5, 40}}},
               {2, "12/2", 0, {{3, 10, 10}}}};
  db.syncHeaderCounts();
  return db;
}

TEST(ClientAddition, KeepsTheUsedStreetTypesAndEveryStreetAndHouse) {
  const DbrnFile source = sys2();
  const DbrnFile cli = clientAdditionOf(source);
  EXPECT_EQ(cli.header.dbKind, "cli2");
  EXPECT_EQ(cli.header.streetTypeCount, 3);
  ASSERT_EQ(cli.streetTypes.size(), 3u);
  EXPECT_EQ(cli.streetTypes[0].shortName, "av.");
  EXPECT_EQ(cli.streetTypes[1].shortName, "ln.");
  EXPECT_EQ(cli.streetTypes[2].shortName, "st.");
  // The network's counts are the source's: tasks take their graph from it.
  EXPECT_EQ(cli.header.nodeCount, 4);
  EXPECT_EQ(cli.header.sectionCount, 3);
  EXPECT_EQ(cli.header.houseCount, 3);
  EXPECT_EQ(cli.header.streetCount, 3);
  EXPECT_EQ(cli.header.dbName, source.header.dbName);
  EXPECT_EQ(cli.header.dbDate, source.header.dbDate);
  EXPECT_EQ(cli.streets, source.streets);
  EXPECT_EQ(cli.streetHouseCounts, source.streetHouseCounts);
  EXPECT_TRUE(cli.sections.empty());
  ASSERT_EQ(cli.houses.size(), source.houses.size());
  for (size_t i = 0; i < cli.houses.size(); ++i) {
    EXPECT_EQ(cli.houses[i].streetIndex, source.houses[i].streetIndex) << i;
    EXPECT_EQ(cli.houses[i].houseNo, source.houses[i].houseNo) << i;
  }

  // The file: header, three types, three streets, three house counts, three 16-byte houses.
  const std::string bytes = writeDbrn(cli);
  const size_t houses = 148 + 3 * 32 + 3 * 44 + 3 * 4;
  ASSERT_EQ(bytes.size(), houses + 3 * 16);
  EXPECT_EQ(strAt(bytes, 79), "cli2");
  EXPECT_EQ(i32At(bytes, 84), 3);
  EXPECT_EQ(i32At(bytes, 100), 3);
  EXPECT_EQ(strAt(bytes, 148 + 32 + 21), "ln.");
  EXPECT_EQ(i32At(bytes, houses + 32), 2);
  EXPECT_EQ(strAt(bytes, houses + 32 + 4), "12/2");
  const DbrnRead back = readDbrn(bytes);
  ASSERT_TRUE(back.db) << back.error.text;
  EXPECT_EQ(*back.db, cli);
}

class ClientAdditionOk : public ::testing::Test {
 protected:
  ClientAdditionOk() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
  }
  std::string text(const ClientAdditionResult& r) const {
    return r.message ? r.message->utf8(state.texts) : std::string("(none)");
  }

  test::TempDir dir;
  AppState state;
};

TEST_F(ClientAdditionOk, WritesTheClientAdditionOnceAndNeverOverwritesIt) {
  dir.write("Dbrn/007sys2_dbrn_eng.dat", writeDbrn(sys2()));
  const ClientAdditionResult made = createClientAddition(state, {"007sys2", "River town"});
  EXPECT_EQ(text(made), "(none)");
  EXPECT_FALSE(made.stayOpen);
  EXPECT_EQ(state.selectedPath, (dir / "Dbrn/007sys2_dbrn_eng").string());
  ASSERT_TRUE(made.written);
  EXPECT_EQ(*made.written, dir / "Dbrn/007cli2_dbrn_eng.dat");
  const std::string first = dir.read("Dbrn/007cli2_dbrn_eng.dat");
  EXPECT_EQ(first, writeDbrn(clientAdditionOf(sys2())));

  // The second time is refused and leaves the first file as it was.
  DbrnFile changed = sys2();
  changed.header.dbName = "Changed";
  dir.write("Dbrn/007sys2_dbrn_eng.dat", writeDbrn(changed));
  const ClientAdditionResult again = createClientAddition(state, {"007sys2", "River town"});
  EXPECT_EQ(text(again), "S705 \"007cli2_dbrn_eng.dat\", S31.");
  EXPECT_EQ(again.message->kind, MessageKind::Warning);
  EXPECT_TRUE(again.stayOpen);
  EXPECT_FALSE(again.written);
  EXPECT_EQ(dir.read("Dbrn/007cli2_dbrn_eng.dat"), first);
}

TEST_F(ClientAdditionOk, RefusesLevelOneAndDamagedSources) {
  const ClientAdditionResult sys1 = createClientAddition(state, {"001sys1", "Streets only"});
  EXPECT_EQ(text(sys1), "S107.");
  EXPECT_TRUE(sys1.stayOpen);

  // A file whose header no longer says level 2 has nothing to keep.
  DbrnFile level1 = sys2();
  level1.header.dbKind = "sys1";
  level1.streetHouseCounts.clear();
  level1.houses.clear();
  level1.syncHeaderCounts();
  level1.header.houseCount = 0;
  dir.write("Dbrn/003sys2_dbrn_eng.dat", writeDbrn(level1));
  EXPECT_EQ(text(createClientAddition(state, {"003sys2", "x"})), "S107.");

  dir.write("Dbrn/004sys2_dbrn_eng.dat", writeDbrn(sys2()).substr(0, 200));
  const ClientAdditionResult damaged = createClientAddition(state, {"004sys2", "x"});
  EXPECT_EQ(text(damaged), "S830 \"004sys2_dbrn_eng.dat\" S832: S835 (5).");
  EXPECT_EQ(damaged.message->kind, MessageKind::Error);
  EXPECT_TRUE(damaged.stayOpen);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/004cli2_dbrn_eng.dat"));

  const ClientAdditionResult missing = createClientAddition(state, {"005sys2", "x"});
  EXPECT_EQ(text(missing), "S830 \"005sys2_dbrn_eng.dat\" S831.");

  const Message unwritten = clientAdditionNotWrittenMessage("005cli2_dbrn_eng.dat");
  EXPECT_EQ(unwritten.utf8(state.texts), "S1050 \"005cli2_dbrn_eng.dat\".");
  EXPECT_EQ(unwritten.kind, MessageKind::Error);
}

}  // namespace
}  // namespace qj
