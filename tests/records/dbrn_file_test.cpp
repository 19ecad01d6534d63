#include "records/dbrn_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "records/record_layout.h"
#include "support/town.h"

namespace qj {
namespace {

using test::expectFields;
using test::Field;
using test::putI32;
using test::smallTown;
using test::Zeros;

TEST(DbrnLayout, EveryRecordHasItsFieldsAtTheirOffsets) {
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
  TransitSectionRec sec =
      test::townSection(4, "12а", "18", "00012", "00345", "1234567,89", {{}, {}, {}});
  sec.nonStdNumbering = sec.closed = sec.prevObjectsClosed = sec.reverseObjectsClosed = "*";
  sec.speed = "60.5";
  sec.reverseSection = "199999";
  const HouseRec house{9, "7/2", 3, {{}, {}}};
  ByteWriter w;
  writeDbrnHeader(w, h);
  writeStreetType(w, {"embankment", "emb.", 3});
  writeStreet(w, {"emb.", "River", "3", 17});
  writeSection(w, sec);
  writeTurn(w, {"00345", "<"});
  writeHouse(w, house);
  writeHouseLink(w, {431, 25, 60});
  writeCliHouse(w, house);
  const struct {
    size_t size;
    std::vector<Field> fields;
  } records[] = {
      // clang-format off
      {kDbrnHeaderSize, {{0, "rus"}, {4, "007"}, {8, "Demo"}, {79, "sys2"}, {84, 5}, {88, 40},
                         {92, 900}, {96, 120}, {100, 431}, {104, "01.06.2024"}, {145, Zeros{3}}}},
      {kStreetTypeSize, {{0, "embankment"}, {21, "emb."}, {26, Zeros{2}}, {28, 3}}},
      {kStreetSize, {{0, "emb."}, {5, "River"}, {36, "3"}, {40, 17}}},
      {kSectionSize, {{0, 4}, {4, "12а"}, {14, "18"}, {24, "*"}, {26, "00012"}, {32, "00345"},
                      {38, "1234567,89"}, {49, "60.5"}, {60, "*"}, {62, "*"}, {64, "*"},
                      {66, Zeros{2}}, {68, 3}, {72, "199999"}, {79, Zeros{1}}}},
      {kTurnSize, {{0, "00345"}, {6, "<"}}},
      {kHouseSize, {{0, 9}, {4, "7/2"}, {14, Zeros{2}}, {16, 3}, {20, 2}}},
      {kHouseLinkSize, {{0, 431}, {4, 25}, {8, 60}}},
      {kCliHouseSize, {{0, 9}, {4, "7/2"}, {14, Zeros{2}}}},
      // clang-format on
  };
  size_t at = 0;
  for (const auto& r : records) {
    SCOPED_TRACE(at);
    expectFields(w.bytes(), r.fields, at);
    at += r.size;
  }
  EXPECT_EQ(w.bytes().size(), at);
}

// Offsets of the blocks of the town's files: header, 3 street types, 4 streets, then at
// level 2 the streets' house counts, 10 sections, their 19 turns, 4 houses and their 5 links.
constexpr size_t kTypes = kDbrnHeaderSize, kStreets = kTypes + 3 * kStreetTypeSize,
                 kAfterStreets = kStreets + 4 * kStreetSize, kCounts2 = kAfterStreets,
                 kSections1 = kAfterStreets, kSections2 = kCounts2 + 16,
                 kTurns2 = kSections2 + 10 * kSectionSize, kHouses2 = kTurns2 + 19 * kTurnSize,
                 kLinks2 = kHouses2 + 4 * kHouseSize;

TEST(DbrnLayout, BlocksFollowInOrderAtEveryLevel) {
  const struct {
    const char* kind;
    size_t size;
    std::vector<Field> fields;
  } files[] = {
      // clang-format off
      {"use1", kSections1 + 10 * kSectionSize + 19 * kTurnSize,
       {{kTypes + kStreetTypeSize, "avenue"}, {kStreets + kStreetSize + 5, "Oak"},
        {kSections1 + 9 * kSectionSize + 24, "*"}, {kSections1 + 9 * kSectionSize + 26, "3"},
        // Turn lists section by section: two of s0, then those of s1.
        {kSections1 + 10 * kSectionSize + kTurnSize, "1"},
        {kSections1 + 10 * kSectionSize + 2 * kTurnSize, "7"}}},
      {"sys2", kLinks2 + 5 * kHouseLinkSize,
       {{kCounts2, 3}, {kCounts2 + 4, 1}, {kCounts2 + 12, 0}, {kSections2 + 4, "1"},
        {kTurns2 + 2 * kTurnSize, "7"}, {kHouses2 + kHouseSize + 4, "5\xE0"},
        {kHouses2 + kHouseSize + 16, 1}, {kHouses2 + kHouseSize + 20, 2},
        {kLinks2 + kHouseLinkSize, 1}, {kLinks2 + 2 * kHouseLinkSize, 2},
        {kLinks2 + 4 * kHouseLinkSize, 7}}},
      // A client database keeps the source network's section count but no sections.
      {"cli2", kCounts2 + 16 + 4 * kCliHouseSize,
       {{100, 431}, {kCounts2 + 16 + 3 * kCliHouseSize, 1},
        {kCounts2 + 16 + 3 * kCliHouseSize + 4, "4"}}},
      // clang-format on
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.kind);
    DbrnFile db = smallTown(f.kind);
    if (dbLevel(f.kind) == 3) db.header.sectionCount = 431;
    const std::string b = writeDbrn(db);
    EXPECT_EQ(b.size(), f.size);
    expectFields(b, f.fields);
  }
}

TEST(DbrnRoundTrip, EveryLevelReadsBackEqualAndWritesTheSameBytes) {
  for (const char* kind : {"use1", "sys1", "use2", "sys2", "cli2"}) {
    SCOPED_TRACE(kind);
    const DbrnFile db = smallTown(kind);
    const std::string bytes = writeDbrn(db);
    const DbrnRead read = readDbrn(bytes + "trailing bytes are ignored");
    ASSERT_TRUE(read.db) << read.error.text;
    EXPECT_EQ(*read.db, db);
    EXPECT_EQ(writeDbrn(*read.db), bytes);
  }
  // A level-2 database written as a client database: no sections, houses without yards.
  DbrnFile db = smallTown("sys2");
  db.header.dbKind = "cli2";
  DbrnRead read = readDbrn(writeDbrn(db));
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_TRUE(read.db->sections.empty());
  EXPECT_EQ(read.db->houses, smallTown("cli2").houses);
  // An overlong length byte is cut to its slot.
  std::string b = writeDbrn(smallTown("use1"));
  b[8] = static_cast<char>(200);  // DbName's length byte
  read = readDbrn(b);
  ASSERT_TRUE(read.db);
  EXPECT_EQ(read.db->header.dbName.size(), 70u);
}

TEST(DbrnRecords, AccessorsParseStoredTextsAndFlags) {
  TransitSectionRec s =
      test::townSection(0, " ", " ", "00012", " 7 ", "85,5", {{"00345", "^"}, {"", "v"}});
  s.speed = "40.25";
  s.closed = " ";
  s.prevObjectsClosed = "*";
  s.reverseSection = "17";
  EXPECT_EQ(s.startNodeNumber(), 12);
  EXPECT_EQ(s.endNodeNumber(), 7);
  EXPECT_EQ(s.lengthMetres(), 85.5);
  EXPECT_EQ(s.speedKmh(), 40.25);
  EXPECT_FALSE(s.isClosed() || s.hasNonStdNumbering());
  EXPECT_TRUE(s.arePrevObjectsClosed() && !s.areReverseObjectsClosed());
  EXPECT_EQ(s.reverseSectionNo(), 17);
  EXPECT_EQ(s.turns[0].nodeNumber(), 345);
  EXPECT_EQ(s.turns[1].nodeNumber(), std::nullopt);
  s.length = "";
  s.speed = "12x";
  s.reverseSection = "";
  EXPECT_FALSE(s.lengthMetres() || s.speedKmh() || s.reverseSectionNo());
}

TEST(DbrnRecords, TheLookupFindsTheFirstSectionBetweenTwoNodes) {
  DbrnFile db = smallTown();
  db.sections.push_back(test::townSection(1, "3", "7", "2", "1", "9", {}));  // a later 2 -> 1
  db.sections.push_back(test::townSection(1, "3", "7", "x", "0", "9", {}));  // never found
  const SectionLookup lookup(db.sections);
  EXPECT_EQ(lookup.find(1, 2), 0);
  EXPECT_EQ(lookup.find(2, 1), 5);
  EXPECT_EQ(lookup.find(3, 1) + lookup.find(0, 0), -2);
  EXPECT_EQ(lookup.reverseOf(0), 5);
  EXPECT_EQ(lookup.reverseOf(6), 7);
  EXPECT_EQ(lookup.reverseOf(8), -1);                       // one-way
  EXPECT_EQ(lookup.reverseOf(10), 0);                       // the later 2 -> 1
  EXPECT_EQ(lookup.target(0, db.sections[0].turns[0]), 1);  // on to node 3
  EXPECT_EQ(lookup.target(0, db.sections[0].turns[1]), 5);  // back to node 1
  EXPECT_EQ(lookup.target(0, TurnRec{"9", ">"}) + lookup.target(0, TurnRec{"x", ">"}), -2);
  // Limited to the first sections: the graph of a client-addition task.
  const SectionLookup firstTwo(db.sections, 2);
  EXPECT_EQ(firstTwo.find(2, 3), 1);
  EXPECT_EQ(firstTwo.find(3, 4), -1);
}

TEST(DbrnRecords, TheWriterRefusesInconsistentDatabasesAndTakesTheLimits) {
  const std::pair<std::function<void(DbrnFile&)>, bool> changes[] = {
      {[](DbrnFile& db) { db.header.houseCount = 2; }, false},
      {[](DbrnFile& db) { db.header.sectionCount = 2; }, false},
      {[](DbrnFile& db) { db.sections[0].turns.resize(11); }, false},
      {[](DbrnFile& db) { db.sections[0].turns.resize(10); }, true},
      {[](DbrnFile& db) { db.houses[0].links.resize(5); }, false},
      {[](DbrnFile& db) { db.houses[0].links.resize(4); }, true},
      {[](DbrnFile& db) { db.header.dbKind = "use3"; }, false},
  };
  for (const auto& [change, written] : changes) {
    DbrnFile db = smallTown("use2");
    change(db);
    if (written)
      EXPECT_NO_THROW(writeDbrn(db));
    else
      EXPECT_THROW(writeDbrn(db), std::invalid_argument);
  }
}

// ---- hostile files ----

// The town's file with one int32 replaced, and what the reader makes of it.
DbrnRead patched(const char* kind, size_t at, int32_t value) {
  std::string b = writeDbrn(smallTown(kind));
  putI32(b, at, value);
  return readDbrn(b);
}

TEST(DbrnHostile, EveryTruncationIsRefused) {
  for (const char* kind : {"use1", "use2", "cli2"}) {
    const std::string b = writeDbrn(smallTown(kind));
    for (size_t n = 0; n < b.size(); ++n) {
      const DbrnRead read = readDbrn(b.substr(0, n));
      ASSERT_FALSE(read.db) << kind << " cut at " << n;
      EXPECT_FALSE(read.error.text.empty());
      EXPECT_EQ(read.error.fault, n < kDbrnHeaderSize ? DbrnFault::Truncated : DbrnFault::BadCount)
          << kind << " cut at " << n;
    }
  }
}

TEST(DbrnHostile, NegativeAndHugeHeaderCountsAreRefused) {
  for (size_t at : {84, 88, 92, 96, 100}) {
    for (int32_t bad :
         {-1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
      SCOPED_TRACE(std::to_string(at) + ": " + std::to_string(bad));
      const DbrnRead read = patched("use2", at, bad);
      if (at == 96 && bad > 0) {
        EXPECT_TRUE(read.db);  // the node count is informative only
        continue;
      }
      ASSERT_FALSE(read.db);
      // A huge house count shows first as disagreeing with the streets' counts.
      EXPECT_EQ(read.error.fault,
                at == 92 && bad > 0 ? DbrnFault::HouseCountsDisagree : DbrnFault::BadCount);
      if (bad < 0) {
        EXPECT_EQ(read.error.value, bad);
      }
    }
  }
}

// Each row: the file, the int32 replaced, and the fault, record, value and words reported.
TEST(DbrnHostile, RecordsThatPointOutsideTheFileAreRefused) {
  using F = DbrnFault;
  const std::tuple<const char*, size_t, int32_t, DbrnFault, int32_t, int32_t, const char*> cases[] =
      {
          // clang-format off
      {"use1", kTypes + kStreetTypeSize + 28, -3, F::BadCount, 2, -3, "street type 2 counts -3"},
      {"use1", kSections1 + kSectionSize + 68, 11, F::TooManyTurns, 2, 11, ""},
      {"use1", kSections1 + 68, -1, F::BadCount, 1, -1, ""},
      // Ten turns is the limit, but the file does not hold them.
      {"use1", kSections1 + 9 * kSectionSize + 68, 10, F::BadCount, 10, 10, ""},
      {"use2", kSections2 + kSectionSize, -1, F::SectionStreet, 2, -1, ""},
      {"use2", kSections2 + kSectionSize, 4, F::SectionStreet, 2, 4, ""},
      {"use2", kHouses2 + 2 * kHouseSize, -1, F::HouseStreet, 3, -1, ""},
      {"use2", kHouses2 + 2 * kHouseSize, 4, F::HouseStreet, 3, 4, ""},
      {"cli2", kCounts2 + 16, 5, F::HouseStreet, 1, 5, ""},
      {"use2", kHouses2 + 20, 5, F::TooManyLinks, 1, 5, ""},
      // The last house with more links than the file holds.
      {"use2", kHouses2 + 3 * kHouseSize + 20, 4, F::BadCount, 4, 4, ""},
      {"use2", kLinks2 + kHouseLinkSize, 0, F::LinkSection, 2, 0, "house 2 is linked to section 0 of 10"},
      {"use2", kLinks2 + kHouseLinkSize, 11, F::LinkSection, 2, 11, ""},
      {"use2", kLinks2 + kHouseLinkSize, -7, F::LinkSection, 2, -7, ""},
      {"use2", kCounts2, -1, F::BadCount, 1, -1, "street 1 counts -1 houses"},
      {"use2", kCounts2 + 4, 2, F::HouseCountsDisagree, 0, 5, ""},
          // clang-format on
      };
  for (const auto& [kind, at, value, fault, record, reported, words] : cases) {
    SCOPED_TRACE(std::string(kind) + " at " + std::to_string(at));
    const DbrnRead read = patched(kind, at, value);
    ASSERT_FALSE(read.db);
    EXPECT_EQ(std::tuple(read.error.fault, read.error.record, read.error.value),
              std::tuple(fault, record ? record : read.error.record, reported));
    EXPECT_NE(read.error.text.find(words), std::string::npos) << read.error.text;
  }
  // The last section is still in range.
  EXPECT_TRUE(patched("use2", kLinks2 + 4 * kHouseLinkSize, 10).db);
  std::string b = writeDbrn(smallTown("use1"));
  b[83] = '3';  // "use3"
  EXPECT_EQ(readDbrn(b).error.fault, DbrnFault::UnknownKind);
  EXPECT_EQ(readDbrn(b).error.kind, "use3");
}

// The memory the records would take is bounded before any is read: the most the counts can
// take within the file's bytes. Sections of ten turns take the most for their bytes.
TEST(DbrnHostile, RecordsThatWouldTakeTooMuchMemoryAreRefusedBeforeAnyIsRead) {
  for (const char* kind : {"sys1", "sys2", "cli2"}) {
    SCOPED_TRACE(kind);
    const std::string b = writeDbrn(smallTown(kind));
    EXPECT_EQ(dbrnFileBytes(smallTown(kind)), b.size());
    const uint64_t bound = dbrnKeptBytesBound(smallTown(kind).header, b.size());
    EXPECT_TRUE(readDbrn(b, bound).db);
    const DbrnRead refused = readDbrn(b, bound - 1);
    ASSERT_FALSE(refused.db);
    EXPECT_EQ(refused.error.fault, DbrnFault::TooLong);
    EXPECT_EQ(refused.error.value, static_cast<int64_t>(bound));
  }

  // A file of one street and sections of ten turns, 64 MB: within the length any database
  // may have, but its records would take some 420 MB.
  DbrnFile dense = smallTown("sys1");
  dense.sections.resize(1);
  dense.sections[0].streetIndex = 0;
  dense.sections[0].turns.assign(kMaxTurns, {"2", "^"});
  dense.syncHeaderCounts();
  const std::string one = writeDbrn(dense);
  const size_t sectionsAt = one.size() - kSectionSize - kMaxTurns * kTurnSize;
  const std::string section = one.substr(sectionsAt, kSectionSize);
  const std::string turns = one.substr(sectionsAt + kSectionSize);
  const int32_t count = 400'000;
  std::string big = one.substr(0, sectionsAt);
  big.reserve(sectionsAt + count * (kSectionSize + turns.size()));
  for (int32_t i = 0; i < count; ++i) big += section;
  for (int32_t i = 0; i < count; ++i) big += turns;
  putI32(big, 100, count);  // the header's section count
  ASSERT_LT(big.size(), kMaxDbrnFileBytes);
  const DbrnRead read = readDbrn(big);
  ASSERT_FALSE(read.db);
  EXPECT_EQ(read.error.fault, DbrnFault::TooLong);
  EXPECT_GT(read.error.value, static_cast<int64_t>(kMaxDbrnKeptBytes));

  // The largest database that can be entered is far within the bound.
  DbrnHeader largest = smallTown("sys2").header;
  largest.streetTypeCount = 100;
  largest.streetCount = 10000;
  largest.sectionCount = 200000;
  largest.houseCount = 300000;
  EXPECT_LT(dbrnKeptBytesBound(largest, kLargestEnteredDbrnBytes), kMaxDbrnKeptBytes * 2 / 3);
}

// The bound is what the records would take at most: every record, of every kind, adds at
// least its own size in memory and that of its full list of turns or links.
TEST(DbrnHostile, EveryRecordAddsAtLeastWhatItTakesInMemoryToTheBound) {
  const DbrnHeader h = smallTown("sys2").header;
  const uint64_t roomy = kMaxDbrnFileBytes;
  const uint64_t base = dbrnKeptBytesBound(h, roomy);
  const auto thousandMore = [&](int32_t DbrnHeader::*count) {
    DbrnHeader more = h;
    more.*count += 1000;
    return dbrnKeptBytesBound(more, roomy) - base;
  };
  EXPECT_GE(thousandMore(&DbrnHeader::streetTypeCount), 1000 * sizeof(StreetTypeRec));
  EXPECT_GE(thousandMore(&DbrnHeader::streetCount), 1000 * sizeof(StreetRec));
  EXPECT_GE(thousandMore(&DbrnHeader::sectionCount),
            1000 * (sizeof(TransitSectionRec) + kMaxTurns * sizeof(TurnRec)));
  EXPECT_GE(thousandMore(&DbrnHeader::houseCount),
            1000 * (sizeof(HouseRec) + kMaxLinks * sizeof(HouseLinkRec)));
}

TEST(DbrnHeaderOnly, ReadsTheFirst148BytesAndNothingElse) {
  const std::string b = writeDbrn(smallTown("sys2")).substr(0, kDbrnHeaderSize);
  const auto h = readDbrnHeaderOnly(b);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->key(), "123sys2");
  EXPECT_FALSE(readDbrnHeaderOnly(b.substr(0, kDbrnHeaderSize - 1)));
  std::string odd = b;
  odd[83] = 'x';  // the header reader leaves the kind to its caller
  EXPECT_EQ(readDbrnHeaderOnly(odd)->dbKind, "sysx");
}

}  // namespace
}  // namespace qj
