#pragma once
// Small optimiser tasks built in code: sections and points with their arcs drawn as lists.

#include <initializer_list>
#include <string>
#include <vector>

#include "optimiser/task_data.h"

namespace qj::optim::test {

// A task of `sections` sections and `points` points, start point 1, no end point, no
// options, rates of 1 per km and per hour. Add arcs, set options, then call finish().
struct TaskFixture {
  OptimTask task;
  std::vector<std::vector<Arc>> arcs;

  TaskFixture(int32_t sections, int32_t points) {
    TaskHeader& h = task.header;
    task.code = "TEST01";
    h.code = task.code;
    h.dbKind = "use1";
    h.sectionCount = sections;
    h.pointCount = points;
    h.startPoint = 1;
    h.endPoint = 0;
    h.finePerKm = 1;
    h.finePerHour = 1;
    h.tactMinutes = 10;
    task.points.resize(points);
    for (int32_t i = 0; i < points; ++i) task.points[i].vertexNo = sections + i;
    arcs.resize(sections + points);
  }

  int32_t point(int32_t k) const { return task.header.sectionCount + k - 1; }  // 1-based
  TaskFixture& arc(int32_t from, int32_t to, double cost, double hours = 0) {
    arcs[from].push_back({to, hours, cost});
    return *this;
  }
  TaskPointRec& pointRec(int32_t k) { return task.points[k - 1]; }

  OptimTask& finish() {
    std::vector<int32_t> counts;
    std::vector<Arc> flat;
    for (const auto& list : arcs) {
      counts.push_back(static_cast<int32_t>(list.size()));
      flat.insert(flat.end(), list.begin(), list.end());
    }
    task.graph = Graph(counts, flat);
    for (int32_t i = 0; i < task.header.pointCount; ++i) {
      task.points[i].fromCount = counts[task.header.sectionCount + i];
    }
    fillPointArrays(task);
    return task;
  }
};

// The task as its solver input file holds it.
inline SolverInput toSolverInput(const OptimTask& task) {
  SolverInput in;
  in.header = task.header;
  in.points = task.points;
  for (int32_t v = 0; v < task.graph.vertexCount(); ++v) {
    in.arcCounts.push_back(task.graph.outCount(v));
    for (const Arc& a : task.graph.out(v)) in.arcs.push_back({a.target, a.time, a.cost});
  }
  return in;
}

// Three points on a ring of four sections: solvable with the default settings.
inline SolverInput ringTask(const std::string& code = "TEST01") {
  TaskFixture f(4, 3);
  f.task.header.code = code;
  for (int32_t s = 0; s < 4; ++s) f.arc(s, (s + 1) % 4, 1 + s, 0.05);
  f.arc(0, f.point(2), 2, 0.02).arc(2, f.point(3), 2, 0.02).arc(3, f.point(1), 1, 0.01);
  for (int k = 1; k <= 3; ++k) f.arc(f.point(k), k % 4, 1, 0.03);
  return toSolverInput(f.finish());
}

}  // namespace qj::optim::test
