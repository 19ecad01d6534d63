#include "democity/demo_city.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <set>
#include <stdexcept>
#include <utility>

#include "dbrn/dbrn_io.h"
#include "records/cp1251.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {
namespace {

// SplitMix64: the same sequence on every platform and compiler (the distributions of the
// standard library are not).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  uint64_t state_;
};

std::string cp(const char* utf8) {
  return cp1251::fromUtf8(utf8);
}

// ---- the plan of a city: nodes with coordinates, streets, and blocks between two nodes ----

enum class Role { Avenue, Embankment, Lane, Square, Street, NoStreet };

struct TypeText {
  Role role;
  const char *fullEng, *shortEng, *fullRus, *shortRus, *speed;
};

// Full names are lower-case words as the wizard accepts them. The no-street type's short name
// is the shells' short text 2 ("none", "нет").
const TypeText kTypeTexts[] = {
    {Role::Avenue, "avenue", "av.", "проспект", "пр.", "60"},
    {Role::Embankment, "embankment", "emb.", "набережная", "наб.", "50"},
    {Role::Lane, "lane", "ln.", "переулок", "пер.", "30"},
    {Role::Square, "square", "sq.", "площадь", "пл.", "20"},
    {Role::Street, "street", "st.", "улица", "ул.", "40"},
    {Role::NoStreet, "unnamed", "none", "безымянный", "нет", "10"},
};

const TypeText& typeText(Role role) {
  for (const auto& t : kTypeTexts)
    if (t.role == role) return t;
  throw std::logic_error("street role without a type");
}

struct PlanNode {
  int32_t number;
  double x, y;  // metres, y pointing north
};

struct PlanStreet {
  Role role;
  std::string name;  // code page 1251
};

struct Lane {
  bool closed = false, prevObjectsClosed = false, reverseObjectsClosed = false;
};

// A block of a street between two adjacent nodes: one lane in the street's direction
// (from -> to, odd house numbers) and, unless one-way, one back (even numbers).
struct PlanLink {
  int from = 0, to = 0;
  int street = 0;
  int block = 0;
  int firstOdd = 1;  // house numbers firstOdd, firstOdd + 2, ... and firstOdd + 1, ...
  int perSide = 5;
  bool oneWay = false;
  bool housesOpposite = true;  // houses on the even side too
  double length = 0;           // metres, as stored
  std::string speed;           // empty: the type's speed
  Lane forward, back;
};

struct Plan {
  std::vector<PlanNode> nodes;
  std::vector<PlanStreet> streets;
  std::vector<PlanLink> links;
  bool restrictTurns = true;  // avenues forbid U-turns and some left turns
  int keepHousePercent = 75;
  int letterHousePercent = 8;
  uint64_t houseSeed = 1;
};

struct Grid {
  int rows, cols;
  std::vector<double> xs, ys;
  int node(int r, int c) const { return r * cols + c; }
};

Grid makeGrid(Plan& plan, Rng& rng, int rows, int cols, int minW, int maxW, int minH, int maxH) {
  Grid g{rows, cols, {}, {}};
  double x = 0, y = 0;
  for (int c = 0; c < cols; ++c, x += minW + 5 * rng.below((maxW - minW) / 5 + 1))
    g.xs.push_back(x);
  for (int r = 0; r < rows; ++r, y += minH + 5 * rng.below((maxH - minH) / 5 + 1))
    g.ys.push_back(y);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      plan.nodes.push_back(
          {100 * (r + 1) + (c + 1), g.xs[static_cast<size_t>(c)], g.ys[static_cast<size_t>(r)]});
  return g;
}

int addStreet(Plan& plan, Role role, std::string name) {
  plan.streets.push_back({role, std::move(name)});
  return static_cast<int>(plan.streets.size()) - 1;
}

// The stored length: whole metres, now and then with half a metre.
double storedLength(const Plan& plan, int from, int to, Rng& rng) {
  const PlanNode& a = plan.nodes[static_cast<size_t>(from)];
  const PlanNode& b = plan.nodes[static_cast<size_t>(to)];
  const double whole = std::nearbyint(std::hypot(b.x - a.x, b.y - a.y));
  return rng.chance(15) ? whole + 0.5 : whole;
}

