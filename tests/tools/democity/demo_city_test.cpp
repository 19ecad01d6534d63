// The generated cities must be databases the wizards would accept, the same bytes on every run
// and the files shipped in the program folder.

#include "democity/demo_city.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "dbrn/dbrn_io.h"
#include "platform/files.h"
#include "records/text.h"

namespace qj {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isLowerLetter(char c) {
  return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0xE0;
}
// A level-1 house number: digits, the last character a digit or a lower-case letter.
bool isHouseNumber(const std::string& s) {
  return !s.empty() && s.size() <= 4 && isDigit(s[0]) &&
         std::all_of(s.begin(), s.end() - 1, isDigit) &&
         (isDigit(s.back()) || isLowerLetter(s.back()));
}
int parity(const std::string& s) {
  return (isDigit(s.back()) ? s.back() : s[s.size() - 2]) % 2;
}
bool isNodeText(const std::string& s) {
  return s.size() == 5 && std::all_of(s.begin(), s.end(), isDigit) && s != "00000";
}
// Street-type names as the wizard's key filter lets them be typed.
bool isTypeName(const std::string& s, size_t most) {
  return !s.empty() && s.size() <= most && std::none_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (u >= 0xC0 && u <= 0xDF) || c == ' ';
  });
}

// What the database wizard and the task wizard demand of a database, as a list of faults.
std::vector<std::string> problemsOf(const DbrnFile& db) {
  std::vector<std::string> out;
  auto fail = [&](std::string what, size_t i) { out.push_back(what + std::to_string(i + 1)); };
  const std::string noStreet = db.header.language == "rus" ? "\xED\xE5\xF2" : "none";
  std::map<std::string, int> typeRank;
  for (size_t i = 0; i < db.streetTypes.size(); ++i) {
    const auto& t = db.streetTypes[i];
    if (!isTypeName(t.fullName, 20) || !isTypeName(t.shortName, 4)) fail("type name", i);
    if (!typeRank.emplace(t.shortName, static_cast<int>(i)).second) fail("duplicate type", i);
    if (i > 0 && db.streetTypes[i - 1].fullName.substr(0, 5) > t.fullName.substr(0, 5))
      fail("types not sorted", i);
    if (std::count_if(db.streets.begin(), db.streets.end(),
                      [&](auto& s) { return s.streetType == t.shortName; }) != t.streetCount)
      fail("street count of type", i);
  }
  std::vector<bool> used(db.streets.size());
  for (const auto& s : db.sections) used[static_cast<size_t>(s.streetIndex)] = true;
  for (size_t i = 0; i < db.streets.size(); ++i) {
    const auto& s = db.streets[i];
    const auto rank = typeRank.find(s.streetType);
    if (s.streetNo != static_cast<int32_t>(i) || rank == typeRank.end()) fail("street", i);
    if (s.name.empty() != (s.streetType == noStreet)) fail("street name", i);
    if (i > 0 && rank != typeRank.end()) {
      const auto& p = db.streets[i - 1];
      const int a = typeRank[p.streetType];
      if (a > rank->second || (a == rank->second && p.name.substr(0, 20) >= s.name.substr(0, 20)))
        fail("streets not sorted or repeated", i);
    }
    const bool houses = db.level() == 2 && db.streetHouseCounts[i] > 0;
    if (s.state != (used[i] || houses ? "3" : "1")) fail("street state", i);
  }
  if (!out.empty()) return out;

  std::map<std::pair<int32_t, int32_t>, size_t> first;  // the first section from a to b
  std::set<std::string> ranges;
  std::set<int32_t> nodes;
  for (size_t i = 0; i < db.sections.size(); ++i) {
    const auto& s = db.sections[i];
    const auto& street = db.streets[static_cast<size_t>(s.streetIndex)];
    if (!isNodeText(s.startNode) || !isNodeText(s.endNode) || s.startNode == s.endNode) {
      fail("nodes of section", i);
      continue;
    }
    nodes.insert({*s.startNodeNumber(), *s.endNodeNumber()});
    if (!first.emplace(std::pair(*s.startNodeNumber(), *s.endNodeNumber()), i).second)
      fail("second section between two nodes", i);
    if (!(s.lengthMetres() > 0.0) || !(s.speedKmh() > 0.0) || s.length.size() > 7 ||
        s.speed.size() > 7)
      fail("length or speed of section", i);
    const std::string from(trim(s.houseFrom)), to(trim(s.houseTo));
    if (street.streetType == noStreet) {
      if (db.level() != 1 || !s.hasNonStdNumbering() || s.houseFrom != " " || s.houseTo != " ")
        fail("no-street section", i);
      continue;
    }
    if (db.level() == 1 && !s.hasNonStdNumbering() &&
        (!isHouseNumber(from) || !isHouseNumber(to) || from == to || parity(from) != parity(to)))
      fail("house range of section", i);
    if (db.level() == 2 && (from.empty() || to.empty() || from == to || s.hasNonStdNumbering()))
      fail("level-2 house range of section", i);
    if (!ranges.insert(street.streetType + "|" + street.name + "," + from + "-" + to).second)
      fail("duplicate range of section", i);
  }
  if (db.header.nodeCount != static_cast<int32_t>(nodes.size())) fail("node count", 0);
  if (!out.empty()) return out;

  // Reverse sections and turns; a turn leads to the first section from the end to its node.
  const size_t n = db.sections.size();
  std::vector<std::vector<size_t>> next(n), prev(n);
  for (size_t i = 0; i < n; ++i) {
    const auto& s = db.sections[i];
    const auto a = *s.startNodeNumber(), b = *s.endNodeNumber();
    const auto rev = first.find({b, a});
    if (s.reverseSection != (rev == first.end() ? "" : std::to_string(rev->second + 1)))
      fail("reverse of section", i);
    std::string order;
    for (const auto& t : s.turns) {
      const auto to = isNodeText(t.node) ? first.find({b, *t.nodeNumber()}) : first.end();
      if (to == first.end() || t.direction.size() != 1 ||
          std::string("^v><").find(t.direction) == std::string::npos ||
          (t.direction == "v" && *t.nodeNumber() != a)) {
        fail("turn of section", i);
        continue;
      }
      order += t.direction;
      if (!s.isClosed() && !db.sections[to->second].isClosed()) {
        next[i].push_back(to->second);
        prev[to->second].push_back(i);
      }
    }
    // Directions as the wizard's SpaceBar offers them: forward, back, rights, lefts.
    std::string sorted = order;
    std::stable_sort(sorted.begin(), sorted.end(), [](char x, char y) {
      return std::string("^v><").find(x) < std::string("^v><").find(y);
    });
    if (s.turns.size() > 10 || sorted != order || std::count(order.begin(), order.end(), '^') > 1 ||
        std::count(order.begin(), order.end(), 'v') > 1)
      fail("turn order of section", i);
  }
  if (db.level() == 2) {
    size_t h = 0;
    for (size_t s = 0; s < db.streets.size(); ++s) {
      std::set<std::string> numbers;
      for (int32_t k = 0; k < db.streetHouseCounts[s]; ++k, ++h) {
        const HouseRec& house = db.houses[h];
        if (house.streetIndex != static_cast<int32_t>(s) || house.houseNo.empty() ||
            house.houseNo.size() > 9 || !numbers.insert(house.houseNo).second || house.yardNo < 0 ||
            house.links.empty() || house.links.size() > 4)
          fail("house", h);
        for (const auto& l : house.links)
          if (l.sectionNo < 1 || l.sectionNo > db.header.sectionCount ||
              (house.yardNo == 0 && l.distToExit != 0) || l.distToExit < 0 || l.distExitToEnd < 0 ||
              l.distExitToEnd > *db.sections[static_cast<size_t>(l.sectionNo - 1)].lengthMetres())
            fail("link of house", h);
      }
    }
  }
  // Every open section reaches every other open one, and is reached from it.
  const auto start = static_cast<size_t>(
      std::find_if(db.sections.begin(), db.sections.end(), [](auto& s) { return !s.isClosed(); }) -
      db.sections.begin());
  for (const auto* graph : {&next, &prev}) {
    std::vector<bool> seen(n);
    std::vector<size_t> stack = {start};
    seen[start] = true;
    while (!stack.empty()) {
      const size_t v = stack.back();
      stack.pop_back();
      for (size_t w : (*graph)[v])
        if (!seen[w]) seen[w] = true, stack.push_back(w);
    }
    for (size_t i = 0; i < n; ++i)
      if (!db.sections[i].isClosed() && !seen[i]) fail("cut off: section", i);
  }
  return out;
}

