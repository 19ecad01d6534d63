#include "records/dbrn_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "support/bytes_at.h"

namespace qj {
namespace {

using test::i32At;
using test::putI32;
using test::strAt;

TransitSectionRec section(int32_t street, const char* from, const char* to, const char* a,
                          const char* b, std::vector<TurnRec> turns) {
  TransitSectionRec s;
  s.streetIndex = street;
  s.houseFrom = from;
  s.houseTo = to;
  s.startNode = a;
  s.endNode = b;
  s.length = "120,5";
  s.speed = "40";
  s.turns = std::move(turns);
  return s;
}

// Two streets of two types, three sections (a two-way block and a one-way one), and at
// level 2 three houses, one of them in a yard with two links.
DbrnFile sampleDb(const char* kind) {
  DbrnFile db;
  db.header.language = "eng";
  db.header.dbCode = "123";
  db.header.dbName = "Sample town";
  db.header.dbKind = kind;
  db.header.nodeCount = 3;
  db.header.dbDate = "06.12.2026";
  db.streetTypes = {{"avenue", "av.", 1}, {"street", "st.", 1}};
  db.streets = {{"av.", "Main", "3", 0}, {"st.", "Oak", "3", 1}};
  db.sections = {section(0, "1", "9", "00001", "00002", {{"00001", "v"}, {"00003", ">"}}),
                 section(0, "10", "2", "00002", "00001", {}),
                 section(1, "1", "5", "00002", "00003", {{"00002", "^"}})};
  db.sections[0].reverseSection = "2";
  db.sections[1].reverseSection = "1";
  db.sections[1].closed = "*";
  db.sections[2].nonStdNumbering = "*";
  db.sections[2].prevObjectsClosed = "*";
  db.sections[2].reverseObjectsClosed = "*";
  if (dbLevel(kind) >= 2) {
    db.streetHouseCounts = {2, 1};
    db.houses = {{0, "3", 0, {{1, 0, 80}}},
                 {0, "5а", 1, {{1, 25, 60}, {2, 30, 10}}},
                 {1, "1", 0, {{3, 0, 100}}}};
    if (dbLevel(kind) == 3) {
      db.sections.clear();
      for (auto& h : db.houses) {
        h.yardNo = 0;
        h.links.clear();
      }
    }
  }
  db.syncHeaderCounts();
  return db;
}

TEST(DbrnLayout, HeaderFieldsSitAtTheirOffsets) {
  ByteWriter w;
  DbrnHeader h;
  h.language = "rus";
  h.dbCode = "007";
  h.dbName = "Demo";
  h.dbKind = "sys2";
  h.streetTypeCount = 5;
  h.streetCount = 40;
  h.houseCount = 900;
  h.nodeCount = 120;
  h.sectionCount = 431;
  h.dbDate = "01.06.2024";
  writeDbrnHeader(w, h);
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kDbrnHeaderSize);
  EXPECT_EQ(strAt(b, 0), "rus");
  EXPECT_EQ(strAt(b, 4), "007");
  EXPECT_EQ(strAt(b, 8), "Demo");
  EXPECT_EQ(strAt(b, 79), "sys2");
  EXPECT_EQ(i32At(b, 84), 5);
  EXPECT_EQ(i32At(b, 88), 40);
  EXPECT_EQ(i32At(b, 92), 900);
  EXPECT_EQ(i32At(b, 96), 120);
  EXPECT_EQ(i32At(b, 100), 431);
  EXPECT_EQ(strAt(b, 104), "01.06.2024");
  EXPECT_EQ(b.substr(145, 3), std::string(3, '\0'));
  EXPECT_EQ(h.key(), "007sys2");
}

TEST(DbrnLayout, StreetRecordsSitAtTheirOffsets) {
  ByteWriter w;
  writeStreetType(w, {"embankment", "emb.", 3});
  writeStreet(w, {"emb.", "River", "3", 17});
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kStreetTypeSize + kStreetSize);
  EXPECT_EQ(strAt(b, 0), "embankment");
  EXPECT_EQ(strAt(b, 21), "emb.");
  EXPECT_EQ(b.substr(26, 2), std::string(2, '\0'));
  EXPECT_EQ(i32At(b, 28), 3);
  const size_t s = kStreetTypeSize;
  EXPECT_EQ(strAt(b, s + 0), "emb.");
  EXPECT_EQ(strAt(b, s + 5), "River");
  EXPECT_EQ(strAt(b, s + 36), "3");
  EXPECT_EQ(i32At(b, s + 40), 17);
}

