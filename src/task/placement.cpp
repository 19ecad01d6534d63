#include "task/placement.h"

#include <algorithm>

#include "records/numbers.h"
#include "records/text.h"
#include "route/route_texts.h"
#include "task/points_step.h"
#include "task/transition_grid.h"
#include "text/message.h"
#include "wizard/grid.h"

namespace qj {
namespace {

bool isNoNumber(std::string_view house) {
  return trim(house) == "-";
}

// Pass 2 or 3 of the choice: candidates whose bound (`high` or `low`) has the house's number
// with a letter on the far side of the house's; a later one replaces the one taken when its
// bound has the number of its predecessor's bound and a letter nearer to the house.
int chooseByBound(const std::vector<SectionCandidate>& c, HouseNumber house, bool high) {
  const auto bound = [&](size_t j) { return high ? c[j].high : c[j].low; };
  const auto qualifies = [&](size_t j) {
    const HouseNumber b = bound(j);
    return b.number == house.number && (high ? b.letter < house.letter : b.letter > house.letter);
  };
  int taken = -1;
  for (size_t j = 0; j < c.size(); ++j) {
    if (!qualifies(j)) continue;
    if (taken < 0) {
      taken = static_cast<int>(j);
      continue;
    }
    const HouseNumber b = bound(j), before = bound(j - 1);
    if (b.number == before.number && (high ? b.letter > before.letter : b.letter < before.letter))
      taken = static_cast<int>(j);
  }
  return taken;
}

// What placement decides for one point, committed only when every point has passed.
struct Placed {
  int32_t section = -1, reverse = -1;
  PointSectionInfo info;
  double startDist = 0, reverseDist = 0;
};

// The candidate that a mark of the step-5 grid gives the point (house "-" or a street with
// non-standard numbering).
std::optional<SectionCandidate> markedCandidate(const TaskWizardState& st, int i) {
  const GridTable& t = st.table12;
  for (int r = 0; r < t.rows(); ++r) {
    if (parseInt(t.cell(r, 9)) != i + 1 || t.isEmptyTrimmed(r, 8)) continue;
    const auto no = parseInt(t.cell(r, 2));
    if (!no || *no < 1 || static_cast<size_t>(*no) > st.db.sections.size()) return std::nullopt;
    SectionCandidate c;
    c.section = *no - 1;
    c.low = c.high = HouseNumber{-1, ' '};
    c.direction = -1;
    return c;
  }
  return std::nullopt;
}

// The point's place on its section as a fraction of the section's length from its start.
double positionFraction(const SectionCandidate& c, const TransitSectionRec& s,
                        std::optional<HouseNumber> house) {
  if (!house || s.hasNonStdNumbering() || c.direction < 0) return 0.5;
  const double low = c.low.number, high = c.high.number, h = house->number;
  if (c.low.number == c.high.number) return 0;
  return c.direction == 0 ? (h - low) / (high - low) : (high - h) / (high - low);
}

std::string rangeText(const TransitSectionRec& s) {
  return cut(std::string(trim(s.houseFrom)) + "-" + std::string(trim(s.houseTo)) +
                 std::string(trim(s.nonStdNumbering)),
             10);
}

Message closedSectionMessage(const TaskPointRec& p, int i) {
  return warningMessage(shell(446) + " " + num(i + 1) + " " + shell(29) + " \"" +
                        val(addressText(p)) + "\", " + shell(256) + ". " + shell(32) + ".");
}

Message noSectionMessage(const TaskWizardState& st, int i) {
  Text t = shell(154).trimmed() + " " + num(i + 1) + " " + shell(184) + ".";
  if (st.ambiguousCount != 0 || st.header.refusalFlag != 0 || st.header.timeFactorFlag != 0)
    t += lit(" ") + shell(210) + ".";
  return warningMessage(t);
}

// Step A for point i. Returns false when the chosen section is closed.
bool placePoint(const TaskWizardState& st, int i, const SectionLookup& lookup, Placed& out) {
  const TaskPointRec& p = st.points[i];
  const bool noNumber = isNoNumber(p.house);
  const std::optional<HouseNumber> house = noNumber ? std::nullopt : parseHouseNumber(p.house);

  std::vector<SectionCandidate> candidates = numberingCandidates(st.db, p);
  if (candidates.empty() && st.ambiguousCount > 0)
    if (auto marked = markedCandidate(st, i)) candidates.push_back(*marked);

  int chosen = -1;
  if (candidates.size() == 1)
    chosen = 0;
  else if (candidates.size() > 1 && house)
    chosen = chooseCandidate(candidates, *house);
  if (chosen < 0) return true;  // no section: refused after every point was placed

  const SectionCandidate& c = candidates[chosen];
  const TransitSectionRec& s = st.db.sections[c.section];
  if (s.isClosed()) return false;

  const double f = positionFraction(c, s, house);
  out.section = c.section;
  out.info.rangeText = rangeText(s);
  out.info.length = sectionLength(s);
  out.info.speed = sectionSpeed(s);
  out.info.houseNumber = house ? house->number : 0;
  out.info.direction = c.direction;
  out.startDist = out.info.length * f;
  out.reverse = lookup.reverseOf(static_cast<size_t>(c.section));
  if (out.reverse >= 0) out.reverseDist = sectionLength(st.db.sections[out.reverse]) * (1.0 - f);
  return true;
}

// A stored to-slot of the same kind.
const TransitionRec* storedToSlot(const std::vector<TransitionRec>& old, int32_t kind) {
  for (const auto& t : old)
    if (t.kind == kind) return &t;
  return nullptr;
}

// Which ways of the points still are the ways the user entered: a way of a point whose
// address changed, or that now lies on another section, is another way; so is a way straight
// to a point that changed or moved.
//
// A reverse section follows from the point's own one. One that the task does not record (-1)
// moves nothing: a workbook carries only the points' own sections, and a way that needs a
// reverse section the point had not is new, so no stored way of its kind is there to be kept.
class StaleWays {
 public:
  StaleWays(const TaskWizardState& st, const std::vector<Placed>& placed) {
    const size_t n = st.points.size();
    own_.resize(n);
    reverse_.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const TaskPointRec& p = st.points[i];
      const bool changed = isPointChanged(st, static_cast<int>(i));
      own_[i] = changed || p.sectionIndex != placed[i].section;
      reverse_[i] =
          own_[i] || (p.reverseSectionIndex >= 0 && p.reverseSectionIndex != placed[i].reverse);
    }
  }