PlanLink& addLink(Plan& plan, Rng& rng, int from, int to, int street, int block) {
  PlanLink l;
  l.from = from;
  l.to = to;
  l.street = street;
  l.block = block;
  l.firstOdd = 10 * block + 1;
  l.length = storedLength(plan, from, to, rng);
  plan.links.push_back(l);
  return plan.links.back();
}

PlanLink& linkOf(Plan& plan, int street, int block) {
  for (auto& l : plan.links)
    if (l.street == street && l.block == block) return l;
  throw std::logic_error("no such block in the demo plan");
}

struct NamedStreet {
  Role role;
  const char *eng, *rus;
};

// The demo city: 10 streets running east (south to north) and 12 running north (west to
// east); the square takes the central block.
const NamedStreet kDemoRows[] = {
    {Role::Embankment, "River", "Речная"},  {Role::Street, "Mill", "Мельничная"},
    {Role::Street, "Factory", "Заводская"}, {Role::Avenue, "Victoria", "Мира"},
    {Role::Street, "Garden", "Садовая"},    {Role::Street, "Market", "Торговая"},
    {Role::Street, "School", "Школьная"},   {Role::Avenue, "Kings", "Победы"},
    {Role::Street, "Meadow", "Луговая"},    {Role::Street, "Hill", "Нагорная"},
};
const NamedStreet kDemoCols[] = {
    {Role::Street, "West", "Западная"},   {Role::Street, "Oak", "Дубовая"},
    {Role::Lane, "Birch", "Берёзовый"},   {Role::Street, "Maple", "Кленовая"},
    {Role::Street, "Elm", "Вязовая"},     {Role::Street, "Station", "Вокзальная"},
    {Role::Street, "Bridge", "Мостовая"}, {Role::Street, "Cedar", "Кедровая"},
    {Role::Street, "Willow", "Ивовая"},   {Role::Lane, "Chestnut", "Каштановый"},
    {Role::Street, "Linden", "Липовая"},  {Role::Lane, "Quiet", "Тихий"},
};
const NamedStreet kDemoSquare = {Role::Square, "Cathedral", "Соборная"};

Plan demoPlan(int level, bool rus) {
  Plan plan;
  Rng rng(20240601);
  const int rows = 10, cols = 12;
  const Grid g = makeGrid(plan, rng, rows, cols, 110, 190, 90, 150);
  auto name = [&](const NamedStreet& s) { return rus ? cp(s.rus) : std::string(s.eng); };
  auto isSquareBlockOfRow = [](int r, int c) { return (r == 4 || r == 5) && c == 5; };
  auto isSquareBlockOfCol = [](int r, int c) { return (c == 5 || c == 6) && r == 4; };

  std::vector<int> rowStreet, colStreet;
  for (const auto& s : kDemoRows) rowStreet.push_back(addStreet(plan, s.role, name(s)));
  for (const auto& s : kDemoCols) colStreet.push_back(addStreet(plan, s.role, name(s)));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c + 1 < cols; ++c)
      if (!isSquareBlockOfRow(r, c))
        addLink(plan, rng, g.node(r, c), g.node(r, c + 1), rowStreet[static_cast<size_t>(r)], c);
  for (int c = 0; c < cols; ++c) {
    const int street = colStreet[static_cast<size_t>(c)];
    for (int r = 0; r + 1 < rows; ++r) {
      if (isSquareBlockOfCol(r, c)) continue;
      if (c == 9) {  // one-way southward: its blocks count from the north
        addLink(plan, rng, g.node(r + 1, c), g.node(r, c), street, rows - 2 - r).oneWay = true;
      } else {
        addLink(plan, rng, g.node(r, c), g.node(r + 1, c), street, r).oneWay = c == 2;
      }
    }
  }
  // The square: one-way counter-clockwise around the central block, houses outside the ring.
  const int square = addStreet(plan, kDemoSquare.role, name(kDemoSquare));
  const int ring[] = {g.node(4, 5), g.node(4, 6), g.node(5, 6), g.node(5, 5)};
  for (int k = 0; k < 4; ++k) {
    PlanLink& l = addLink(plan, rng, ring[k], ring[(k + 1) % 4], square, k);
    l.oneWay = true;
    l.housesOpposite = false;
    l.firstOdd = 8 * k + 1;
    l.perSide = 4;
  }
  // A driveway into the park, two sections long, that belongs to no street (level 1 only:
  // level-2 sections always carry house numbers).
  if (level == 1) {
    const int park = addStreet(plan, Role::NoStreet, "");
    const double px = (g.xs[7] + g.xs[8]) / 2, py = (g.ys[1] + g.ys[2]) / 2;
    plan.nodes.push_back({9001, px, py});
    plan.nodes.push_back({9002, px + 35, py + 30});
    const int p1 = static_cast<int>(plan.nodes.size()) - 2, p2 = p1 + 1;
    addLink(plan, rng, g.node(1, 7), p1, park, 0);
    addLink(plan, rng, p1, p2, park, 1);
  }

  // Speeds that were typed with decimals, closed lanes and inaccessible objects.
  for (auto& l : plan.links)
    if (plan.streets[static_cast<size_t>(l.street)].role == Role::Street && rng.chance(6))
      l.speed = rus ? "35,5" : "35.5";
  linkOf(plan, colStreet[1], 3).back.closed = true;
  linkOf(plan, rowStreet[6], 8).forward.closed = true;
  linkOf(plan, colStreet[10], 6).forward.closed = true;
  linkOf(plan, rowStreet[3], 2).forward.reverseObjectsClosed = true;
  linkOf(plan, rowStreet[3], 7).forward.reverseObjectsClosed = true;
  linkOf(plan, rowStreet[8], 4).back.prevObjectsClosed = true;
  plan.houseSeed = 7 + static_cast<uint64_t>(level);
  return plan;
}

