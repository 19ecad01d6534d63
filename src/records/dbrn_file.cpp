#include "records/dbrn_file.h"

#include <algorithm>
#include <stdexcept>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

std::optional<int32_t> TurnRec::nodeNumber() const {
  return parseInt(node);
}

std::optional<int32_t> TransitSectionRec::startNodeNumber() const {
  return parseInt(startNode);
}
std::optional<int32_t> TransitSectionRec::endNodeNumber() const {
  return parseInt(endNode);
}
std::optional<double> TransitSectionRec::lengthMetres() const {
  return parseStoredReal(length);
}
std::optional<double> TransitSectionRec::speedKmh() const {
  return parseStoredReal(speed);
}
bool TransitSectionRec::isClosed() const {
  return !trim(closed).empty();
}
bool TransitSectionRec::arePrevObjectsClosed() const {
  return !trim(prevObjectsClosed).empty();
}
bool TransitSectionRec::areReverseObjectsClosed() const {
  return !trim(reverseObjectsClosed).empty();
}
bool TransitSectionRec::hasNonStdNumbering() const {
  return !trim(nonStdNumbering).empty();
}
std::optional<int32_t> TransitSectionRec::reverseSectionNo() const {
  return parseInt(reverseSection);
}

SectionLookup::SectionLookup(const std::vector<TransitSectionRec>& sections)
    : SectionLookup(sections, sections.size()) {}

SectionLookup::SectionLookup(const std::vector<TransitSectionRec>& sections, size_t count)
    : sections_(sections) {
  count = std::min(count, sections.size());
  first_.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const auto a = sections[i].startNodeNumber(), b = sections[i].endNodeNumber();
    if (a && b) first_.emplace(key(*a, *b), static_cast<int32_t>(i));
  }
}

int32_t SectionLookup::find(int32_t from, int32_t to) const {
  const auto it = first_.find(key(from, to));
  return it == first_.end() ? -1 : it->second;
}

int32_t SectionLookup::reverseOf(size_t i) const {
  const auto a = sections_[i].startNodeNumber(), b = sections_[i].endNodeNumber();
  return a && b ? find(*b, *a) : -1;
}

int32_t SectionLookup::target(size_t i, const TurnRec& t) const {
  const auto end = sections_[i].endNodeNumber(), node = t.nodeNumber();
  return end && node ? find(*end, *node) : -1;
}

void DbrnFile::syncHeaderCounts() {
  header.streetTypeCount = static_cast<int32_t>(streetTypes.size());
  header.streetCount = static_cast<int32_t>(streets.size());
  const int lv = level();
  if (lv >= 2) header.houseCount = static_cast<int32_t>(houses.size());
  if (lv == 1 || lv == 2) header.sectionCount = static_cast<int32_t>(sections.size());
}

// ---- records ----

void writeDbrnHeader(ByteWriter& out, const DbrnHeader& h) {
  out.shortString(h.language, 3);
  out.shortString(h.dbCode, 3);
  out.shortString(h.dbName, 70);
  out.shortString(h.dbKind, 4);
  out.i32(h.streetTypeCount);
  out.i32(h.streetCount);
  out.i32(h.houseCount);
  out.i32(h.nodeCount);
  out.i32(h.sectionCount);
  out.shortString(h.dbDate, 40);
  out.zeros(3);
}

DbrnHeader readDbrnHeader(ByteReader& in) {
  DbrnHeader h;
  h.language = in.shortString(3);
  h.dbCode = in.shortString(3);
  h.dbName = in.shortString(70);
  h.dbKind = in.shortString(4);
  h.streetTypeCount = in.i32();
  h.streetCount = in.i32();
  h.houseCount = in.i32();
  h.nodeCount = in.i32();
  h.sectionCount = in.i32();
  h.dbDate = in.shortString(40);
  in.skip(3);
  return h;
}

