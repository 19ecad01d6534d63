#include "route/route_rows.h"

#include <cmath>

#include "dbrn/dbrn_io.h"
#include "records/text.h"

namespace qj {
namespace {

// What one route step does, by the route-code convention.
struct StepKind {
  enum { Passed, Section, Served } kind;
  int64_t index;  // the point (1-based) or the section (0-based)
};

// Prefix and text joined without the operator+ on a literal that GCC 12 misreads.
std::string joined(std::string_view prefix, std::string_view text) {
  std::string out(prefix);
  out.append(text);
  return out;
}

StepKind classify(int32_t code, const TaskHeader& h) {
  if (code < 0) return {StepKind::Passed, -static_cast<int64_t>(code)};
  if (code < h.sectionCount) return {StepKind::Section, code};
  return {StepKind::Served, static_cast<int64_t>(code) - h.sectionCount + 1};
}

// Builds the rows one step at a time. The state is the route's clock and distance, the cost
// so far, the visit counter, the last section driven and the street last written in full.
class RouteRowBuilder {
 public:
  RouteRowBuilder(const TaskHeader& h, const std::vector<TaskPointRec>& points,
                  const std::vector<RouteStep>& steps, const std::vector<double>& loading,
                  const DbrnFile& db, const ShellTables& texts, char sep)
      : h_(h),
        points_(points),
        steps_(steps),
        loading_(loading),
        db_(db),
        texts_(texts),
        sep_(sep),
        lookup_(db.sections) {}

  RouteRows build() {
    startRow();
    for (size_t i = 0; i < steps_.size(); ++i) step(i);
    rows_.cost += h_.finePerKm * distance_ / 1000 + h_.finePerHour * clock_ / 60;
    rows_.table.setRows(row_);
    return std::move(rows_);
  }

 private:
  GridTable& table() { return rows_.table; }
  const TaskPointRec& point(int64_t p) const { return points_[static_cast<size_t>(p - 1)]; }
  const TransitSectionRec& section(int64_t s) const { return db_.sections[static_cast<size_t>(s)]; }
  std::string time(double minutes) const { return timeText(minutes, texts_, sep_); }
  double nextLoading() { return v_ < loading_.size() ? loading_[v_++] : 0.0; }

  void startRow() {
    const double loading = loading_.empty() ? 0.0 : loading_[0];
    table().setRows(1);
    table().set(0, kRouteRowNo, " 1");
    table().set(0, kRoutePoint, visitLabel(h_.startPoint, 1));
    table().set(0, kRouteAddress, addressOf(point(h_.startPoint)));
    table().set(0, kRouteArrival, time(0));
    table().set(0, kRouteServiceStart, time(0));
    table().set(0, kRouteServiceEnd, time(loading));
    clock_ = loading;
    v_ = 1;
    row_ = 1;
  }

  // The times of one visit, in minutes from the route start, and the time up to which the
  // point's waiting penalty counts.
  struct Visit {
    double arrival, start, end, charged;
  };

  // The hours of a step to a target point end with its service, and a vehicle early for the
  // point's window waits for it.
  Visit targetVisit(const TaskPointRec& pt, double reached) const {
    const double duration = h_.cargoMode == kNoCargo ? pt.serviceTime : pt.unloadTime;
    double end = reached;
    if (h_.timeFactorFlag > 0 && pt.windowLow > end - duration) end = pt.windowLow + duration;
    return {reached - duration, end - duration, end, end};
  }

  // The hours of a step back to the start point end on arrival: the loading for the next trip
  // follows them, and the route goes on when it is done. The loading is time of that trip,
  // so the point's waiting penalty counts up to its start.
  Visit startVisit(const TaskPointRec& pt, double reached) {
    double start = reached;
    if (h_.timeFactorFlag > 0 && pt.windowLow > start) start = pt.windowLow;
    return {reached, start, start + nextLoading(), start};
  }