// The large city: a 50 x 50 grid of two-way streets and 17 star junctions on the avenues,
// each joined to its four diagonal neighbours and (all but the last) to two more nodes.
Plan largePlan(bool rus) {
  Plan plan;
  Rng rng(99991);
  const int n = 50;
  const Grid g = makeGrid(plan, rng, n, n, 100, 160, 90, 130);
  auto numbered = [&](const char* eng, const char* russian, int k) {
    return (rus ? cp(russian) : std::string(eng)) + " " + std::to_string(k);
  };
  for (int r = 0; r < n; ++r) {
    const int s = addStreet(plan, r % 10 == 5 ? Role::Avenue : Role::Street,
                            numbered("Line", "Линия", r + 1));
    for (int c = 0; c + 1 < n; ++c) addLink(plan, rng, g.node(r, c), g.node(r, c + 1), s, c);
  }
  for (int c = 0; c < n; ++c) {
    const int s =
        addStreet(plan, c % 7 == 3 ? Role::Lane : Role::Street, numbered("Road", "Дорога", c + 1));
    for (int r = 0; r + 1 < n; ++r) addLink(plan, rng, g.node(r, c), g.node(r + 1, c), s, r);
  }
  int hub = 0;
  for (int r : {5, 15, 25, 35, 45}) {
    for (int c : {5, 15, 25, 35}) {
      if (hub == 17) break;
      const int s = addStreet(plan, Role::Square, numbered("Star", "Звезда", hub + 1));
      std::vector<std::pair<int, int>> ends = {
          {r + 1, c + 1}, {r + 1, c - 1}, {r - 1, c - 1}, {r - 1, c + 1}};
      if (hub < 16) ends.insert(ends.end(), {{r - 1, c + 2}, {r + 1, c - 2}});
      for (size_t k = 0; k < ends.size(); ++k) {
        PlanLink& l = addLink(plan, rng, g.node(r, c), g.node(ends[k].first, ends[k].second), s,
                              static_cast<int>(k));
        l.perSide = 2;
      }
      ++hub;
    }
  }
  for (size_t i = 0; i < plan.links.size(); i += 997) plan.links[i].forward.closed = true;
  plan.restrictTurns = false;
  plan.keepHousePercent = 40;
  plan.letterHousePercent = 3;
  plan.houseSeed = 4242;
  return plan;
}

// ---- from the plan to the database ----

std::string nodeText(int32_t number) {
  return padLeft(std::to_string(number), 5, '0');
}

// Street types are stored sorted by the first five characters of their full names.
bool typeBefore(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < 5; ++i) {
    const unsigned ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0u;
    const unsigned cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0u;
    if (ca != cb) return ca < cb;
  }
  return false;
}

bool bytesBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

struct BuiltSection {
  int link;
  bool forward;
  int from, to;  // node indices
};

class CityBuilder {
 public:
  CityBuilder(const Plan& plan, int level, bool rus) : plan_(plan), level_(level), rus_(rus) {}