void writeStreetType(ByteWriter& out, const StreetTypeRec& t) {
  out.shortString(t.fullName, 20);
  out.shortString(t.shortName, 4);
  out.zeros(2);
  out.i32(t.streetCount);
}

StreetTypeRec readStreetType(ByteReader& in) {
  StreetTypeRec t;
  t.fullName = in.shortString(20);
  t.shortName = in.shortString(4);
  in.skip(2);
  t.streetCount = in.i32();
  return t;
}

void writeStreet(ByteWriter& out, const StreetRec& s) {
  out.shortString(s.streetType, 4);
  out.shortString(s.name, 30);
  out.shortString(s.state, 3);
  out.i32(s.streetNo);
}

StreetRec readStreet(ByteReader& in) {
  StreetRec s;
  s.streetType = in.shortString(4);
  s.name = in.shortString(30);
  s.state = in.shortString(3);
  s.streetNo = in.i32();
  return s;
}

void writeSection(ByteWriter& out, const TransitSectionRec& s) {
  out.i32(s.streetIndex);
  out.shortString(s.houseFrom, 9);
  out.shortString(s.houseTo, 9);
  out.shortString(s.nonStdNumbering, 1);
  out.shortString(s.startNode, 5);
  out.shortString(s.endNode, 5);
  out.shortString(s.length, 10);
  out.shortString(s.speed, 10);
  out.shortString(s.closed, 1);
  out.shortString(s.prevObjectsClosed, 1);
  out.shortString(s.reverseObjectsClosed, 1);
  out.zeros(2);
  out.i32(static_cast<int32_t>(s.turns.size()));
  out.shortString(s.reverseSection, 6);
  out.zeros(1);
}

TransitSectionRec readSection(ByteReader& in, int32_t& turnCount) {
  TransitSectionRec s;
  s.streetIndex = in.i32();
  s.houseFrom = in.shortString(9);
  s.houseTo = in.shortString(9);
  s.nonStdNumbering = in.shortString(1);
  s.startNode = in.shortString(5);
  s.endNode = in.shortString(5);
  s.length = in.shortString(10);
  s.speed = in.shortString(10);
  s.closed = in.shortString(1);
  s.prevObjectsClosed = in.shortString(1);
  s.reverseObjectsClosed = in.shortString(1);
  in.skip(2);
  turnCount = in.i32();
  s.reverseSection = in.shortString(6);
  in.skip(1);
  return s;
}

void writeTurn(ByteWriter& out, const TurnRec& t) {
  out.shortString(t.node, 5);
  out.shortString(t.direction, 1);
}

TurnRec readTurn(ByteReader& in) {
  TurnRec t;
  t.node = in.shortString(5);
  t.direction = in.shortString(1);
  return t;
}

void writeHouse(ByteWriter& out, const HouseRec& h) {
  out.i32(h.streetIndex);
  out.shortString(h.houseNo, 9);
  out.zeros(2);
  out.i32(h.yardNo);
  out.i32(static_cast<int32_t>(h.links.size()));
}

HouseRec readHouse(ByteReader& in, int32_t& linkCount) {
  HouseRec h;
  h.streetIndex = in.i32();
  h.houseNo = in.shortString(9);
  in.skip(2);
  h.yardNo = in.i32();
  linkCount = in.i32();
  return h;
}

void writeHouseLink(ByteWriter& out, const HouseLinkRec& l) {
  out.i32(l.sectionNo);
  out.i32(l.distToExit);
  out.i32(l.distExitToEnd);
}

HouseLinkRec readHouseLink(ByteReader& in) {
  HouseLinkRec l;
  l.sectionNo = in.i32();
  l.distToExit = in.i32();
  l.distExitToEnd = in.i32();
  return l;
}

void writeCliHouse(ByteWriter& out, const HouseRec& h) {
  out.i32(h.streetIndex);
  out.shortString(h.houseNo, 9);
  out.zeros(2);
}