  // "p (start) (visit)", "p (end) (visit)" or "p (visit)".
  std::string visitLabel(int64_t p, int64_t visit) const {
    std::string label = intText(p) + " (";
    if (p == h_.startPoint)
      label += texts_.shortText(11) + ") (";
    else if (p == h_.endPoint)
      label += texts_.shortText(17) + ") (";
    return label + intText(visit) + ")";
  }

  void step(size_t i) {
    const StepKind k = classify(steps_[i].code, h_);
    if (k.kind == StepKind::Passed && k.index > h_.pointCount) return;  // deferred: no row
    const int r = row_;
    table().setRows(r + 1);
    table().set(r, kRouteRowNo, joined(" ", intText(r + 1)));
    switch (k.kind) {
      case StepKind::Passed: passedPoint(r, k.index); break;
      case StepKind::Section: drivenSection(r, k.index, steps_[i].hours); break;
      case StepKind::Served: servedPoint(r, k.index, i); break;
    }
    row_ = r + 1;
  }

  void passedPoint(int r, int64_t p) {
    table().set(r, kRoutePoint, joined("  ", intText(p)));
    table().set(r, kRouteAddress, joined("  ", addressOf(point(p))));
    table().set(r, kRouteSection, "  < " + texts_.shell(436) + " >");
  }

  void drivenSection(int r, int64_t s, double hours) {
    clock_ += hours * 60;
    // A length that does not read as a number adds nothing to the distance.
    distance_ += section(s).lengthMetres().value_or(0.0);
    prevSection_ = turn(r - 1, prevSection_, s);
    table().set(r, kRouteSection, streetCell(r, s));
    table().set(r, kRouteEndNode, section(s).endNode);
  }

  void servedPoint(int r, int64_t p, size_t stepIndex) {
    const TaskPointRec& pt = point(p);
    const double reached = clock_ + steps_[stepIndex].hours * 60;
    const Visit visit = p == h_.startPoint ? startVisit(pt, reached) : targetVisit(pt, reached);
    table().set(r, kRouteArrival, time(visit.arrival));
    table().set(r, kRouteServiceStart, time(visit.start));
    table().set(r, kRouteServiceEnd, time(visit.end));
    rows_.cost += pt.waitPenalty * visit.charged / 60 - pt.income;
    clock_ = visit.end;
    table().set(r, kRoutePoint, visitLabel(p, visitNo_++));
    table().set(r, kRouteAddress, addressOf(pt));
    const int64_t s = sectionAtPoint(r, pt, stepIndex);
    if (s >= 0) {
      prevSection_ = turn(r - 1, prevSection_, s);
      table().set(r, kRouteSection, streetCell(r, s));
    }
    table().set(r, kRouteTurn, "( " + texts_.shell(159) + " )");
  }

  // The section the vehicle stands on at a served point: the point's own section or its
  // reverse when it starts where the vehicle is, else the section the route drives next (or
  // the reverse of it) when that one starts there. -1 when none does.
  int64_t sectionAtPoint(int r, const TaskPointRec& pt, size_t stepIndex) const {
    const std::string_view at = rows_.table.cell(r - 1, kRouteEndNode);
    const auto startsAt = [&](int64_t s) {
      return s >= 0 && static_cast<size_t>(s) < db_.sections.size() && section(s).startNode == at;
    };
    if (startsAt(pt.sectionIndex)) return pt.sectionIndex;
    if (startsAt(pt.reverseSectionIndex)) return pt.reverseSectionIndex;
    if (stepIndex + 1 < steps_.size()) {
      const StepKind next = classify(steps_[stepIndex + 1].code, h_);
      if (next.kind == StepKind::Section) {
        if (startsAt(next.index)) return next.index;
        const int64_t back = lookup_.reverseOf(static_cast<size_t>(next.index));
        if (startsAt(back)) return back;
      }
    }
    return -1;
  }

