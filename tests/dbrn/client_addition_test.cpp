// The client addition: the reduced copy of a level-2 database, byte by byte, and the dialog's
// OK with its refusals.

#include "dbrn/client_addition.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_io.h"
#include "support/bytes_at.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"

namespace qj {
namespace {

using test::i32At;
using test::strAt;

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
  std::string types;
  for (const StreetTypeRec& t : cli.streetTypes) types += t.shortName;
  EXPECT_EQ(types, "st.ave.ln.");
  // The network's counts are the source's: tasks take their graph from it.
  DbrnHeader header = source.header;
  header.dbKind = "cli2";
  header.streetTypeCount = 3;
  EXPECT_EQ(cli.header, header);
  EXPECT_EQ(cli.streets, source.streets);
  EXPECT_EQ(cli.streetHouseCounts, source.streetHouseCounts);
  EXPECT_TRUE(cli.sections.empty());
  ASSERT_EQ(cli.houses.size(), source.houses.size());
  for (size_t i = 0; i < cli.houses.size(); ++i)
    EXPECT_EQ(cli.houses[i],
              (HouseRec{source.houses[i].streetIndex, source.houses[i].houseNo, 0, {}}));

  // The file: header, three types, four streets and their house counts, four 16-byte houses.
  const std::string bytes = writeDbrn(cli);
  const size_t houses = 148 + 3 * 32 + 4 * 44 + 4 * 4;
  ASSERT_EQ(bytes.size(), houses + 4 * 16);
  EXPECT_EQ(strAt(bytes, 79) + " " + strAt(bytes, 148 + 32 + 21) + " " + strAt(bytes, houses + 52),
            "cli2 ave. 4");
  EXPECT_EQ(i32At(bytes, 84) * 100 + i32At(bytes, 100) * 10 + i32At(bytes, houses + 48),
            3 * 100 + 10 * 10 + 1);
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
  dir.write("Dbrn/123sys2_dbrn_eng.dat", writeDbrn(sys2()));
  const ClientAdditionResult made = createClientAddition(state, {"123sys2", "Small town"});
  EXPECT_EQ(text(made), "(none)");
  EXPECT_FALSE(made.stayOpen);
  EXPECT_EQ(state.selectedPath, (dir / "Dbrn/123sys2_dbrn_eng").string());
  ASSERT_TRUE(made.written);
  EXPECT_EQ(*made.written, dir / "Dbrn/123cli2_dbrn_eng.dat");
  const std::string first = dir.read("Dbrn/123cli2_dbrn_eng.dat");
  EXPECT_EQ(first, writeDbrn(clientAdditionOf(sys2())));

  // The second time is refused and leaves the first file as it was.
  DbrnFile changed = sys2();
  changed.header.dbName = "Changed";
  dir.write("Dbrn/123sys2_dbrn_eng.dat", writeDbrn(changed));
  const ClientAdditionResult again = createClientAddition(state, {"123sys2", "Small town"});
  EXPECT_EQ(text(again), "S705 \"123cli2_dbrn_eng.dat\", S31.");
  EXPECT_EQ(again.message->kind, MessageKind::Warning);
  EXPECT_TRUE(again.stayOpen);
  EXPECT_FALSE(again.written);
  EXPECT_EQ(dir.read("Dbrn/123cli2_dbrn_eng.dat"), first);
}

TEST_F(ClientAdditionOk, RefusesLevelOneAndDamagedSources) {
  EXPECT_EQ(text(createClientAddition(state, {"001sys1", "Streets only"})), "S107.");
  // A file whose header no longer says level 2 has nothing to keep.
  DbrnFile level1 = sys2();
  level1.header.dbKind = "sys1";
  level1.streetHouseCounts.clear();
  level1.houses.clear();
  level1.syncHeaderCounts();
  dir.write("Dbrn/003sys2_dbrn_eng.dat", writeDbrn(level1));
  EXPECT_EQ(text(createClientAddition(state, {"003sys2", "x"})), "S107.");

  dir.write("Dbrn/004sys2_dbrn_eng.dat", writeDbrn(sys2()).substr(0, 200));
  const ClientAdditionResult damaged = createClientAddition(state, {"004sys2", "x"});
  EXPECT_EQ(text(damaged), "S830 \"004sys2_dbrn_eng.dat\" S832: S835 (4).");
  EXPECT_EQ(damaged.message->kind, MessageKind::Error);
  EXPECT_TRUE(damaged.stayOpen);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/004cli2_dbrn_eng.dat"));
  EXPECT_EQ(text(createClientAddition(state, {"005sys2", "x"})),
            "S830 \"005sys2_dbrn_eng.dat\" S831.");
  const Message unwritten = clientAdditionNotWrittenMessage("005cli2_dbrn_eng.dat");
  EXPECT_EQ(unwritten.utf8(state.texts), "S1050 \"005cli2_dbrn_eng.dat\".");
  EXPECT_EQ(unwritten.kind, MessageKind::Error);
}

}  // namespace
}  // namespace qj