TEST(DemoCityChecks, CatchDatabasesTheWizardsWouldRefuse) {
  const DbrnFile good = demoCity(2, "eng");
  ASSERT_THAT(problemsOf(good), testing::IsEmpty());
  const std::function<void(DbrnFile&)> changes[] = {
      [](DbrnFile& db) { db.sections[3].startNode = "123"; },
      [](DbrnFile& db) { db.sections[3].houseTo = db.sections[3].houseFrom; },
      [](DbrnFile& db) { db.sections[3].reverseSection = "1"; },
      [](DbrnFile& db) {
        db.sections[0].turns.push_back({"99999", "<"});
      },
      [](DbrnFile& db) { std::swap(db.streets[0], db.streets[1]); },
      [](DbrnFile& db) { db.houses[0].links[0].distToExit = 5; },
      [](DbrnFile& db) { db.houses[1].houseNo = db.houses[0].houseNo; },
      [](DbrnFile& db) {
        for (auto& s : db.sections)
          if (s.startNode == db.sections[0].startNode) s.closed = "*";
      }};
  for (const auto& change : changes) {
    DbrnFile db = good;
    change(db);
    EXPECT_FALSE(problemsOf(db).empty());
  }
  DbrnFile level1 = demoCity(1, "eng");
  level1.sections[4].houseTo = "28";  // parity differs from the odd start "21"
  EXPECT_FALSE(problemsOf(level1).empty());
}