TEST(DbrnLayout, SectionAndTurnFieldsSitAtTheirOffsets) {
  TransitSectionRec sec = section(4, "12а", "18", "00012", "00345", {{}, {}, {}});
  sec.nonStdNumbering = "*";
  sec.length = "1234567,89";
  sec.speed = "60.5";
  sec.closed = "*";
  sec.prevObjectsClosed = "*";
  sec.reverseObjectsClosed = "*";
  sec.reverseSection = "199999";
  ByteWriter w;
  writeSection(w, sec);
  writeTurn(w, {"00345", "<"});
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kSectionSize + kTurnSize);
  EXPECT_EQ(i32At(b, 0), 4);
  EXPECT_EQ(strAt(b, 4), "12а");
  EXPECT_EQ(strAt(b, 14), "18");
  EXPECT_EQ(strAt(b, 24), "*");
  EXPECT_EQ(strAt(b, 26), "00012");
  EXPECT_EQ(strAt(b, 32), "00345");
  EXPECT_EQ(strAt(b, 38), "1234567,89");
  EXPECT_EQ(strAt(b, 49), "60.5");
  EXPECT_EQ(strAt(b, 60), "*");
  EXPECT_EQ(strAt(b, 62), "*");
  EXPECT_EQ(strAt(b, 64), "*");
  EXPECT_EQ(b.substr(66, 2), std::string(2, '\0'));
  EXPECT_EQ(i32At(b, 68), 3);
  EXPECT_EQ(strAt(b, 72), "199999");
  EXPECT_EQ(b[79], '\0');
  EXPECT_EQ(strAt(b, 80), "00345");
  EXPECT_EQ(strAt(b, 86), "<");
}

TEST(DbrnLayout, HouseRecordsSitAtTheirOffsets) {
  const HouseRec house{9, "7/2", 3, {{}, {}}};
  ByteWriter w;
  writeHouse(w, house);
  writeHouseLink(w, {431, 25, 60});
  writeCliHouse(w, house);
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kHouseSize + kHouseLinkSize + kCliHouseSize);
  EXPECT_EQ(i32At(b, 0), 9);
  EXPECT_EQ(strAt(b, 4), "7/2");
  EXPECT_EQ(b.substr(14, 2), std::string(2, '\0'));
  EXPECT_EQ(i32At(b, 16), 3);
  EXPECT_EQ(i32At(b, 20), 2);
  EXPECT_EQ(i32At(b, 24), 431);
  EXPECT_EQ(i32At(b, 28), 25);
  EXPECT_EQ(i32At(b, 32), 60);
  const size_t c = kHouseSize + kHouseLinkSize;
  EXPECT_EQ(i32At(b, c), 9);
  EXPECT_EQ(strAt(b, c + 4), "7/2");
  EXPECT_EQ(b.substr(c + 14, 2), std::string(2, '\0'));
}

TEST(DbrnLayout, LevelOneBlocksFollowInOrder) {
  const std::string b = writeDbrn(sampleDb("use1"));
  const size_t types = kDbrnHeaderSize, streets = types + 2 * kStreetTypeSize,
               sections = streets + 2 * kStreetSize, turns = sections + 3 * kSectionSize;
  ASSERT_EQ(b.size(), turns + 3 * kTurnSize);
  EXPECT_EQ(strAt(b, types + kStreetTypeSize), "street");
  EXPECT_EQ(strAt(b, streets + kStreetSize + 5), "Oak");
  EXPECT_EQ(strAt(b, sections + 2 * kSectionSize + 26), "00002");
  // Turn lists section by section: two of section 1, none of section 2, one of section 3.
  EXPECT_EQ(strAt(b, turns), "00001");
  EXPECT_EQ(strAt(b, turns + kTurnSize), "00003");
  EXPECT_EQ(strAt(b, turns + 2 * kTurnSize + 6), "^");
}

TEST(DbrnLayout, LevelTwoAddsHouseCountsHousesAndLinks) {
  const std::string b = writeDbrn(sampleDb("sys2"));
  const size_t counts = kDbrnHeaderSize + 2 * kStreetTypeSize + 2 * kStreetSize;
  const size_t sections = counts + 2 * 4, houses = sections + 3 * kSectionSize + 3 * kTurnSize,
               links = houses + 3 * kHouseSize;
  ASSERT_EQ(b.size(), links + 4 * kHouseLinkSize);
  EXPECT_EQ(i32At(b, counts), 2);
  EXPECT_EQ(i32At(b, counts + 4), 1);
  EXPECT_EQ(strAt(b, sections + 4), "1");
  EXPECT_EQ(strAt(b, houses + kHouseSize + 4), "5а");
  EXPECT_EQ(i32At(b, houses + kHouseSize + 20), 2);
  EXPECT_EQ(i32At(b, links + kHouseLinkSize), 1);      // second house, first link
  EXPECT_EQ(i32At(b, links + 2 * kHouseLinkSize), 2);  // second house, second link
  EXPECT_EQ(i32At(b, links + 3 * kHouseLinkSize), 3);  // third house
}

