#pragma once
// The road-network database file <code><kind>_dbrn_<lang>.dat: a 148-byte header, the street
// types, the streets, (levels 2 and 3) the house count of every street, (levels 1 and 2) the
// transit sections with their turn lists, and the houses (level 2 with their links, level 3
// as the reduced client-addition record). One reader and one writer serve every level and
// every part of the program that touches a database.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/bytes.h"
#include "records/task_file.h"  // dbLevel

namespace qj {

inline constexpr size_t kDbrnHeaderSize = 148;
inline constexpr size_t kStreetTypeSize = 32;
inline constexpr size_t kStreetSize = 44;
inline constexpr size_t kSectionSize = 80;
inline constexpr size_t kTurnSize = 8;
inline constexpr size_t kHouseSize = 24;
inline constexpr size_t kHouseLinkSize = 12;
inline constexpr size_t kCliHouseSize = 16;

inline constexpr int kMaxTurns = 10;  // turn pairs of one transit section
inline constexpr int kMaxLinks = 4;   // sections adjacent to one house

// The bytes of the largest database that can be entered or imported (100 street types,
// 10000 streets, 200000 sections of 10 turns, 300000 houses of 4 links), and the length
// beyond which a file is refused unread: system databases may be larger than what can be
// entered, but not by four.
inline constexpr uint64_t kLargestEnteredDbrnBytes =
    kDbrnHeaderSize + 100 * kStreetTypeSize + 10000 * (kStreetSize + 4) +
    200000 * (kSectionSize + kMaxTurns * kTurnSize) +
    300000 * (kHouseSize + kMaxLinks * kHouseLinkSize);
inline constexpr uint64_t kMaxDbrnFileBytes = 4 * kLargestEnteredDbrnBytes;
// The memory the records of a database may take once read (their texts and lists take
// several times their bytes in the file): a file whose counts promise more is refused before
// anything is allocated. The largest database that can be entered takes about 240 MiB. The
// database wizard, whose grids hold the records again as texts, weighs them by its own
// bound (dbrn/dbrn_io.h).
inline constexpr uint64_t kMaxDbrnKeptBytes = 384ull << 20;

struct DbrnHeader {
  std::string language;  // 3: the language code at creation
  std::string dbCode;    // 3 digits
  std::string dbName;    // 70
  std::string dbKind;    // 4: sys1, use1, sys2, use2, cli2
  int32_t streetTypeCount = 0;
  int32_t streetCount = 0;
  int32_t houseCount = 0;
  int32_t nodeCount = 0;     // distinct node numbers of the network
  int32_t sectionCount = 0;  // a cli2 header keeps the count of its source
  std::string dbDate;        // 40: short date of the last creation or correction

  int level() const { return dbLevel(dbKind); }
  // The catalogue key: code followed by kind (the first seven characters of the file name).
  std::string key() const { return dbCode + dbKind; }
  bool operator==(const DbrnHeader&) const = default;
};

struct StreetTypeRec {
  std::string fullName;   // 20, lower-case letters
  std::string shortName;  // 4: streets refer to their type by it
  int32_t streetCount = 0;
  bool operator==(const StreetTypeRec&) const = default;
};

// StreetRec.State: entered and not referenced, or referenced by a section or (level 2)
// having houses. The wizard's "deleted" state never reaches a file.
inline constexpr std::string_view kStreetEntered = "1";
inline constexpr std::string_view kStreetReferenced = "3";

struct StreetRec {
  std::string streetType;  // 4: ShortName of the street's type
  std::string name;        // 30
  std::string state;       // 3: "1" or "3"
  int32_t streetNo = 0;    // the record's own 0-based index
  bool operator==(const StreetRec&) const = default;
};

// One permitted move from the end node of a section to the section that starts there and
// ends at `node`.
struct TurnRec {
  std::string node;       // 5: node number as text
  std::string direction;  // 1: "^" forward, "v" back, ">" right, "<" left
  std::optional<int32_t> nodeNumber() const;
  bool operator==(const TurnRec&) const = default;
};

// One lane of a street between two adjacent nodes. Numbers are kept as the texts that were
// typed (either decimal separator); the accessors parse them.
struct TransitSectionRec {
  int32_t streetIndex = 0;           // 0-based index into the streets
  std::string houseFrom;             // 9: " " when none
  std::string houseTo;               // 9: " " when none
  std::string nonStdNumbering;       // 1: "*" or empty
  std::string startNode;             // 5
  std::string endNode;               // 5
  std::string length;                // 10: metres
  std::string speed;                 // 10: km/h
  std::string closed;                // 1: "*" = temporarily unavailable
  std::string prevObjectsClosed;     // 1: "*" = objects before this section unavailable
  std::string reverseObjectsClosed;  // 1: "*" = objects of the reverse section unavailable
  std::string reverseSection;        // 6: 1-based number as text, empty when none
  std::vector<TurnRec> turns;        // TurnCount = turns.size(), at most kMaxTurns