  bool operator()(int i, int32_t kind) const {
    const int n = static_cast<int>(own_.size());
    if (i < 0 || i >= n) return true;
    switch (kind) {
      case kToOwnSection:
      case kFromOwnSection: return own_[i];
      case kToReverseSection:
      case kFromReverseSection: return reverse_[i];
      default: break;
    }
    const int k = -kind - 1;
    return k < 0 || k >= n || own_[i] || reverse_[i] || own_[k] || reverse_[k];
  }

 private:
  std::vector<bool> own_, reverse_;
};

// The stored ways out and the distances and speeds typed into either grid for ways that no
// longer exist are dropped: those ways start again from their defaults.
void dropStaleWays(TaskWizardState& st, const StaleWays& stale) {
  for (size_t i = 0; i < st.fromTransitions.size(); ++i)
    std::erase_if(st.fromTransitions[i],
                  [&](const TransitionRec& t) { return stale(static_cast<int>(i), t.kind); });
  const auto staleKey = [&](const std::string& key) { return stale(keyPoint(key), keyKind(key)); };
  st.typed2.forget(staleKey);
  st.typed3.forget(staleKey);
}

void commitPlacement(TaskWizardState& st, const std::vector<Placed>& placed) {
  const int n = static_cast<int>(st.points.size());
  const StaleWays stale(st, placed);
  dropStaleWays(st, stale);

  const double speed = st.approachSpeed;
  for (int i = 0; i < n; ++i) {
    const Placed& pl = placed[i];
    TaskPointRec& p = st.points[i];
    p.sectionIndex = pl.section;
    p.reverseSectionIndex = pl.reverse;
    st.pointSectionInfo[i] = pl.info;
    st.startSectionDist[i] = pl.startDist;
    st.reverseSectionDist[i] = pl.reverseDist;

    bool reverseWay = false;
    if (pl.reverse >= 0) {
      const TransitSectionRec& r = st.db.sections[pl.reverse];
      reverseWay = !r.isClosed() && !r.areReverseObjectsClosed();
    }
    std::vector<TransitionRec> list;
    list.push_back({pl.startDist, speed, kToOwnSection});
    if (reverseWay) list.push_back({pl.reverseDist, speed, kToReverseSection});
    for (auto& slot : list) {
      const TransitionRec* stored = st.transitionsEntered == 0 || stale(i, slot.kind)
                                        ? nullptr
                                        : storedToSlot(st.toTransitions[i], slot.kind);
      if (stored) {
        slot.dist = stored->dist < 1e-8 ? 0 : stored->dist;
        slot.speed = stored->speed < 1e-8 ? 0 : stored->speed;
      }
    }
    st.toTransitions[i] = std::move(list);
    p.toCount = static_cast<int32_t>(st.toTransitions[i].size());
  }
  // The changed addresses have had their effect.
  st.pointChanged.assign(static_cast<size_t>(n), 0);
}

void fillTable2(TaskWizardState& st, const ShellTables& texts) {
  GridTable& grid = st.table2;
  std::vector<std::string> keys;
  int rows = 0;
  for (const auto& list : st.toTransitions) rows += static_cast<int>(list.size());
  grid.setColumns(11);
  grid.clear();
  grid.setRows(rows);
  int row = 0;
  for (size_t i = 0; i < st.toTransitions.size(); ++i)
    for (const TransitionRec& slot : st.toTransitions[i]) {
      if (slot.kind == kToOwnSection)
        writePointRow(grid, row, st, static_cast<int>(i));
      else
        grid.set(row, 0, std::string(" ").append(std::to_string(i + 1)));
      grid.set(row, 8, transitionKindText(slot.kind, true, texts));
      grid.set(row, 9, formatReal(slot.dist, st.decSep));
      grid.set(row, 10, formatReal(slot.speed, st.decSep));
      keys.push_back(slotKey(static_cast<int>(i), slot.kind));
      ++row;
    }
  // A distance or speed typed before the user went back stays with its way.
  st.typed2.filled(grid, std::move(keys), [](int, int col) { return col == 9 || col == 10; });
}

}  // namespace