  DbrnFile build() {
    buildTypesAndStreets();
    buildSections();
    buildTurns();
    if (level_ == 2) buildHouses();
    for (size_t s = 0; s < db_.streets.size(); ++s) {
      const bool used = sectionStreets_.count(static_cast<int>(s)) > 0 ||
                        (level_ == 2 && db_.streetHouseCounts[s] > 0);
      db_.streets[s].state = std::string(used ? kStreetReferenced : kStreetEntered);
    }
    std::set<int32_t> nodes;
    for (const auto& b : built_) {
      nodes.insert(plan_.nodes[static_cast<size_t>(b.from)].number);
      nodes.insert(plan_.nodes[static_cast<size_t>(b.to)].number);
    }
    db_.header.nodeCount = static_cast<int32_t>(nodes.size());
    db_.header.dbKind = level_ == 1 ? "sys1" : "sys2";
    db_.header.language = rus_ ? "rus" : "eng";
    db_.header.dbDate = dateText(kDemoCityDate, db_.header.language);
    db_.syncHeaderCounts();
    return std::move(db_);
  }

 private:
  void buildTypesAndStreets() {
    std::vector<Role> roles;
    for (const auto& t : kTypeTexts)
      for (const auto& s : plan_.streets)
        if (s.role == t.role) {
          roles.push_back(t.role);
          break;
        }
    for (Role role : roles) {
      const TypeText& t = typeText(role);
      db_.streetTypes.push_back(
          {rus_ ? cp(t.fullRus) : t.fullEng, rus_ ? cp(t.shortRus) : t.shortEng, 0});
    }
    std::vector<size_t> typeOrder(roles.size());
    for (size_t i = 0; i < typeOrder.size(); ++i) typeOrder[i] = i;
    std::stable_sort(typeOrder.begin(), typeOrder.end(), [&](size_t a, size_t b) {
      return typeBefore(db_.streetTypes[a].fullName, db_.streetTypes[b].fullName);
    });
    std::vector<StreetTypeRec> sortedTypes;
    std::map<Role, int> typeRank;
    for (size_t i = 0; i < typeOrder.size(); ++i) {
      sortedTypes.push_back(db_.streetTypes[typeOrder[i]]);
      typeRank[roles[typeOrder[i]]] = static_cast<int>(i);
    }
    db_.streetTypes = std::move(sortedTypes);

    std::vector<int> order(plan_.streets.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const PlanStreet& sa = plan_.streets[static_cast<size_t>(a)];
      const PlanStreet& sb = plan_.streets[static_cast<size_t>(b)];
      if (typeRank[sa.role] != typeRank[sb.role]) return typeRank[sa.role] < typeRank[sb.role];
      return bytesBefore(sa.name, sb.name);
    });
    streetIndex_.assign(plan_.streets.size(), 0);
    for (size_t i = 0; i < order.size(); ++i) {
      const PlanStreet& s = plan_.streets[static_cast<size_t>(order[i])];
      streetIndex_[static_cast<size_t>(order[i])] = static_cast<int>(i);
      StreetTypeRec& type = db_.streetTypes[static_cast<size_t>(typeRank[s.role])];
      ++type.streetCount;
      db_.streets.push_back({type.shortName, s.name, "", static_cast<int32_t>(i)});
    }
  }

  const PlanLink& link(int i) const { return plan_.links[static_cast<size_t>(i)]; }
  Role roleOf(int section) const {
    return plan_
        .streets[static_cast<size_t>(link(built_[static_cast<size_t>(section)].link).street)]
        .role;
  }

  void buildSections() {
    std::vector<int> links(plan_.links.size());
    for (size_t i = 0; i < links.size(); ++i) links[i] = static_cast<int>(i);
    std::stable_sort(links.begin(), links.end(), [&](int a, int b) {
      const int sa = streetIndex_[static_cast<size_t>(link(a).street)];
      const int sb = streetIndex_[static_cast<size_t>(link(b).street)];
      return sa != sb ? sa < sb : link(a).block < link(b).block;
    });
    const char sep = rus_ ? ',' : '.';
    for (int li : links) {
      const PlanLink& l = link(li);
      firstSection_[li] = static_cast<int>(built_.size());
      built_.push_back({li, true, l.from, l.to});
      if (!l.oneWay) built_.push_back({li, false, l.to, l.from});
    }
    for (size_t i = 0; i < built_.size(); ++i) {
      const BuiltSection& b = built_[i];
      const PlanLink& l = link(b.link);
      const Role role = plan_.streets[static_cast<size_t>(l.street)].role;
      const Lane& lane = b.forward ? l.forward : l.back;
      TransitSectionRec s;
      s.streetIndex = streetIndex_[static_cast<size_t>(l.street)];
      sectionStreets_.insert(s.streetIndex);
      const int lastOdd = l.firstOdd + 2 * (l.perSide - 1);
      if (role == Role::NoStreet) {
        s.houseFrom = s.houseTo = " ";
        s.nonStdNumbering = "*";
      } else if (b.forward) {
        s.houseFrom = std::to_string(l.firstOdd);
        s.houseTo = std::to_string(lastOdd);
      } else {
        s.houseFrom = std::to_string(lastOdd + 1);
        s.houseTo = std::to_string(l.firstOdd + 1);
      }
      s.startNode = nodeText(plan_.nodes[static_cast<size_t>(b.from)].number);
      s.endNode = nodeText(plan_.nodes[static_cast<size_t>(b.to)].number);
      s.length = formatReal(l.length, sep);
      s.speed = l.speed.empty() ? typeText(role).speed : l.speed;
      if (lane.closed) s.closed = "*";
      if (lane.prevObjectsClosed) s.prevObjectsClosed = "*";
      if (lane.reverseObjectsClosed) s.reverseObjectsClosed = "*";
      db_.sections.push_back(std::move(s));
      outgoing_[b.from].push_back(static_cast<int>(i));
      pairs_.emplace(std::make_pair(b.from, b.to), static_cast<int>(i));  // keeps the first
    }
    for (size_t i = 0; i < built_.size(); ++i) {
      const auto rev = pairs_.find({built_[i].to, built_[i].from});
      if (rev != pairs_.end()) db_.sections[i].reverseSection = std::to_string(rev->second + 1);
    }
  }

  struct Candidate {
    int section;
    char direction;
    double angle;  // degrees, left positive
  };

  void buildTurns() {
    successors_.resize(built_.size());
    for (size_t i = 0; i < built_.size(); ++i) {
      std::vector<Candidate> cands = candidates(static_cast<int>(i));
      if (plan_.restrictTurns) restrict(static_cast<int>(i), cands);
      auto rank = [](char d) { return d == '^' ? 0 : d == 'v' ? 1 : d == '>' ? 2 : 3; };
      std::stable_sort(cands.begin(), cands.end(), [&](const Candidate& a, const Candidate& b) {
        if (rank(a.direction) != rank(b.direction)) return rank(a.direction) < rank(b.direction);
        return std::abs(a.angle) < std::abs(b.angle);
      });
      if (cands.size() > static_cast<size_t>(kMaxTurns))
        throw std::logic_error("a junction of the city plan has too many exits");
      for (const Candidate& c : cands) {
        const BuiltSection& t = built_[static_cast<size_t>(c.section)];
        db_.sections[i].turns.push_back(
            {nodeText(plan_.nodes[static_cast<size_t>(t.to)].number), std::string(1, c.direction)});
        successors_[i].push_back(c);
      }
    }
  }

  std::vector<Candidate> candidates(int s) const {
    const BuiltSection& in = built_[static_cast<size_t>(s)];
    const PlanNode& u = plan_.nodes[static_cast<size_t>(in.from)];
    const PlanNode& v = plan_.nodes[static_cast<size_t>(in.to)];
    std::vector<Candidate> out;
    const auto it = outgoing_.find(in.to);
    if (it == outgoing_.end()) return out;
    int straight = -1;
    for (int t : it->second) {
      const PlanNode& w = plan_.nodes[static_cast<size_t>(built_[static_cast<size_t>(t)].to)];
      const double ax = v.x - u.x, ay = v.y - u.y, bx = w.x - v.x, by = w.y - v.y;
      const double angle =
          std::atan2(ax * by - ay * bx, ax * bx + ay * by) * 180 / std::numbers::pi;
      char d = angle < 0 ? '>' : '<';
      if (built_[static_cast<size_t>(t)].to == in.from) d = 'v';
      out.push_back({t, d, angle});
      const int k = static_cast<int>(out.size()) - 1;
      if (d != 'v' && std::abs(angle) <= 30 &&
          (straight < 0 || std::abs(angle) < std::abs(out[static_cast<size_t>(straight)].angle)))
        straight = k;
    }
    if (straight >= 0) out[static_cast<size_t>(straight)].direction = '^';
    return out;
  }

  // Divided avenues: no U-turn where there is another way on, and no left turn at every third
  // junction (by node number) where something else remains.
  void restrict(int s, std::vector<Candidate>& cands) const {
    if (roleOf(s) != Role::Avenue) return;
    auto drop = [&](char d) {
      std::vector<Candidate> kept;
      for (const auto& c : cands)
        if (c.direction != d) kept.push_back(c);
      if (!kept.empty()) cands = std::move(kept);
    };
    drop('v');
    const int32_t node = plan_.nodes[static_cast<size_t>(built_[static_cast<size_t>(s)].to)].number;
    if (node % 3 == 0) drop('<');
  }

  // ---- houses ----

  // The section whose exit a corner house also uses: the first right turn at the end of its
  // own section, else the first left turn.
  int crossSection(int own) const {
    for (char d : {'>', '<'})
      for (const auto& c : successors_[static_cast<size_t>(own)])
        if (c.direction == d) return c.section;
    return -1;
  }

  int reverseOf(int section) const {
    const auto& b = built_[static_cast<size_t>(section)];
    const auto rev = pairs_.find({b.to, b.from});
    return rev == pairs_.end() ? -1 : rev->second;
  }

  double lengthOf(int section) const {
    return link(built_[static_cast<size_t>(section)].link).length;
  }

  struct NewHouse {
    int number;
    std::string suffix;
    int32_t yard = 0;
    std::vector<HouseLinkRec> links;
  };

  void buildHouses() {
    // Generated block by block in the plan's order, so that every language gets the same
    // houses; yards are numbered afterwards in the order the houses are stored.
    Rng rng(plan_.houseSeed);
    std::vector<std::vector<NewHouse>> byStreet(db_.streets.size());
    int32_t yards = 0;
    for (size_t li = 0; li < plan_.links.size(); ++li) {
      const PlanLink& l = plan_.links[li];
      if (plan_.streets[static_cast<size_t>(l.street)].role == Role::NoStreet) continue;
      const int street = streetIndex_[static_cast<size_t>(l.street)];
      for (bool odd : {true, false})
        addSide(rng, static_cast<int>(li), odd, yards, byStreet[static_cast<size_t>(street)]);
    }
    std::map<int32_t, int32_t> yardNo;
    for (size_t s = 0; s < byStreet.size(); ++s) {
      auto& houses = byStreet[s];
      std::stable_sort(houses.begin(), houses.end(), [](const NewHouse& a, const NewHouse& b) {
        return a.number != b.number ? a.number < b.number : a.suffix < b.suffix;
      });
      db_.streetHouseCounts.push_back(static_cast<int32_t>(houses.size()));
      for (auto& h : houses) {
        int32_t yard = 0;
        if (h.yard > 0) {
          const auto [it, added] = yardNo.emplace(h.yard, static_cast<int32_t>(yardNo.size()) + 1);
          yard = it->second;
        }
        db_.houses.push_back({static_cast<int32_t>(s), std::to_string(h.number) + h.suffix, yard,
                              std::move(h.links)});
      }
    }
  }

  // A house exit `along` metres from the start of `section`.
  HouseLinkRec exitOn(int section, double along, int32_t toExit) const {
    const double length = lengthOf(section);
    const double rest = std::clamp(length - along, 0.0, length);
    return {section + 1, toExit, static_cast<int32_t>(std::floor(rest))};
  }

  void addSide(Rng& rng, int li, bool odd, int32_t& yards, std::vector<NewHouse>& out) const {
    const PlanLink& l = link(li);
    if (!odd && !l.housesOpposite) return;
    const int forward = firstSection_.at(li);
    // Even numbers face the lane back, or the only lane of a one-way street.
    const int own = odd || l.oneWay ? forward : forward + 1;
    const bool ownRuns = own == forward;  // the own lane runs in the street's direction
    const double length = l.length;
    const int key = l.block + l.street;                    // the same in every language
    const bool yardA = odd && !l.oneWay && key % 5 == 1;   // mid-block, both lanes
    const bool yardB = !odd && !l.oneWay && key % 7 == 3;  // corner, four exits
    const bool threeExits = odd && key % 11 == 5;          // corner, no yard
    int32_t yardAt = 0, yardBt = 0;
    for (int j = 0; j < l.perSide; ++j) {
      if (!rng.chance(plan_.keepHousePercent)) continue;
      NewHouse h;
      h.number = (odd ? l.firstOdd : l.firstOdd + 1) + 2 * j;
      // Metres from the start of the street's block, and from the start of the own lane.
      const double fromBlockStart = length * (j + 0.5) / l.perSide;
      const double along = ownRuns ? fromBlockStart : length - fromBlockStart;
      // The corner house stands next to the end of its own lane.
      const bool corner = ownRuns ? j == l.perSide - 1 : j == 0;
      const int cross = corner ? crossSection(own) : -1;
      const int rev = l.oneWay ? -1 : reverseOf(own);
      if (yardB && (corner || j == 1)) {
        if (yardBt == 0) yardBt = ++yards;
        h.yard = yardBt;
        const int32_t e = 25 + 10 * j;
        h.links.push_back(exitOn(own, along, e));
        if (rev >= 0) h.links.push_back(exitOn(rev, length - along, e));
        const int c = crossSection(own);
        if (c >= 0) {
          h.links.push_back(exitOn(c, 10, e + 15));
          const int cr = reverseOf(c);
          if (cr >= 0) h.links.push_back(exitOn(cr, lengthOf(cr) - 10, e + 15));
        }
      } else if (threeExits && cross >= 0 && reverseOf(cross) >= 0) {
        h.links.push_back(exitOn(own, along, 0));
        h.links.push_back(exitOn(cross, 10, 0));
        h.links.push_back(exitOn(reverseOf(cross), lengthOf(cross) - 10, 0));
      } else if (yardA && (j == 1 || j == 2) && rev >= 0) {
        if (yardAt == 0) yardAt = ++yards;
        h.yard = yardAt;
        const int32_t e = 15 + 5 * j;
        h.links.push_back(exitOn(own, along, e));
        h.links.push_back(exitOn(rev, length - along, e));
      } else {
        h.links.push_back(exitOn(own, along, 0));
        if (cross >= 0) h.links.push_back(exitOn(cross, 10, 0));
      }
      if (rng.chance(plan_.letterHousePercent)) {
        NewHouse annex = h;
        annex.suffix = rus_ ? cp("а") : "a";
        out.push_back(std::move(annex));
      }
      out.push_back(std::move(h));
    }
  }

  const Plan& plan_;
  const int level_;
  const bool rus_;
  DbrnFile db_;
  std::vector<int> streetIndex_;  // plan street -> stored index
  std::set<int> sectionStreets_;
  std::vector<BuiltSection> built_;
  std::map<int, int> firstSection_;  // plan link -> its forward section
  std::map<int, std::vector<int>> outgoing_;
  std::map<std::pair<int, int>, int> pairs_;  // (from, to) -> first section
  std::vector<std::vector<Candidate>> successors_;
};