  std::optional<int32_t> startNodeNumber() const;
  std::optional<int32_t> endNodeNumber() const;
  std::optional<double> lengthMetres() const;
  std::optional<double> speedKmh() const;
  // A flag is set when its text, trimmed, is not empty.
  bool isClosed() const;
  bool arePrevObjectsClosed() const;
  bool areReverseObjectsClosed() const;
  bool hasNonStdNumbering() const;
  // The reverse section's 1-based number, when the text holds one.
  std::optional<int32_t> reverseSectionNo() const;
  bool operator==(const TransitSectionRec&) const = default;
};

struct HouseLinkRec {
  int32_t sectionNo = 0;      // 1-based transit section
  int32_t distToExit = 0;     // metres from the house to the exit onto the section
  int32_t distExitToEnd = 0;  // metres from that exit to the end of the section
  bool operator==(const HouseLinkRec&) const = default;
};

// A house. A client addition (level 3) stores only street and number; read back, its houses
// have YardNo 0 and no links.
struct HouseRec {
  int32_t streetIndex = 0;          // 0-based index into the streets
  std::string houseNo;              // 9: as written on the house
  int32_t yardNo = 0;               // running number of its yard (>= 1), 0 when none
  std::vector<HouseLinkRec> links;  // LinkCount = links.size(), at most kMaxLinks
  bool operator==(const HouseRec&) const = default;
};

struct DbrnFile {
  DbrnHeader header;
  std::vector<StreetTypeRec> streetTypes;
  std::vector<StreetRec> streets;
  std::vector<int32_t> streetHouseCounts;   // levels 2 and 3: one per street
  std::vector<TransitSectionRec> sections;  // levels 1 and 2
  std::vector<HouseRec> houses;             // levels 2 and 3, grouped street by street

  int level() const { return header.level(); }
  // Sets the header's counts from the arrays (for a client addition the node and section
  // counts, which describe its source network, are left alone).
  void syncHeaderCounts();
  bool operator==(const DbrnFile&) const = default;
};

// "The first section, in section order, from node a to node b" in constant time: the rule that
// names a section's reverse section and the section a turn leads to. Only the first `count`
// sections are looked at; a section whose node texts are not numbers is never found. The
// lookup refers to the sections it was built on: they must outlive it unchanged.
class SectionLookup {
 public:
  explicit SectionLookup(const std::vector<TransitSectionRec>& sections);
  SectionLookup(const std::vector<TransitSectionRec>& sections, size_t count);

  // 0-based index of the first section from `from` to `to`, or -1.
  int32_t find(int32_t from, int32_t to) const;
  // The first section running back from section i's end node to its start node, or -1.
  int32_t reverseOf(size_t i) const;
  // The section that turn t of section i leads to, or -1.
  int32_t target(size_t i, const TurnRec& t) const;

 private:
  static uint64_t key(int32_t from, int32_t to) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32) | static_cast<uint32_t>(to);
  }
  const std::vector<TransitSectionRec>& sections_;
  std::unordered_map<uint64_t, int32_t> first_;
};