// The streets that carry the point's street type and name.
std::vector<bool> streetsOfPoint(const DbrnFile& db, const TaskPointRec& point) {
  std::vector<bool> of(db.streets.size(), false);
  const std::string_view type = trim(point.streetType), name = trim(point.street);
  for (size_t k = 0; k < db.streets.size(); ++k)
    of[k] = trim(db.streets[k].streetType) == type && trim(db.streets[k].name) == name;
  return of;
}

bool onStreet(const std::vector<bool>& streets, const TransitSectionRec& s) {
  return s.streetIndex >= 0 && static_cast<size_t>(s.streetIndex) < streets.size() &&
         streets[s.streetIndex];
}

std::optional<HouseNumber> parseHouseNumber(std::string_view text) {
  text = trim(text);
  if (text.empty()) return std::nullopt;
  HouseNumber h;
  if (!isDigit(text.back())) {
    h.letter = static_cast<unsigned char>(text.back());
    text.remove_suffix(1);
  }
  if (text.empty() || !allDigits(text)) return std::nullopt;
  const auto n = parseInt(text);
  if (!n) return std::nullopt;
  h.number = *n;
  return h;
}

std::vector<SectionCandidate> numberingCandidates(const DbrnFile& db, const TaskPointRec& point) {
  std::vector<SectionCandidate> out;
  if (isNoNumber(point.house)) return out;
  const auto house = parseHouseNumber(point.house);
  if (!house) return out;
  const std::vector<bool> streets = streetsOfPoint(db, point);
  for (size_t k = 0; k < db.sections.size() && out.size() < kMaxCandidates; ++k) {
    const TransitSectionRec& s = db.sections[k];
    if (!onStreet(streets, s) || s.hasNonStdNumbering()) continue;
    const auto from = parseHouseNumber(s.houseFrom), to = parseHouseNumber(s.houseTo);
    if (!from || !to) continue;
    const int32_t lo = std::min(from->number, to->number), hi = std::max(from->number, to->number);
    if (house->number < lo || house->number > hi) continue;
    if (house->number % 2 != from->number % 2) continue;
    SectionCandidate c;
    c.section = static_cast<int32_t>(k);
    const bool ascending =
        from->number < to->number || (from->number == to->number && from->letter <= to->letter);
    c.low = ascending ? *from : *to;
    c.high = ascending ? *to : *from;
    c.direction = ascending ? 0 : 1;
    out.push_back(c);
  }
  return out;
}

int chooseCandidate(const std::vector<SectionCandidate>& c, HouseNumber house) {
  if (c.size() == 1) return 0;
  for (size_t j = 0; j < c.size(); ++j)
    if (c[j].low <= house && house <= c[j].high) return static_cast<int>(j);
  const int byHigh = chooseByBound(c, house, true);
  if (byHigh >= 0) return byHigh;
  return chooseByBound(c, house, false);
}

StepCheck placeLevel1Points(TaskWizardState& st, const ShellTables& texts) {
  resizePointLists(st);
  // What the user typed on the transition pages, before the ways are worked out again.
  st.typed2.collect(st.table2);
  st.typed3.collect(st.table3);
  const SectionLookup lookup(st.db.sections);
  const int n = static_cast<int>(st.points.size());
  std::vector<Placed> placed(n);
  for (int i = 0; i < n; ++i)
    if (!placePoint(st, i, lookup, placed[i]))
      return StepCheck::refuse(closedSectionMessage(st.points[i], i), "Table1", i);
  for (int i = 0; i < n; ++i)
    if (placed[i].section < 0) return StepCheck::refuse(noSectionMessage(st, i), "Table1", i);
  commitPlacement(st, placed);
  // The marks are the points' sections now; until then, a refused placement keeps them typed.
  st.typed12.stored(st.table12);
  fillTable2(st, texts);
  return StepCheck::ok();
}

}  // namespace qj