bool russian(std::string_view lang) {
  if (lang == "rus") return true;
  if (lang == "eng") return false;
  throw std::invalid_argument("the demo city speaks eng and rus only");
}

void checkLevel(int level) {
  if (level != 1 && level != 2) throw std::invalid_argument("a system database has level 1 or 2");
}

}  // namespace

DbrnFile demoCity(int level, std::string_view lang) {
  checkLevel(level);
  const bool rus = russian(lang);
  DbrnFile db = CityBuilder(demoPlan(level, rus), level, rus).build();
  db.header.dbCode = std::string(level == 1 ? kDemoSys1Code : kDemoSys2Code);
  db.header.dbName = rus ? cp(level == 1 ? "Демо-город" : "Демо-город с домами")
                         : (level == 1 ? "Demo city" : "Demo city with houses");
  return db;
}

DbrnFile largeCity(int level, std::string_view lang) {
  checkLevel(level);
  const bool rus = russian(lang);
  DbrnFile db = CityBuilder(largePlan(rus), level, rus).build();
  db.header.dbCode = std::string(kLargeCityCode);
  db.header.dbName = rus ? cp("Большой тестовый город") : "Large test city";
  return db;
}

std::vector<DemoDatabase> shippedDemoDatabases() {
  std::vector<DemoDatabase> out;
  for (std::string_view lang : kDemoLanguages)
    for (int level : {1, 2}) {
      DbrnFile db = demoCity(level, lang);
      std::string name = dbrnFileName(db.header.dbCode, db.header.dbKind, lang);
      out.push_back({std::move(name), std::move(db)});
    }
  return out;
}

}  // namespace qj