HouseRec readCliHouse(ByteReader& in) {
  HouseRec h;
  h.streetIndex = in.i32();
  h.houseNo = in.shortString(9);
  in.skip(2);
  return h;
}

// ---- whole file ----

namespace {

void require(bool ok, const std::string& what) {
  if (!ok) throw std::invalid_argument("database not written: " + what);
}

void requireCount(int32_t stated, size_t actual, const char* what) {
  require(stated >= 0 && static_cast<size_t>(stated) == actual,
          std::string("the header counts ") + std::to_string(stated) + " " + what +
              ", the arrays " + std::to_string(actual));
}

}  // namespace

std::string writeDbrn(const DbrnFile& db) {
  const DbrnHeader& h = db.header;
  const int lv = db.level();
  require(lv != 0, "unknown kind \"" + h.dbKind + "\"");
  requireCount(h.streetTypeCount, db.streetTypes.size(), "street types");
  requireCount(h.streetCount, db.streets.size(), "streets");
  if (lv >= 2) {
    requireCount(h.streetCount, db.streetHouseCounts.size(), "street house counts");
    requireCount(h.houseCount, db.houses.size(), "houses");
  }
  if (lv <= 2) requireCount(h.sectionCount, db.sections.size(), "sections");

  ByteWriter out;
  writeDbrnHeader(out, h);
  for (const auto& t : db.streetTypes) writeStreetType(out, t);
  for (const auto& s : db.streets) writeStreet(out, s);
  if (lv >= 2)
    for (int32_t n : db.streetHouseCounts) out.i32(n);
  if (lv <= 2) {
    for (const auto& s : db.sections) {
      require(s.turns.size() <= kMaxTurns, "a section has more than 10 turns");
      writeSection(out, s);
    }
    for (const auto& s : db.sections)
      for (const auto& t : s.turns) writeTurn(out, t);
  }
  if (lv == 2) {
    for (const auto& house : db.houses) {
      require(house.links.size() <= kMaxLinks, "a house has more than 4 links");
      writeHouse(out, house);
    }
    for (const auto& house : db.houses)
      for (const auto& l : house.links) writeHouseLink(out, l);
  }
  if (lv == 3)
    for (const auto& house : db.houses) writeCliHouse(out, house);
  return out.take();
}