TEST(DbrnLayout, ClientAdditionHasNoSectionsAndShortHouses) {
  DbrnFile db = sampleDb("cli2");
  db.header.sectionCount = 431;  // the source network's count stays in the header
  const std::string b = writeDbrn(db);
  const size_t houses = kDbrnHeaderSize + 2 * kStreetTypeSize + 2 * kStreetSize + 2 * 4;
  ASSERT_EQ(b.size(), houses + 3 * kCliHouseSize);
  EXPECT_EQ(i32At(b, 100), 431);
  EXPECT_EQ(strAt(b, houses + 2 * kCliHouseSize + 4), "1");
}

TEST(DbrnRoundTrip, EveryLevelReadsBackEqualAndWritesTheSameBytes) {
  for (const char* kind : {"use1", "sys1", "use2", "sys2", "cli2"}) {
    SCOPED_TRACE(kind);
    const DbrnFile db = sampleDb(kind);
    const std::string bytes = writeDbrn(db);
    const DbrnRead read = readDbrn(bytes);
    ASSERT_TRUE(read.db) << read.error.text;
    EXPECT_EQ(*read.db, db);
    EXPECT_EQ(writeDbrn(*read.db), bytes);
  }
}

TEST(DbrnRoundTrip, ClientAdditionHousesComeBackWithoutYardOrLinks) {
  DbrnFile db = sampleDb("sys2");
  db.header.dbKind = "cli2";
  const DbrnRead read = readDbrn(writeDbrn(db));
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_TRUE(read.db->sections.empty());
  EXPECT_EQ(read.db->header.sectionCount, 3);
  ASSERT_EQ(read.db->houses.size(), 3u);
  EXPECT_EQ(read.db->houses[1].houseNo, "5а");
  EXPECT_EQ(read.db->houses[1].yardNo, 0);
  EXPECT_TRUE(read.db->houses[1].links.empty());
}

TEST(DbrnRoundTrip, EmptyLevelOneDatabaseIsHeaderTypesAndStreets) {
  DbrnFile db = sampleDb("use1");
  db.sections.clear();
  db.syncHeaderCounts();
  const std::string b = writeDbrn(db);
  EXPECT_EQ(b.size(), kDbrnHeaderSize + 2 * kStreetTypeSize + 2 * kStreetSize);
  ASSERT_TRUE(readDbrn(b).db);
}

TEST(DbrnRoundTrip, TrailingBytesAreIgnored) {
  const DbrnFile db = sampleDb("use2");
  const DbrnRead read = readDbrn(writeDbrn(db) + "garbage");
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_EQ(*read.db, db);
}

TEST(DbrnRoundTrip, OverlongLengthBytesAreCutToTheirSlot) {
  std::string b = writeDbrn(sampleDb("use1"));
  b[8] = static_cast<char>(200);  // DbName's length byte
  const DbrnRead read = readDbrn(b);
  ASSERT_TRUE(read.db);
  EXPECT_EQ(read.db->header.dbName.size(), 70u);
}

TEST(DbrnAccessors, ParseStoredTextsAndFlags) {
  TransitSectionRec s = section(0, " ", " ", "00012", " 7 ", {{"00345", "^"}, {"", "v"}});
  s.length = "85,5";
  s.speed = "40.25";
  s.closed = " ";
  s.prevObjectsClosed = "*";
  s.reverseSection = "17";
  EXPECT_EQ(s.startNodeNumber(), 12);
  EXPECT_EQ(s.endNodeNumber(), 7);
  EXPECT_EQ(s.lengthMetres(), 85.5);
  EXPECT_EQ(s.speedKmh(), 40.25);
  EXPECT_FALSE(s.isClosed());
  EXPECT_TRUE(s.arePrevObjectsClosed());
  EXPECT_FALSE(s.areReverseObjectsClosed());
  EXPECT_FALSE(s.hasNonStdNumbering());
  EXPECT_EQ(s.reverseSectionNo(), 17);
  EXPECT_EQ(s.turns[0].nodeNumber(), 345);
  EXPECT_EQ(s.turns[1].nodeNumber(), std::nullopt);
  s.length = "";
  s.speed = "12x";
  s.reverseSection = "";
  EXPECT_EQ(s.lengthMetres(), std::nullopt);
  EXPECT_EQ(s.speedKmh(), std::nullopt);
  EXPECT_EQ(s.reverseSectionNo(), std::nullopt);
}