TEST(DemoCity, EveryDatabasePassesTheChecksAndIsTheSameOnEveryRun) {
  for (const auto& demo : shippedDemoDatabases()) {
    SCOPED_TRACE(demo.fileName);
    const DbrnFile& db = demo.db;
    EXPECT_THAT(problemsOf(db), testing::IsEmpty());
    const std::string bytes = writeDbrn(db);
    EXPECT_EQ(writeDbrn(demoCity(db.level(), db.header.language)), bytes);
    EXPECT_EQ(readFile(fs::path(QJ_PROGRAM_DIR) / "Dbrn" / demo.fileName), bytes);
    EXPECT_EQ(demo.fileName.substr(0, 7), db.header.key());
    // Dated as the program dates a database in the city's language.
    EXPECT_EQ(db.header.dbDate, dateText(kDemoCityDate, db.header.language));
    // The file reads back through the checked reader unchanged.
    const DbrnRead read = readDbrn(bytes);
    ASSERT_TRUE(read.db) << read.error.text;
    EXPECT_EQ(*read.db, db);
  }
  EXPECT_EQ(shippedDemoDatabases().size(), 2 * std::size(kDemoLanguages));
}

TEST(LargeCity, SitsAtTheTaskLimitsAndPassesTheChecks) {
  for (int level : {1, 2}) {
    const DbrnFile db = largeCity(level, level == 1 ? "eng" : "rus");
    EXPECT_EQ(db.header.nodeCount, 2500);
    EXPECT_EQ(db.header.sectionCount, 10000);
    size_t most = 0;
    for (const auto& s : db.sections) most = std::max(most, s.turns.size());
    EXPECT_EQ(most, 10u);
    EXPECT_THAT(problemsOf(db), testing::IsEmpty()) << level;
  }
}

}  // namespace
}  // namespace qj
