#include "optimiser/task_data.h"

#include "route/route_task.h"

namespace qj::optim {

Graph::Graph(const std::vector<int32_t>& counts, std::vector<Arc> arcs) : arcs_(std::move(arcs)) {
  offsets_.reserve(counts.size() + 1);
  for (int32_t n : counts) offsets_.push_back(offsets_.back() + n);
}

void Graph::addVertex(std::span<const Arc> arcs) {
  arcs_.insert(arcs_.end(), arcs.begin(), arcs.end());
  offsets_.push_back(static_cast<int64_t>(arcs_.size()));
}

void Graph::clear() {
  offsets_.assign(1, 0);
  arcs_.clear();
}

OptimTask toOptimTask(const SolverInput& input, std::string code) {
  OptimTask task;
  task.code = std::move(code);
  task.header = input.header;
  task.points = input.points;
  std::vector<Arc> arcs;
  arcs.reserve(input.arcs.size());
  for (const TaskArc& a : input.arcs) arcs.push_back({a.target, a.time, a.cost});
  task.graph = Graph(input.arcCounts, std::move(arcs));
  fillPointArrays(task);
  return task;
}

void fillPointArrays(OptimTask& task) {
  const TaskHeader& h = task.header;
  const size_t n = task.points.size();
  task.waitPenalty.resize(n);
  task.orderValues.resize(n);
  task.refusalAllowed.resize(n);
  task.incomes.resize(n);
  task.times.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const TaskPointRec& p = task.points[i];
    double penalty = p.waitPenalty;
    if (static_cast<int64_t>(i) == static_cast<int64_t>(h.endPoint) - 1 && penalty < 0.009999 &&
        h.finePerKm < 0.009999 && h.finePerHour < 0.009999)
      penalty = 0.01 + penalty;
    task.waitPenalty[i] = penalty;
    task.orderValues[i] = p.orderValue;
    task.refusalAllowed[i] = p.refusalAllowed;
    task.incomes[i] = p.income;
    task.times[i] = {serviceDuration(h, p), p.windowLow, p.windowHigh};
  }
}

}  // namespace qj::optim