// What is wrong with a file that the reader refuses.
enum class DbrnFault {
  Unreadable,           // the file cannot be opened or read (file layer)
  Truncated,            // the file is shorter than a header
  TooLong,              // the file is far longer than any database needs (kMaxDbrnFileBytes),
                        // or its records would take more memory than kMaxDbrnKeptBytes
  UnknownKind,          // DbKind is none of the five kinds
  BadCount,             // a count is negative or needs more bytes than the file holds
  TooManyTurns,         // TurnCount above 10
  TooManyLinks,         // LinkCount above 4
  SectionStreet,        // a section's street index lies outside the streets
  HouseStreet,          // a house's street index lies outside the streets
  LinkSection,          // a house link's section number lies outside 1..SectionCount
  HouseCountsDisagree,  // the streets' house counts do not add up to HouseCount
};

struct DbrnError {
  DbrnFault fault = DbrnFault::Unreadable;
  int64_t value = 0;   // the offending count, street index or section number
  int64_t record = 0;  // 1-based number of the street type, street, section or house concerned
  std::string kind;    // the unknown kind
  std::string text;    // the same in English, for logs and tools
};

struct DbrnRead {
  std::optional<DbrnFile> db;
  DbrnError error;  // set when db is empty
};

// Record layers, shared by the whole-file reader and by golden tests.
void writeDbrnHeader(ByteWriter& out, const DbrnHeader& h);
DbrnHeader readDbrnHeader(ByteReader& in);
void writeStreetType(ByteWriter& out, const StreetTypeRec& t);
StreetTypeRec readStreetType(ByteReader& in);
void writeStreet(ByteWriter& out, const StreetRec& s);
StreetRec readStreet(ByteReader& in);
// The section record without its turn list; the TurnCount written is turns.size().
void writeSection(ByteWriter& out, const TransitSectionRec& s);
// Reads the record and returns its TurnCount; the turn list is left empty.
TransitSectionRec readSection(ByteReader& in, int32_t& turnCount);
void writeTurn(ByteWriter& out, const TurnRec& t);
TurnRec readTurn(ByteReader& in);
void writeHouse(ByteWriter& out, const HouseRec& h);
HouseRec readHouse(ByteReader& in, int32_t& linkCount);
void writeHouseLink(ByteWriter& out, const HouseLinkRec& l);
HouseLinkRec readHouseLink(ByteReader& in);
void writeCliHouse(ByteWriter& out, const HouseRec& h);
HouseRec readCliHouse(ByteReader& in);

// The whole file for the level of its kind. The header's counts must agree with the arrays
// and the lists must respect their limits; a database that does not is a programming error
// (std::invalid_argument), never a file that the reader would refuse.
std::string writeDbrn(const DbrnFile& db);

// The whole file, checked: the kind, every count against the bytes present before anything
// is allocated, the turn and link limits, every street and section reference. There is no
// limit on the number of entries, only on the memory their records take: the most the
// header's counts can take, each within the bytes present (the turns and links within the
// bytes after the sections and houses), must stay within maxKeptBytes. Bytes after the last
// list are ignored.
DbrnRead readDbrn(std::string_view bytes, uint64_t maxKeptBytes = kMaxDbrnKeptBytes);
// That most, for a header and a file of `fileBytes` bytes.
uint64_t dbrnKeptBytesBound(const DbrnHeader& header, uint64_t fileBytes);

// The records that the header's counts promise, each count as far as the file's bytes can hold
// its records (the turns and links as far as the bytes after the sections and houses can).
struct DbrnHeldCounts {
  uint64_t streetTypes = 0, streets = 0, sections = 0, turns = 0, houses = 0, links = 0;
};
DbrnHeldCounts dbrnHeldCounts(const DbrnHeader& header, uint64_t fileBytes);
// The bytes of the file that holds a database and nothing after it: its records weighed by
// this length are weighed exactly.
uint64_t dbrnFileBytes(const DbrnFile& db);

// Only the header, for callers that need no more (the catalogue scan). Nothing but its size
// is checked: a file shorter than the header gives nullopt.
std::optional<DbrnHeader> readDbrnHeaderOnly(std::string_view bytes);

}  // namespace qj