namespace {

// The reader's refusal, thrown inside readDbrn and turned into its result.
struct Refusal {
  DbrnError error;
};

[[noreturn]] void refuse(DbrnFault fault, std::string text, int64_t value = 0, int64_t record = 0) {
  DbrnError e;
  e.fault = fault;
  e.value = value;
  e.record = record;
  e.text = std::move(text);
  throw Refusal{std::move(e)};
}

void checkCount(const ByteReader& in, int64_t count, size_t size, const char* what,
                int64_t record = 0) {
  if (count < 0)
    refuse(DbrnFault::BadCount,
           std::string("the count of ") + what + " is negative (" + std::to_string(count) + ")",
           count, record);
  if (!in.holds(count, size))
    refuse(DbrnFault::BadCount,
           std::string("the ") + std::to_string(count) + " " + what + " at byte " +
               std::to_string(in.pos()) + " do not fit the file of " + std::to_string(in.size()) +
               " bytes",
           count, record);
}

void checkStreetIndex(int32_t index, int32_t streetCount, DbrnFault fault, const char* owner,
                      int64_t record) {
  if (index < 0 || index >= streetCount)
    refuse(fault,
           std::string(owner) + " " + std::to_string(record) + " names street index " +
               std::to_string(index) + " of " + std::to_string(streetCount) + " streets",
           index, record);
}

void readStreetBlocks(ByteReader& in, DbrnFile& db) {
  const DbrnHeader& h = db.header;
  checkCount(in, h.streetTypeCount, kStreetTypeSize, "street types");
  db.streetTypes.reserve(static_cast<size_t>(h.streetTypeCount));
  for (int32_t i = 0; i < h.streetTypeCount; ++i) {
    db.streetTypes.push_back(readStreetType(in));
    const int32_t n = db.streetTypes.back().streetCount;
    if (n < 0)
      refuse(DbrnFault::BadCount,
             "street type " + std::to_string(i + 1) + " counts " + std::to_string(n) + " streets",
             n, i + 1);
  }
  checkCount(in, h.streetCount, kStreetSize, "streets");
  db.streets.reserve(static_cast<size_t>(h.streetCount));
  for (int32_t i = 0; i < h.streetCount; ++i) db.streets.push_back(readStreet(in));
}

void readHouseCounts(ByteReader& in, DbrnFile& db) {
  const DbrnHeader& h = db.header;
  checkCount(in, h.streetCount, 4, "street house counts");
  db.streetHouseCounts.reserve(static_cast<size_t>(h.streetCount));
  int64_t sum = 0;
  for (int32_t i = 0; i < h.streetCount; ++i) {
    const int32_t n = in.i32();
    if (n < 0)
      refuse(DbrnFault::BadCount,
             "street " + std::to_string(i + 1) + " counts " + std::to_string(n) + " houses", n,
             i + 1);
    sum += n;
    db.streetHouseCounts.push_back(n);
  }
  if (sum != h.houseCount)
    refuse(DbrnFault::HouseCountsDisagree,
           "the streets count " + std::to_string(sum) + " houses, the header " +
               std::to_string(h.houseCount),
           sum);
}

void readSections(ByteReader& in, DbrnFile& db) {
  const DbrnHeader& h = db.header;
  checkCount(in, h.sectionCount, kSectionSize, "transit sections");
  std::vector<int32_t> turnCounts;
  turnCounts.reserve(static_cast<size_t>(h.sectionCount));
  db.sections.reserve(static_cast<size_t>(h.sectionCount));
  for (int32_t i = 0; i < h.sectionCount; ++i) {
    int32_t turns = 0;
    db.sections.push_back(readSection(in, turns));
    const int64_t no = i + 1;
    if (turns < 0)
      refuse(DbrnFault::BadCount,
             "transit section " + std::to_string(no) + " has a negative turn count (" +
                 std::to_string(turns) + ")",
             turns, no);
    if (turns > kMaxTurns)
      refuse(DbrnFault::TooManyTurns,
             "transit section " + std::to_string(no) + " has " + std::to_string(turns) +
                 " turns (at most 10)",
             turns, no);
    checkStreetIndex(db.sections.back().streetIndex, h.streetCount, DbrnFault::SectionStreet,
                     "transit section", no);
    turnCounts.push_back(turns);
  }
  for (int32_t i = 0; i < h.sectionCount; ++i) {
    checkCount(in, turnCounts[i], kTurnSize, "turns", i + 1);
    auto& turns = db.sections[static_cast<size_t>(i)].turns;
    turns.reserve(static_cast<size_t>(turnCounts[i]));
    for (int32_t k = 0; k < turnCounts[i]; ++k) turns.push_back(readTurn(in));
  }
}

void readHouses(ByteReader& in, DbrnFile& db) {
  const DbrnHeader& h = db.header;
  checkCount(in, h.houseCount, kHouseSize, "houses");
  std::vector<int32_t> linkCounts;
  linkCounts.reserve(static_cast<size_t>(h.houseCount));
  db.houses.reserve(static_cast<size_t>(h.houseCount));
  for (int32_t i = 0; i < h.houseCount; ++i) {
    int32_t links = 0;
    db.houses.push_back(readHouse(in, links));
    const int64_t no = i + 1;
    if (links < 0)
      refuse(DbrnFault::BadCount,
             "house " + std::to_string(no) + " has a negative link count (" +
                 std::to_string(links) + ")",
             links, no);
    if (links > kMaxLinks)
      refuse(DbrnFault::TooManyLinks,
             "house " + std::to_string(no) + " has " + std::to_string(links) + " links (at most 4)",
             links, no);
    checkStreetIndex(db.houses.back().streetIndex, h.streetCount, DbrnFault::HouseStreet, "house",
                     no);
    linkCounts.push_back(links);
  }
  for (int32_t i = 0; i < h.houseCount; ++i) {
    checkCount(in, linkCounts[i], kHouseLinkSize, "house links", i + 1);
    auto& links = db.houses[static_cast<size_t>(i)].links;
    links.reserve(static_cast<size_t>(linkCounts[i]));
    for (int32_t k = 0; k < linkCounts[i]; ++k) {
      links.push_back(readHouseLink(in));
      const int32_t no = links.back().sectionNo;
      if (no < 1 || no > h.sectionCount)
        refuse(DbrnFault::LinkSection,
               "house " + std::to_string(i + 1) + " is linked to section " + std::to_string(no) +
                   " of " + std::to_string(h.sectionCount),
               no, i + 1);
    }
  }
}

void readCliHouses(ByteReader& in, DbrnFile& db) {
  const DbrnHeader& h = db.header;
  checkCount(in, h.houseCount, kCliHouseSize, "houses");
  db.houses.reserve(static_cast<size_t>(h.houseCount));
  for (int32_t i = 0; i < h.houseCount; ++i) {
    db.houses.push_back(readCliHouse(in));
    checkStreetIndex(db.houses.back().streetIndex, h.streetCount, DbrnFault::HouseStreet, "house",
                     i + 1);
  }
}

void checkHeader(const DbrnHeader& h) {
  if (h.level() == 0) {
    DbrnError e;
    e.fault = DbrnFault::UnknownKind;
    e.kind = h.dbKind;
    e.text = "the kind \"" + h.dbKind + "\" is not a database kind";
    throw Refusal{std::move(e)};
  }
  const std::pair<const char*, int32_t> counts[] = {{"street types", h.streetTypeCount},
                                                    {"streets", h.streetCount},
                                                    {"houses", h.houseCount},
                                                    {"nodes", h.nodeCount},
                                                    {"transit sections", h.sectionCount}};
  for (const auto& [what, n] : counts)
    if (n < 0)
      refuse(
          DbrnFault::BadCount,
          std::string("the header's count of ") + what + " is negative (" + std::to_string(n) + ")",
          n);
}

// What one record takes in memory beyond its bytes in the file: a text of more characters
// than a string keeps inside itself takes a block of its own (street names, the full names
// of street types); a list of turns or links takes a block, and its count is kept while the
// lists are read.
constexpr uint64_t kTextBlock = 48;
constexpr uint64_t kListBlock = 16;
constexpr uint64_t kStreetTypeKept = sizeof(StreetTypeRec) + kTextBlock;
constexpr uint64_t kStreetKept = sizeof(StreetRec) + kTextBlock;
constexpr uint64_t kSectionKept = sizeof(TransitSectionRec) + kListBlock + 4;
constexpr uint64_t kHouseKept = sizeof(HouseRec) + kListBlock + 4;

}  // namespace

