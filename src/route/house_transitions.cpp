#include "route/house_transitions.h"

#include <cmath>
#include <vector>

#include "route/solver_graph.h"

namespace qj {
namespace {

// A house's link to a section, with the section's reverse section (1-based numbers, -1 when
// there is no reverse section) and the two distances in metres.
struct Link {
  int32_t sn = 0, rn = -1;
  double a = 0;  // from the house to its exit onto the section
  double x = 0;  // from that exit to the end of the section
};

// Transitions as they are built here, before the speed and the prices are set.
using Slots = std::vector<TransitionRec>;

const HouseRec* houseOf(const RouteTask& st, int p) {
  const int32_t h = st.points[p].houseIndex;
  if (h < 0 || static_cast<size_t>(h) >= st.db.houses.size()) return nullptr;
  return &st.db.houses[h];
}

std::vector<Link> linksOf(const RouteTask& st, const SectionLookup& lookup, int p) {
  std::vector<Link> links;
  const HouseRec* house = houseOf(st, p);
  if (!house) return links;
  for (const HouseLinkRec& l : house->links) {
    if (l.sectionNo < 1 || static_cast<size_t>(l.sectionNo) > st.db.sections.size()) continue;
    const int32_t rev = lookup.reverseOf(static_cast<size_t>(l.sectionNo - 1));
    links.push_back({l.sectionNo, rev >= 0 ? rev + 1 : -1, static_cast<double>(l.distToExit),
                     static_cast<double>(l.distExitToEnd)});
  }
  return links;
}

class Builder {
 public:
  Builder(const RouteTask& st, const std::vector<std::vector<Link>>& links)
      : st_(st), links_(links) {}

  Slots toList(int i) const {
    Slots out;
    for (const Link& l : links_[i]) {
      if (!sec(l.sn).isClosed()) out.push_back(slot(l.sn, length(l.sn) - l.x + l.a));
      if (l.rn > 0 && !sec(l.rn).isClosed() && !sec(l.rn).areReverseObjectsClosed())
        out.push_back(slot(l.rn, l.x + l.a));
    }
    return out;
  }

  Slots fromList(int i) const {
    Slots out;
    const int n = static_cast<int>(links_.size());
    for (const Link& l : links_[i]) {
      const TransitSectionRec& s = sec(l.sn);
      const bool reverseOpen = l.rn > 0 && !sec(l.rn).isClosed() && !s.areReverseObjectsClosed();
      if (!s.isClosed()) out.push_back(slot(l.sn, l.a + l.x));
      if (reverseOpen) out.push_back(slot(l.rn, length(l.rn) - l.x + l.a));
      for (int k = 0; k < n; ++k) {
        if (k == i) continue;
        if (sameYard(i, k)) {
          out.push_back(slot(toPointKind(k), 100));
          continue;
        }
        for (const Link& o : links_[k]) {
          if (o.sn == l.sn && !s.isClosed() && (l.x >= o.x || !s.arePrevObjectsClosed()))
            out.push_back(slot(toPointKind(k), l.a + o.a + std::fabs(l.x - o.x)));
          if (o.sn == l.rn && reverseOpen)
            out.push_back(slot(toPointKind(k), l.a + o.a + std::fabs((length(l.sn) - l.x) - o.x)));
        }
      }
    }
    return out;
  }

 private:
  const TransitSectionRec& sec(int32_t no) const { return st_.db.sections[no - 1]; }
  double length(int32_t no) const { return sectionLength(sec(no)); }
  static TransitionRec slot(int32_t kind, double dist) { return {dist, 0, kind}; }

  bool sameYard(int i, int k) const {
    const HouseRec *a = houseOf(st_, i), *b = houseOf(st_, k);
    return a && b && a->yardNo >= 1 && a->yardNo == b->yardNo;
  }

  const RouteTask& st_;
  const std::vector<std::vector<Link>>& links_;
};

void price(RouteTask& st) {
  const double speed = st.header.approachSpeed;
  for (auto& list : st.toTransitions)
    for (auto& t : list) {
      t.speed = speed;
      priceTransition(t, st.header);
    }
  for (auto& list : st.fromTransitions)
    for (auto& t : list) {
      t.speed = speed;
      priceTransition(t, st.header);
      // Leaving a point onto the network is never free: a zero-cost arc would let a route
      // wander between a point and its sections at no cost.
      if (t.kind > 0) t.cost = t.cost < 1e-4 ? 1e-4 : t.cost * 1.001;
    }
}

}  // namespace

void houseTransitions(RouteTask& st) {
  const int n = static_cast<int>(st.points.size());
  st.toTransitions.resize(n);
  st.fromTransitions.resize(n);
  const SectionLookup lookup(st.db.sections);
  std::vector<std::vector<Link>> links(n);
  for (int i = 0; i < n; ++i) {
    links[i] = linksOf(st, lookup, i);
    TaskPointRec& p = st.points[i];
    const HouseRec* house = houseOf(st, i);
    if (house && house->links.size() == 1 && links[i].size() == 1) {
      p.sectionIndex = links[i][0].sn - 1;
      p.reverseSectionIndex = links[i][0].rn > 0 ? links[i][0].rn - 1 : -1;
    } else {
      p.sectionIndex = p.reverseSectionIndex = -1;
    }
  }
  const Builder build(st, links);
  for (int i = 0; i < n; ++i) {
    st.toTransitions[i] = build.toList(i);
    st.fromTransitions[i] = build.fromList(i);
    st.points[i].toCount = static_cast<int32_t>(st.toTransitions[i].size());
    st.points[i].fromCount = static_cast<int32_t>(st.fromTransitions[i].size());
  }
  price(st);
}

}  // namespace qj