TEST(DbrnSectionLookup, FindsTheFirstSectionBetweenTwoNodes) {
  DbrnFile db = sampleDb("use1");
  db.sections.push_back(section(1, "3", "7", "2", "1", {}));  // a later duplicate of 2 -> 1
  db.sections.push_back(section(1, "3", "7", "x", "1", {}));  // never found
  const SectionLookup lookup(db.sections);
  EXPECT_EQ(lookup.find(1, 2), 0);
  EXPECT_EQ(lookup.find(2, 1), 1);
  EXPECT_EQ(lookup.find(3, 2), -1);
  EXPECT_EQ(lookup.reverseOf(0), 1);
  EXPECT_EQ(lookup.reverseOf(1), 0);
  EXPECT_EQ(lookup.reverseOf(2), -1);  // 2 -> 3 is one-way
  EXPECT_EQ(lookup.reverseOf(4), -1);
  EXPECT_EQ(lookup.target(0, db.sections[0].turns[0]), 1);  // back to node 1
  EXPECT_EQ(lookup.target(0, db.sections[0].turns[1]), 2);  // on to node 3
  EXPECT_EQ(lookup.target(0, TurnRec{"9", ">"}), -1);
  // Limited to the first sections: the graph of a client-addition task.
  const SectionLookup firstTwo(db.sections, 2);
  EXPECT_EQ(firstTwo.find(2, 3), -1);
  EXPECT_EQ(firstTwo.find(2, 1), 1);
}

TEST(DbrnWriter, RefusesInconsistentDatabases) {
  DbrnFile db = sampleDb("use2");
  db.header.houseCount = 2;
  EXPECT_THROW(writeDbrn(db), std::invalid_argument);
  db = sampleDb("use1");
  db.sections[0].turns.resize(11);
  EXPECT_THROW(writeDbrn(db), std::invalid_argument);
  db = sampleDb("use2");
  db.houses[0].links.resize(5);
  EXPECT_THROW(writeDbrn(db), std::invalid_argument);
  db = sampleDb("use2");
  db.header.dbKind = "use3";
  EXPECT_THROW(writeDbrn(db), std::invalid_argument);
}

// ---- hostile files ----

DbrnError refusal(const std::string& bytes) {
  const DbrnRead read = readDbrn(bytes);
  EXPECT_FALSE(read.db);
  EXPECT_FALSE(read.error.text.empty());
  return read.error;
}

TEST(DbrnHostile, EveryTruncationIsRefused) {
  for (const char* kind : {"use1", "use2", "cli2"}) {
    const std::string b = writeDbrn(sampleDb(kind));
    for (size_t n = 0; n < b.size(); ++n) {
      SCOPED_TRACE(std::string(kind) + " cut at " + std::to_string(n));
      const DbrnError e = refusal(b.substr(0, n));
      EXPECT_EQ(e.fault, n < kDbrnHeaderSize ? DbrnFault::Truncated : DbrnFault::BadCount);
    }
  }
}

TEST(DbrnHostile, NegativeAndHugeHeaderCountsAreRefused) {
  const std::string good = writeDbrn(sampleDb("use2"));
  for (size_t at : {84, 88, 92, 96, 100}) {
    for (int32_t bad :
         {-1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
      SCOPED_TRACE(std::to_string(at) + ": " + std::to_string(bad));
      std::string b = good;
      putI32(b, at, bad);
      const DbrnRead read = readDbrn(b);
      if (at == 96 && bad > 0) {
        EXPECT_TRUE(read.db);  // the node count is informative only
        continue;
      }
      ASSERT_FALSE(read.db);
      // A huge house count shows first as disagreeing with the streets' counts.
      const DbrnFault expected =
          at == 92 && bad > 0 ? DbrnFault::HouseCountsDisagree : DbrnFault::BadCount;
      EXPECT_EQ(read.error.fault, expected);
      if (bad < 0) {
        EXPECT_EQ(read.error.value, bad);
      }
    }
  }
}

TEST(DbrnHostile, UnknownKindIsRefused) {
  std::string b = writeDbrn(sampleDb("use1"));
  b[83] = '3';  // "use3"
  const DbrnError e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::UnknownKind);
  EXPECT_EQ(e.kind, "use3");
}

const size_t kSections = kDbrnHeaderSize + 2 * kStreetTypeSize + 2 * kStreetSize;  // level 1