DbrnHeldCounts dbrnHeldCounts(const DbrnHeader& h, uint64_t fileBytes) {
  // A count as far as the file's bytes can hold its records.
  const auto held = [&](int32_t count, uint64_t size) {
    return std::min<uint64_t>(static_cast<uint64_t>(std::max(count, 0)), fileBytes / size);
  };
  uint64_t rest = fileBytes - std::min<uint64_t>(fileBytes, kDbrnHeaderSize);
  const auto take = [&](uint64_t bytes) { rest -= std::min(rest, bytes); };
  const int level = h.level();
  DbrnHeldCounts n;
  n.streetTypes = held(h.streetTypeCount, kStreetTypeSize);
  n.streets = held(h.streetCount, kStreetSize);
  take(n.streetTypes * kStreetTypeSize + n.streets * (level >= 2 ? kStreetSize + 4 : kStreetSize));
  if (level == 1 || level == 2) {
    n.sections = held(h.sectionCount, kSectionSize);
    take(n.sections * kSectionSize);
    n.turns = std::min<uint64_t>(n.sections * kMaxTurns, rest / kTurnSize);
  }
  if (level == 2) {
    n.houses = held(h.houseCount, kHouseSize);
    take(n.houses * kHouseSize);
    n.links = std::min<uint64_t>(n.houses * kMaxLinks, rest / kHouseLinkSize);
  }
  if (level == 3) n.houses = held(h.houseCount, kCliHouseSize);
  return n;
}