  // The section's street text, shortened to its house range when the street is the one last
  // written in full.
  std::string streetCell(int r, int64_t s) {
    if (lastStreet_.empty()) lastStreet_ = rows_.table.cell(r - 1, kRouteSection);
    std::string t = sectionText(db_, static_cast<size_t>(s));
    const size_t lastComma = lastStreet_.find(',');
    const size_t comma = t.find(',');
    if (lastComma == std::string::npos || comma == std::string::npos) return t;
    if (std::string_view(lastStreet_).substr(0, lastComma + 1) ==
        std::string_view(t).substr(0, comma + 1))
      return std::string(kSameStreet) + t.substr(comma + 1);
    lastStreet_ = t;
    return t;
  }

  // Writes into row `row` the turn from section `prev` into section `cur` and returns cur.
  int64_t turn(int row, int64_t prev, int64_t cur) {
    if (prev < 0) return cur;
    const std::vector<TurnRec>& turns = section(prev).turns;
    const std::string& to = section(cur).endNode;
    int rights = 0, lefts = 0;
    for (const TurnRec& t : turns) {
      if (t.direction == ">") ++rights;
      if (t.direction == "<") ++lefts;
      if (t.node != to) continue;
      const std::string_view above = rows_.table.cell(row - 1, kRouteTurn);
      if (t.direction == "^") {
        const bool running = (row > 0 && above == texts_.shell(79)) || above == kStraightOnAgain;
        table().set(row, kRouteTurn, running ? std::string(kStraightOnAgain) : texts_.shell(79));
      } else if (t.direction == "v") {
        table().set(row, kRouteTurn, texts_.shell(257));
      } else if (t.direction == ">") {
        table().set(row, kRouteTurn, intText(rights) + texts_.shell(214));
      } else if (t.direction == "<") {
        table().set(row, kRouteTurn, intText(lefts) + texts_.shell(213));
      }
      break;
    }
    return cur;
  }

  const TaskHeader& h_;
  const std::vector<TaskPointRec>& points_;
  const std::vector<RouteStep>& steps_;
  const std::vector<double>& loading_;
  const DbrnFile& db_;
  const ShellTables& texts_;
  const char sep_;
  const SectionLookup lookup_;

  RouteRows rows_;
  int row_ = 0;
  double clock_ = 0;     // minutes from the route start
  double distance_ = 0;  // metres
  size_t v_ = 0;         // the next loading time at the start point
  int64_t visitNo_ = 2;
  int64_t prevSection_ = -1;
  std::string lastStreet_;
};

}  // namespace

RouteFault checkRoute(const TaskHeader& h, const std::vector<TaskPointRec>& points,
                      const std::vector<RouteStep>& steps,
                      const std::vector<double>& startServiceTimes, const DbrnFile& db) {
  for (double t : startServiceTimes)
    if (!std::isfinite(t)) return RouteFault::TimeNotANumber;
  for (const RouteStep& step : steps) {
    if (!std::isfinite(step.hours)) return RouteFault::TimeNotANumber;
    const StepKind k = classify(step.code, h);
    if (k.kind == StepKind::Served && k.index > static_cast<int64_t>(points.size()))
      return RouteFault::PointBeyondTask;
    if (k.kind == StepKind::Passed && k.index <= h.pointCount &&
        k.index > static_cast<int64_t>(points.size()))
      return RouteFault::PointBeyondTask;
    if (k.kind == StepKind::Section && k.index >= static_cast<int64_t>(db.sections.size()))
      return RouteFault::SectionBeyondDatabase;
  }
  return RouteFault::None;
}

RouteRows buildRouteRows(const TaskHeader& h, const std::vector<TaskPointRec>& points,
                         const std::vector<RouteStep>& steps,
                         const std::vector<double>& startServiceTimes, const DbrnFile& db,
                         const ShellTables& texts, char sep) {
  return RouteRowBuilder(h, points, steps, startServiceTimes, db, texts, sep).build();
}

}  // namespace qj