TEST(DbrnHostile, TurnCountsBeyondTheLimitOrTheFileAreRefused) {
  const std::string good = writeDbrn(sampleDb("use1"));
  std::string b = good;
  putI32(b, kSections + kSectionSize + 68, 11);
  DbrnError e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::TooManyTurns);
  EXPECT_EQ(e.record, 2);
  EXPECT_EQ(e.value, 11);

  b = good;
  putI32(b, kSections + 68, -1);
  e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::BadCount);
  EXPECT_EQ(e.record, 1);

  // Ten turns is the limit, but the file does not hold them.
  b = good;
  putI32(b, kSections + 2 * kSectionSize + 68, 10);
  e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::BadCount);
  EXPECT_EQ(e.record, 3);
}

TEST(DbrnHostile, StreetReferencesOutOfRangeAreRefused) {
  const std::string good = writeDbrn(sampleDb("use2"));
  const size_t sections = kSections + 2 * 4;
  const size_t houses = sections + 3 * kSectionSize + 3 * kTurnSize;
  for (int32_t bad : {-1, 2}) {
    std::string b = good;
    putI32(b, sections + kSectionSize, bad);
    DbrnError e = refusal(b);
    EXPECT_EQ(e.fault, DbrnFault::SectionStreet);
    EXPECT_EQ(e.record, 2);
    EXPECT_EQ(e.value, bad);

    b = good;
    putI32(b, houses + 2 * kHouseSize, bad);
    e = refusal(b);
    EXPECT_EQ(e.fault, DbrnFault::HouseStreet);
    EXPECT_EQ(e.record, 3);
  }
  std::string cli = writeDbrn(sampleDb("cli2"));
  putI32(cli, kSections + 2 * 4, 5);
  EXPECT_EQ(refusal(cli).fault, DbrnFault::HouseStreet);
}

TEST(DbrnHostile, LinkCountsAndSectionReferencesAreChecked) {
  const std::string good = writeDbrn(sampleDb("use2"));
  const size_t houses = kSections + 2 * 4 + 3 * kSectionSize + 3 * kTurnSize;
  const size_t links = houses + 3 * kHouseSize;
  std::string b = good;
  putI32(b, houses + 20, 5);
  DbrnError e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::TooManyLinks);
  EXPECT_EQ(e.record, 1);

  b = good;
  putI32(b, houses + 2 * kHouseSize + 20, 4);  // the file holds one link for it
  EXPECT_EQ(refusal(b).fault, DbrnFault::BadCount);

  for (int32_t bad : {0, 4, -7}) {
    b = good;
    putI32(b, links + kHouseLinkSize, bad);
    e = refusal(b);
    EXPECT_EQ(e.fault, DbrnFault::LinkSection);
    EXPECT_EQ(e.record, 2);
    EXPECT_EQ(e.value, bad);
  }
  b = good;
  putI32(b, links + 3 * kHouseLinkSize, 3);  // the last section is still in range
  EXPECT_TRUE(readDbrn(b).db);
}

TEST(DbrnHostile, StreetHouseCountsMustBeNonNegativeAndAddUp) {
  const std::string good = writeDbrn(sampleDb("use2"));
  std::string b = good;
  putI32(b, kSections, -1);
  putI32(b, kSections + 4, 4);  // the sum still matches
  EXPECT_EQ(refusal(b).fault, DbrnFault::BadCount);
  b = good;
  putI32(b, kSections + 4, 2);
  const DbrnError e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::HouseCountsDisagree);
  EXPECT_EQ(e.value, 4);
}

TEST(DbrnHostile, NegativeStreetCountOfATypeIsRefused) {
  std::string b = writeDbrn(sampleDb("use1"));
  putI32(b, kDbrnHeaderSize + kStreetTypeSize + 28, -3);
  const DbrnError e = refusal(b);
  EXPECT_EQ(e.fault, DbrnFault::BadCount);
  EXPECT_EQ(e.record, 2);
}

TEST(DbrnHeaderOnly, ReadsTheFirst148BytesAndNothingElse) {
  const std::string b = writeDbrn(sampleDb("sys2"));
  const auto h = readDbrnHeaderOnly(b.substr(0, kDbrnHeaderSize));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->key(), "123sys2");
  EXPECT_EQ(h->dbName, "Sample town");
  EXPECT_EQ(h->sectionCount, 3);
  EXPECT_FALSE(readDbrnHeaderOnly(b.substr(0, kDbrnHeaderSize - 1)));
  std::string odd = b.substr(0, kDbrnHeaderSize);
  odd[83] = 'x';  // the header reader leaves the kind to its caller
  EXPECT_EQ(readDbrnHeaderOnly(odd)->dbKind, "sysx");
}

}  // namespace
}  // namespace qj