uint64_t dbrnFileBytes(const DbrnFile& db) {
  const int level = db.level();
  uint64_t bytes = kDbrnHeaderSize + db.streetTypes.size() * kStreetTypeSize +
                   db.streets.size() * (level >= 2 ? kStreetSize + 4 : kStreetSize);
  if (level == 1 || level == 2) {
    bytes += db.sections.size() * kSectionSize;
    for (const TransitSectionRec& s : db.sections) bytes += s.turns.size() * kTurnSize;
  }
  if (level == 2) {
    bytes += db.houses.size() * kHouseSize;
    for (const HouseRec& h : db.houses) bytes += h.links.size() * kHouseLinkSize;
  }
  if (level == 3) bytes += db.houses.size() * kCliHouseSize;
  return bytes;
}

uint64_t dbrnKeptBytesBound(const DbrnHeader& h, uint64_t fileBytes) {
  const DbrnHeldCounts n = dbrnHeldCounts(h, fileBytes);
  const int level = h.level();
  uint64_t kept =
      n.streetTypes * kStreetTypeKept + n.streets * (kStreetKept + (level >= 2 ? 4 : 0));
  kept += n.sections * kSectionKept + n.turns * sizeof(TurnRec);
  if (level == 2) kept += n.houses * kHouseKept + n.links * sizeof(HouseLinkRec);
  if (level == 3) kept += n.houses * sizeof(HouseRec);
  return kept;
}

DbrnRead readDbrn(std::string_view bytes, uint64_t maxKeptBytes) {
  DbrnRead result;
  try {
    if (bytes.size() < kDbrnHeaderSize)
      refuse(DbrnFault::Truncated,
             "the file holds " + std::to_string(bytes.size()) +
                 " bytes, fewer than a database header (148)",
             static_cast<int64_t>(bytes.size()));
    ByteReader in(bytes);
    DbrnFile db;
    db.header = readDbrnHeader(in);
    checkHeader(db.header);
    const uint64_t kept = dbrnKeptBytesBound(db.header, bytes.size());
    if (kept > maxKeptBytes)
      refuse(DbrnFault::TooLong,
             "the records of the file would take up to " + std::to_string(kept) +
                 " bytes of memory, more than any database may (" + std::to_string(maxKeptBytes) +
                 ")",
             static_cast<int64_t>(kept));
    const int lv = db.level();
    readStreetBlocks(in, db);
    if (lv >= 2) readHouseCounts(in, db);
    if (lv <= 2) readSections(in, db);
    if (lv == 2) readHouses(in, db);
    if (lv == 3) readCliHouses(in, db);
    result.db = std::move(db);
  } catch (const Refusal& r) {
    result.error = r.error;
  } catch (const ReadError& e) {
    // Every count is checked before its records are read; this is a safety net only.
    result.error.fault = DbrnFault::Truncated;
    result.error.text = e.what();
  }
  return result;
}

std::optional<DbrnHeader> readDbrnHeaderOnly(std::string_view bytes) {
  if (bytes.size() < kDbrnHeaderSize) return std::nullopt;
  ByteReader in(bytes);
  return readDbrnHeader(in);
}

}  // namespace qj
