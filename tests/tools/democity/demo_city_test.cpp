#include "democity/demo_city.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "dbrn/dbrn_io.h"
#include "platform/files.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {
namespace {

// ---- what the database wizard and the task wizard demand of a database ----

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isLowerLetter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || u >= 0xE0;
}

// A level-1 house number: digits, the last character a digit or a lower-case letter.
bool isHouseNumber(const std::string& s) {
  if (s.empty() || !isDigit(s[0])) return false;
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (!isDigit(s[i])) return false;
  return isDigit(s.back()) || isLowerLetter(s.back());
}
int parityDigit(const std::string& s) {
  return isDigit(s.back()) ? s.back() - '0' : s[s.size() - 2] - '0';
}

bool isNodeText(const std::string& s) {
  return s.size() == 5 && std::all_of(s.begin(), s.end(), isDigit) && s != "00000";
}

// Street-type names as the wizard's key filter lets them be typed.
bool isTypeName(const std::string& s) {
  return !s.empty() && std::none_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (u >= 0xC0 && u <= 0xDF) || c == ' ';
  });
}

std::string withoutBlanks(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

int64_t pairKey(int32_t a, int32_t b) {
  return static_cast<int64_t>(a) * 1000000 + b;
}

struct Checker {
  const DbrnFile& db;
  std::string noStreet;  // short name of the no-street type
  std::vector<std::string> problems;

  void fail(std::string what) {
    if (problems.size() < 20) problems.push_back(std::move(what));
  }

  void types() {
    std::set<std::string> full, brief;
    for (size_t i = 0; i < db.streetTypes.size(); ++i) {
      const auto& t = db.streetTypes[i];
      if (!isTypeName(t.fullName) || t.fullName.size() > 20) fail("type name " + t.fullName);
      if (!isTypeName(t.shortName) || t.shortName.size() > 4) fail("short name " + t.shortName);
      if (!full.insert(t.fullName).second || !brief.insert(t.shortName).second)
        fail("duplicate type " + t.fullName);
      if (i > 0 && db.streetTypes[i - 1].fullName.substr(0, 5) > t.fullName.substr(0, 5))
        fail("types not sorted at " + t.fullName);
      const auto n = std::count_if(db.streets.begin(), db.streets.end(),
                                   [&](const StreetRec& s) { return s.streetType == t.shortName; });
      if (n != t.streetCount) fail("street count of type " + t.fullName);
    }
  }

  int typeRank(const std::string& shortName) const {
    for (size_t i = 0; i < db.streetTypes.size(); ++i)
      if (db.streetTypes[i].shortName == shortName) return static_cast<int>(i);
    return -1;
  }

  void streets() {
    std::set<std::pair<std::string, std::string>> names;
    std::vector<bool> used(db.streets.size());
    for (const auto& s : db.sections) used[static_cast<size_t>(s.streetIndex)] = true;
    for (size_t i = 0; i < db.streets.size(); ++i) {
      const auto& s = db.streets[i];
      if (s.streetNo != static_cast<int32_t>(i)) fail("street number " + s.name);
      if (typeRank(s.streetType) < 0) fail("street of no type " + s.name);
      if (s.name.empty() != (s.streetType == noStreet)) fail("street name " + s.name);
      if (!names.insert({s.streetType, s.name}).second) fail("duplicate street " + s.name);
      if (i > 0) {
        const auto& p = db.streets[i - 1];
        const int a = typeRank(p.streetType), b = typeRank(s.streetType);
        if (a > b || (a == b && p.name.substr(0, 20) >= s.name.substr(0, 20)))
          fail("streets not sorted at " + s.name);
      }
      const bool houses = db.level() == 2 && db.streetHouseCounts[i] > 0;
      if (s.state != (used[i] || houses ? "3" : "1")) fail("street state " + s.name);
    }
  }

  // The first section from a to b, or -1.
  std::unordered_map<int64_t, int> firstSection;

  void sections() {
    std::set<std::string> ranges;
    std::set<int32_t> nodes;
    for (size_t i = 0; i < db.sections.size(); ++i) {
      const auto& s = db.sections[i];
      const std::string no = " of section " + std::to_string(i + 1);
      const auto& street = db.streets[static_cast<size_t>(s.streetIndex)];
      if (!isNodeText(s.startNode) || !isNodeText(s.endNode)) {
        fail("node text" + no);
        continue;
      }
      if (s.startNode == s.endNode) fail("loop" + no);
      const auto a = *s.startNodeNumber(), b = *s.endNodeNumber();
      nodes.insert(a);
      nodes.insert(b);
      if (!firstSection.emplace(pairKey(a, b), static_cast<int>(i)).second)
        fail("second section between two nodes" + no);
      const auto length = s.lengthMetres(), speed = s.speedKmh();
      if (!length || *length <= 0 || s.length.size() > 7) fail("length" + no);
      if (!speed || *speed <= 0 || s.speed.size() > 7) fail("speed" + no);
      const std::string from(trim(s.houseFrom)), to(trim(s.houseTo));
      if (street.streetType == noStreet) {
        if (db.level() != 1 || !s.hasNonStdNumbering() || !from.empty() || !to.empty() ||
            s.houseFrom != " " || s.houseTo != " ")
          fail("no-street section" + no);
        continue;
      }
      if (db.level() == 1 && !s.hasNonStdNumbering()) {
        if (!isHouseNumber(from) || !isHouseNumber(to) || from.size() > 4 || to.size() > 4)
          fail("house numbers" + no);
        else if (from == to || parityDigit(from) % 2 != parityDigit(to) % 2)
          fail("house range" + no);
      }
      if (db.level() == 2 && (from.empty() || to.empty() || from == to)) fail("house range" + no);
      if (db.level() == 2 && s.hasNonStdNumbering()) fail("level-2 numbering" + no);
      const std::string key =
          street.streetType + "|" + withoutBlanks(street.name) + "," + from + "-" + to;
      if (!ranges.insert(key).second) fail("duplicate range" + no);
    }
    if (db.header.nodeCount != static_cast<int32_t>(nodes.size()) || nodes.size() > 99999)
      fail("node count");
  }

  void reversesAndTurns() {
    for (size_t i = 0; i < db.sections.size(); ++i) {
      const auto& s = db.sections[i];
      const std::string no = " of section " + std::to_string(i + 1);
      const auto a = *s.startNodeNumber(), b = *s.endNodeNumber();
      const auto rev = firstSection.find(pairKey(b, a));
      const std::string expected = rev == firstSection.end() ? "" : std::to_string(rev->second + 1);
      if (s.reverseSection != expected) fail("reverse" + no);
      if (s.turns.size() > 10) fail("turn count" + no);
      // Directions as the wizard's SpaceBar offers them: forward, back, rights, lefts.
      std::string order;
      for (const auto& t : s.turns) {
        if (!isNodeText(t.node) || firstSection.count(pairKey(b, *t.nodeNumber())) == 0)
          fail("turn to nowhere" + no);
        if (t.direction.size() != 1 || std::string("^v><").find(t.direction) == std::string::npos)
          fail("direction" + no);
        if (t.direction == "v" && *t.nodeNumber() != a) fail("back turn" + no);
        order += t.direction;
      }
      std::string sorted = order;
      std::stable_sort(sorted.begin(), sorted.end(), [](char x, char y) {
        return std::string("^v><").find(x) < std::string("^v><").find(y);
      });
      if (sorted != order || std::count(order.begin(), order.end(), '^') > 1 ||
          std::count(order.begin(), order.end(), 'v') > 1)
        fail("turn order" + no);
    }
  }

  void houses() {
    if (db.level() != 2) return;
    size_t h = 0;
    for (size_t s = 0; s < db.streets.size(); ++s) {
      std::set<std::string> numbers;
      if (db.streetHouseCounts[s] > 999) fail("too many houses on a street");
      for (int32_t k = 0; k < db.streetHouseCounts[s]; ++k, ++h) {
        const HouseRec& house = db.houses[h];
        const std::string no = " of house " + std::to_string(h + 1);
        if (house.streetIndex != static_cast<int32_t>(s)) fail("house grouping" + no);
        if (house.houseNo.empty() || house.houseNo.size() > 9 ||
            !std::all_of(house.houseNo.begin(), house.houseNo.end(), [](char c) {
              return isDigit(c) || isLowerLetter(c) || c == '/' || c == '\\';
            }))
          fail("house number" + no);
        if (!numbers.insert(house.houseNo).second) fail("duplicate house number" + no);
        if (house.yardNo < 0 || house.links.empty() || house.links.size() > 4)
          fail("yard or links" + no);
        for (const auto& l : house.links) {
          if (l.sectionNo < 1 || l.sectionNo > db.header.sectionCount) {
            fail("link section" + no);
            continue;
          }
          const double length = *db.sections[static_cast<size_t>(l.sectionNo - 1)].lengthMetres();
          if (house.yardNo == 0 && l.distToExit != 0) fail("exit distance without a yard" + no);
          if (l.distToExit < 0 || l.distExitToEnd < 0 || l.distExitToEnd > length)
            fail("link distances" + no);
        }
      }
    }
    if (db.header.houseCount < 1 || db.header.houseCount > 300000) fail("house total");
  }

  // Every open section reaches every other open one through the turns, as the task graphs
  // build their successors: a turn leads to the first section from the end node to its node.
  void connectivity() {
    const size_t n = db.sections.size();
    std::vector<std::vector<int>> next(n), prev(n);
    for (size_t i = 0; i < n; ++i) {
      if (db.sections[i].isClosed()) continue;
      const auto b = *db.sections[i].endNodeNumber();
      for (const auto& t : db.sections[i].turns) {
        const int j = firstSection.at(pairKey(b, *t.nodeNumber()));
        if (db.sections[static_cast<size_t>(j)].isClosed()) continue;
        next[i].push_back(j);
        prev[static_cast<size_t>(j)].push_back(static_cast<int>(i));
      }
    }
    const size_t start =
        static_cast<size_t>(std::find_if(db.sections.begin(), db.sections.end(),
                                         [](const TransitSectionRec& s) { return !s.isClosed(); }) -
                            db.sections.begin());
    for (const auto* graph : {&next, &prev}) {
      std::vector<bool> seen(n);
      std::vector<size_t> stack = {start};
      seen[start] = true;
      while (!stack.empty()) {
        const size_t v = stack.back();
        stack.pop_back();
        for (int w : (*graph)[v])
          if (!seen[static_cast<size_t>(w)]) {
            seen[static_cast<size_t>(w)] = true;
            stack.push_back(static_cast<size_t>(w));
          }
      }
      for (size_t i = 0; i < n; ++i)
        if (!db.sections[i].isClosed() && !seen[i])
          fail("section " + std::to_string(i + 1) + " is cut off");
    }
  }
};

std::vector<std::string> problemsOf(const DbrnFile& db) {
  Checker c{db, db.header.language == "rus" ? std::string("\xED\xE5\xF2") : "none", {}, {}};
  c.types();
  c.streets();
  c.sections();
  if (!c.problems.empty()) return c.problems;
  c.reversesAndTurns();
  c.houses();
  if (c.problems.empty()) c.connectivity();
  return c.problems;
}

std::string joined(const std::vector<std::string>& v) {
  std::string out;
  for (const auto& s : v) out += s + "\n";
  return out;
}

TEST(DemoCityChecks, CatchDatabasesTheWizardsWouldRefuse) {
  const DbrnFile good = demoCity(2, "eng");
  ASSERT_TRUE(problemsOf(good).empty());
  auto broken = [&](auto change) {
    DbrnFile db = good;
    change(db);
    return !problemsOf(db).empty();
  };
  EXPECT_TRUE(broken([](DbrnFile& db) { db.sections[3].startNode = "123"; }));
  EXPECT_TRUE(broken([](DbrnFile& db) { db.sections[3].houseTo = db.sections[3].houseFrom; }));
  EXPECT_TRUE(broken([](DbrnFile& db) { db.sections[3].reverseSection = "1"; }));
  EXPECT_TRUE(broken([](DbrnFile& db) { db.sections[0].turns.push_back({"99999", "<"}); }));
  EXPECT_TRUE(broken([](DbrnFile& db) { std::swap(db.streets[0], db.streets[1]); }));
  EXPECT_TRUE(broken([](DbrnFile& db) { db.houses[0].links[0].distToExit = 5; }));
  EXPECT_TRUE(broken([](DbrnFile& db) { db.houses[1].houseNo = db.houses[0].houseNo; }));
  EXPECT_TRUE(broken([](DbrnFile& db) {
    for (auto& s : db.sections)
      if (s.startNode == db.sections[0].startNode) s.closed = "*";
  }));
  DbrnFile level1 = demoCity(1, "eng");
  level1.sections[4].houseTo = "28";  // parity differs from the odd start "21"
  EXPECT_FALSE(problemsOf(level1).empty());
}

// ---- the shipped demo city ----

TEST(DemoCity, EveryShippedDatabasePassesTheWizardsChecks) {
  for (std::string_view lang : kDemoLanguages)
    for (int level : {1, 2}) {
      SCOPED_TRACE(std::string(lang) + " level " + std::to_string(level));
      const DbrnFile db = demoCity(level, lang);
      EXPECT_EQ(db.header.language, lang);
      EXPECT_EQ(db.header.dbKind, level == 1 ? "sys1" : "sys2");
      EXPECT_GE(db.header.sectionCount, 300);
      EXPECT_LE(db.header.sectionCount, 800);
      EXPECT_EQ(joined(problemsOf(db)), "");
      // The file reads back through the checked reader unchanged.
      const DbrnRead read = readDbrn(writeDbrn(db));
      ASSERT_TRUE(read.db) << read.error.text;
      EXPECT_EQ(*read.db, db);
    }
}

TEST(DemoCity, HasTheFeaturesTheProgramIsShownWith) {
  const DbrnFile db = demoCity(1, "eng");
  std::set<std::string> directions, shortNames;
  int oneWay = 0, twoWay = 0, closed = 0, prevClosed = 0, reverseClosed = 0, square = 0;
  for (const auto& t : db.streetTypes) shortNames.insert(t.shortName);
  for (const auto& s : db.sections) {
    (s.reverseSection.empty() ? oneWay : twoWay) += 1;
    closed += s.isClosed();
    prevClosed += s.arePrevObjectsClosed();
    reverseClosed += s.areReverseObjectsClosed();
    square += db.streets[static_cast<size_t>(s.streetIndex)].streetType == "sq.";
    for (const auto& t : s.turns) directions.insert(t.direction);
  }
  EXPECT_EQ(shortNames, (std::set<std::string>{"av.", "emb.", "ln.", "sq.", "st.", "none"}));
  EXPECT_GT(oneWay, 10);
  EXPECT_GT(twoWay, 300);
  EXPECT_EQ(square, 4);
  EXPECT_EQ(closed, 3);
  EXPECT_GE(prevClosed, 1);
  EXPECT_GE(reverseClosed, 1);
  EXPECT_EQ(directions, (std::set<std::string>{"^", "v", ">", "<"}));
  EXPECT_TRUE(std::any_of(db.sections.begin(), db.sections.end(), [](const auto& s) {
    return s.turns.empty() == false && s.turns.size() >= 4;
  }));
}

TEST(DemoCity, OddAndEvenNumbersFaceEachOther) {
  const DbrnFile db = demoCity(1, "rus");
  int pairs = 0;
  for (const auto& s : db.sections) {
    if (s.hasNonStdNumbering() || s.reverseSection.empty()) continue;
    const auto& r = db.sections[static_cast<size_t>(*s.reverseSectionNo() - 1)];
    EXPECT_EQ(s.streetIndex, r.streetIndex);
    EXPECT_NE(parityDigit(s.houseFrom) % 2, parityDigit(r.houseFrom) % 2);
    ++pairs;
  }
  EXPECT_GT(pairs, 300);
}

TEST(DemoCity, NoStreetTypeUsesTheShellsShortName) {
  for (std::string_view lang : kDemoLanguages) {
    const DbrnFile db = demoCity(1, lang);
    const std::string none = lang == "rus" ? "\xED\xE5\xF2" : "none";  // "нет" in code page 1251
    const auto noStreet = std::find_if(db.streets.begin(), db.streets.end(),
                                       [&](const StreetRec& s) { return s.streetType == none; });
    ASSERT_NE(noStreet, db.streets.end()) << lang;
    EXPECT_EQ(noStreet->name, "");
    EXPECT_TRUE(std::any_of(db.sections.begin(), db.sections.end(),
                            [&](const auto& s) { return s.streetIndex == noStreet->streetNo; }));
    // Level-2 sections always carry house numbers, so that database has no such type.
    const DbrnFile withHouses = demoCity(2, lang);
    EXPECT_TRUE(std::none_of(withHouses.streetTypes.begin(), withHouses.streetTypes.end(),
                             [&](const auto& t) { return t.shortName == none; }));
  }
}

TEST(DemoCity, HousesStandInYardsWithOneToFourExits) {
  const DbrnFile db = demoCity(2, "eng");
  std::map<size_t, int> byLinks;
  std::map<int32_t, int> yards;
  bool letter = false;
  for (const auto& h : db.houses) {
    ++byLinks[h.links.size()];
    if (h.yardNo > 0) ++yards[h.yardNo];
    letter = letter || !isDigit(h.houseNo.back());
  }
  for (size_t n = 1; n <= 4; ++n) EXPECT_GT(byLinks[n], 0) << n << " links";
  EXPECT_GT(yards.size(), 10u);
  EXPECT_TRUE(std::any_of(yards.begin(), yards.end(), [](auto y) { return y.second >= 2; }));
  // Yards are numbered 1, 2, ... in the order of the houses.
  int32_t last = 0;
  for (const auto& h : db.houses)
    if (h.yardNo > 0) {
      EXPECT_LE(h.yardNo, last + 1);
      last = std::max(last, h.yardNo);
    }
  EXPECT_TRUE(letter);
}

TEST(DemoCity, LanguagesShareTheNetworkButNotTheNames) {
  for (int level : {1, 2}) {
    const DbrnFile eng = demoCity(level, "eng"), rus = demoCity(level, "rus");
    auto network = [](const DbrnFile& db) {
      auto dot = [](std::string t) {
        std::replace(t.begin(), t.end(), ',', '.');
        return t;
      };
      std::multiset<std::string> out;
      for (const auto& s : db.sections) {
        std::string turns;
        for (const auto& t : s.turns) turns += t.node + t.direction;
        out.insert(s.startNode + s.endNode + dot(s.length) + dot(s.speed) + s.houseFrom +
                   s.houseTo + s.nonStdNumbering + s.closed + s.prevObjectsClosed +
                   s.reverseObjectsClosed + turns);
      }
      for (const auto& h : db.houses) {
        std::string number = h.houseNo;
        while (!number.empty() && !isDigit(number.back())) number.pop_back();
        out.insert(number + "/" + std::to_string(h.links.size()) + (h.yardNo > 0 ? "y" : ""));
      }
      return out;
    };
    EXPECT_EQ(network(eng), network(rus));
    EXPECT_EQ(eng.header.houseCount, rus.header.houseCount);
    EXPECT_EQ(eng.header.nodeCount, rus.header.nodeCount);
    auto cyrillic = [](const std::string& s) {
      return std::any_of(s.begin(), s.end(),
                         [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
    };
    EXPECT_TRUE(std::none_of(eng.streets.begin(), eng.streets.end(),
                             [&](const auto& s) { return cyrillic(s.name); }));
    EXPECT_TRUE(std::all_of(rus.streets.begin(), rus.streets.end(),
                            [&](const auto& s) { return s.name.empty() || cyrillic(s.name); }));
    EXPECT_TRUE(cyrillic(rus.header.dbName));
  }
}

TEST(DemoCity, GenerationIsDeterministicAndShippedInTheProgramFolder) {
  for (const auto& demo : shippedDemoDatabases()) {
    SCOPED_TRACE(demo.fileName);
    const std::string bytes = writeDbrn(demo.db);
    EXPECT_EQ(writeDbrn(demoCity(demo.db.level(), demo.db.header.language)), bytes);
    EXPECT_EQ(readFile(fs::path(QJ_PROGRAM_DIR) / "Dbrn" / demo.fileName), bytes);
    EXPECT_EQ(demo.fileName.substr(0, 7), demo.db.header.key());
  }
  EXPECT_EQ(shippedDemoDatabases().size(), 4u);
}

// ---- the large city at the task limits ----

TEST(LargeCity, SitsAtTheTaskLimitsAndPassesTheChecks) {
  for (int level : {1, 2}) {
    SCOPED_TRACE(level);
    const DbrnFile db = largeCity(level, level == 1 ? "eng" : "rus");
    EXPECT_EQ(db.header.nodeCount, 2500);
    EXPECT_EQ(db.header.sectionCount, 10000);
    size_t most = 0;
    for (const auto& s : db.sections) most = std::max(most, s.turns.size());
    EXPECT_EQ(most, 10u);
    EXPECT_GT(db.header.houseCount, level == 2 ? 10000 : -1);
    EXPECT_EQ(joined(problemsOf(db)), "");
  }
}

}  // namespace
}  // namespace qj
