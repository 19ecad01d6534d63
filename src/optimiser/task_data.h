#pragma once
// The data of one task as the optimiser solves it: the header and points as read, the
// per-point arrays that every pass reads, and the solver graph in compact form (one flat
// list of arcs with an offset per vertex).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/task_file.h"

namespace qj::optim {

// The forbidden-step cost and the gain above which a pass has no feasible route.
inline constexpr double kForbiddenCost = 1e8;
inline constexpr double kInfeasibleGain = 99000000.0;

struct Arc {
  int32_t target = 0;  // vertex in the numbering of the graph that holds it
  double time = 0;     // hours
  double cost = 0;
  bool operator==(const Arc&) const = default;
};

// Out-arcs of every vertex, in list order.
class Graph {
 public:
  Graph() = default;
  // `counts` gives the number of arcs of each vertex; `arcs` holds the lists one after
  // another in vertex order.
  Graph(const std::vector<int32_t>& counts, std::vector<Arc> arcs);

  int32_t vertexCount() const { return static_cast<int32_t>(offsets_.size()) - 1; }
  std::span<const Arc> out(int32_t v) const {
    return {arcs_.data() + offsets_[v], arcs_.data() + offsets_[v + 1]};
  }
  int32_t outCount(int32_t v) const { return offsets_[v + 1] - offsets_[v]; }
  size_t arcCount() const { return arcs_.size(); }

  // Appends a vertex with the given out-arcs.
  void addVertex(std::span<const Arc> arcs);
  void clear();

 private:
  std::vector<int64_t> offsets_{0};
  std::vector<Arc> arcs_;
};

// Service duration and time window of a point, in minutes from the route start.
struct PointTime {
  double serviceDuration = 0;
  int32_t windowLow = 0, windowHigh = 0;
};

// The iteration parameters of the optimiser window.
struct IterationSettings {
  double relaxationCoef = 0.9;
  double stopCriterion = 0.003;
  int32_t checkInterval = 5;
  int32_t iterationLimit = 1000;
};

struct OptimTask {
  std::string code;  // the task code, 6 characters of code page 1251
  TaskHeader header;
  std::vector<TaskPointRec> points;

  int32_t sectionCount() const { return header.sectionCount; }
  int32_t pointCount() const { return header.pointCount; }

  // Per point, in task numbering. Filled for every point whatever the options; each pass
  // reads them only where the task's options say so.
  std::vector<double> waitPenalty;
  std::vector<int32_t> orderValues;
  std::vector<int32_t> refusalAllowed;
  std::vector<double> incomes;
  std::vector<PointTime> times;

  // Vertices 0 .. A-1 are the transit sections, A + k - 1 is target point k.
  Graph graph;
};

// Fills the per-point arrays from the header and the points. The end point of a task whose
// rates and own penalty are all (nearly) zero waits at a small cost, so that arriving early
// at it is never free.
void fillPointArrays(OptimTask& task);

// The task as the optimiser solves it, from a solver input of a task on its own graph whose
// counts agree (one arc count per vertex, the arcs of all vertices one after another).
OptimTask toOptimTask(const SolverInput& input, std::string code);

}  // namespace qj::optim
