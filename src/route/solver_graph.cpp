#include "route/solver_graph.h"

#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "route/route_task.h"

namespace qj {
namespace {

// A to-transition entering a point from a section: point index and slot index.
using Entry = std::pair<int, int>;

int32_t level(const RouteTask& st) {
  return dbLevel(st.header.dbKind);
}

bool validSection(const RouteTask& st, int32_t s) {
  return s >= 0 && static_cast<size_t>(s) < st.db.sections.size();
}

void findSuccessors(RouteTask& st, const SectionLookup& lookup) {
  const auto& sections = st.db.sections;
  for (size_t i = 0; i < sections.size(); ++i) {
    SectionVertexRec& v = st.sectionVertices[i];
    // The database admits at most kMaxTurns turns: the successor array has no room for more.
    const size_t turns = std::min<size_t>(sections[i].turns.size(), kMaxTurns);
    for (size_t t = 0; t < turns; ++t) {
      const int32_t j = lookup.target(i, sections[i].turns[t]);
      if (j >= 0 && !sections[j].isClosed()) v.successors[v.successorCount++] = j;
    }
  }
}

// Per section, the to-transitions that start on it, point by point in slot order.
std::unordered_map<int32_t, std::vector<Entry>> entriesBySection(RouteTask& st) {
  std::unordered_map<int32_t, std::vector<Entry>> entries;
  for (size_t p = 0; p < st.toTransitions.size(); ++p)
    for (size_t slot = 0; slot < st.toTransitions[p].size(); ++slot) {
      const int32_t s = toTransitionSection(st, static_cast<int>(p), st.toTransitions[p][slot]);
      if (!validSection(st, s)) continue;
      ++st.sectionVertices[s].pointsOnSection;
      entries[s].emplace_back(static_cast<int>(p), static_cast<int>(slot));
    }
  return entries;
}

void priceSections(RouteTask& st) {
  const TaskHeader& h = st.header;
  for (size_t i = 0; i < st.db.sections.size(); ++i) {
    const double length = sectionLength(st.db.sections[i]);
    const double speed = sectionSpeed(st.db.sections[i]);
    SectionVertexRec& v = st.sectionVertices[i];
    v.time = 0.001 * length / (speed + 1e-8);
    v.cost = 0.001 * h.finePerKm * length + h.finePerHour * v.time;
  }
}

// An arc into point p after the given transition: the stay at the point is part of it.
TaskArc arcIntoPoint(const RouteTask& st, int p, const TransitionRec& t) {
  const double s = serviceDuration(st.header, st.points[p]);
  const int32_t m = static_cast<int32_t>(st.db.sections.size());
  return {m + p, t.time + s / 60, t.cost + st.header.finePerHour * s / 60};
}

void sectionArcs(RouteTask& st, const std::unordered_map<int32_t, std::vector<Entry>>& entries) {
  for (size_t i = 0; i < st.db.sections.size(); ++i) {
    SectionVertexRec& v = st.sectionVertices[i];
    v.arcCount = v.successorCount;
    for (int32_t k = 0; k < v.successorCount; ++k)
      v.arcCount += st.sectionVertices[v.successors[k]].pointsOnSection;
    std::vector<TaskArc>& arcs = st.arcs[i];
    arcs.reserve(v.arcCount);
    for (int32_t k = 0; k < v.successorCount; ++k) {
      const int32_t j = v.successors[k];
      const SectionVertexRec& next = st.sectionVertices[j];
      arcs.push_back({j, next.time, next.cost});
      if (next.pointsOnSection == 0) continue;
      for (const auto& [p, slot] : entries.at(j))
        arcs.push_back(arcIntoPoint(st, p, st.toTransitions[p][slot]));
    }
  }
}

void pointArcs(RouteTask& st) {
  const int32_t m = static_cast<int32_t>(st.db.sections.size());
  for (size_t p = 0; p < st.points.size(); ++p) {
    std::vector<TaskArc>& arcs = st.arcs[m + p];
    for (const TransitionRec& t : st.fromTransitions[p]) {
      const int32_t target = fromTransitionTarget(st, static_cast<int>(p), t);
      if (target < 0)
        throw std::logic_error("a transition from a point leads to no vertex of the graph");
      if (target < m)
        arcs.push_back({target, t.time, t.cost});
      else
        arcs.push_back(arcIntoPoint(st, target - m, t));
    }
  }
}

}  // namespace

void priceTransition(TransitionRec& t, const TaskHeader& h) {
  t.time = 0.001 * t.dist / (t.speed + 1e-8);
  t.cost = 0.001 * h.finePerKm * t.dist + h.finePerHour * t.time;
}

void priceTransitions(RouteTask& st) {
  for (auto* lists : {&st.toTransitions, &st.fromTransitions})
    for (auto& list : *lists)
      for (auto& t : list) priceTransition(t, st.header);
}

int32_t toTransitionSection(const RouteTask& st, int point, const TransitionRec& t) {
  int32_t s = -1;
  if (level(st) >= 2)
    s = t.kind - 1;
  else if (t.kind == kToOwnSection)
    s = st.points[point].sectionIndex;
  else
    s = st.points[point].reverseSectionIndex;
  return validSection(st, s) ? s : -1;
}

int32_t fromTransitionTarget(const RouteTask& st, int point, const TransitionRec& t) {
  const int32_t m = static_cast<int32_t>(st.db.sections.size());
  const int32_t n = static_cast<int32_t>(st.points.size());
  if (t.kind < 0) {
    const int32_t k = -t.kind - 1;
    return k < n ? m + k : -1;
  }
  int32_t s = -1;
  if (level(st) >= 2)
    s = t.kind - 1;
  else if (t.kind == kFromOwnSection)
    s = st.points[point].sectionIndex;
  else if (t.kind == kFromReverseSection)
    s = st.points[point].reverseSectionIndex;
  return validSection(st, s) ? s : -1;
}

void buildSolverGraph(RouteTask& st) {
  st.toTransitions.resize(st.points.size());
  st.fromTransitions.resize(st.points.size());
  const size_t m = st.db.sections.size();
  st.sectionVertices.assign(m, SectionVertexRec{});
  st.arcs.assign(m + st.points.size(), {});
  const SectionLookup lookup(st.db.sections);
  findSuccessors(st, lookup);
  const auto entries = entriesBySection(st);
  priceSections(st);
  sectionArcs(st, entries);
  pointArcs(st);
}

SolverInput solverInputOf(const RouteTask& st) {
  SolverInput in;
  in.header = st.header;
  in.points = st.points;
  if (dbLevel(st.header.dbKind) >= 3) return in;

  const size_t m = st.sectionVertices.size(), n = st.points.size();
  if (m != static_cast<size_t>(st.header.sectionCount) || st.arcs.size() != m + n)
    throw std::logic_error("the solver graph does not match the task's sections and points");
  in.arcCounts.reserve(m + n);
  for (const SectionVertexRec& v : st.sectionVertices) in.arcCounts.push_back(v.arcCount);
  for (const TaskPointRec& p : st.points) in.arcCounts.push_back(p.fromCount);
  size_t total = 0;
  for (size_t v = 0; v < m + n; ++v) {
    if (in.arcCounts[v] != static_cast<int32_t>(st.arcs[v].size()))
      throw std::logic_error("an arc count of the solver graph differs from its arcs");
    total += st.arcs[v].size();
  }
  in.arcs.reserve(total);
  for (const auto& list : st.arcs) in.arcs.insert(in.arcs.end(), list.begin(), list.end());
  return in;
}

}  // namespace qj
