#include "optimiser/task_input.h"

#include <cmath>

#include "optimiser/texts.h"
#include "records/bytes.h"
#include "records/numbers.h"

namespace qj::optim {

namespace {

Text fail(std::string_view code, Text tail) {
  return validationHead(code) + tail;
}

Text truncated(std::string_view code, std::string_view fileName) {
  return fail(code, shell(910) + " \"" + val(fileName) + "\".");
}

bool finite(double x) {
  return std::isfinite(x);
}

// Checks 1 to 4: the section and point counts.
std::optional<Text> checkCounts(const TaskHeader& h, std::string_view code) {
  const int32_t a = h.sectionCount, n = h.pointCount;
  if (a <= 0) return fail(code, shell(557) + ".");
  if (a > 10000) return fail(code, shell(549) + " " + num(a) + " (> 10000 " + shell(153) + ").");
  if (n < 2) return fail(code, shell(551) + " " + num(n) + " (< 2).");
  if (n > 10) return fail(code, shell(550) + " " + num(n) + " (> 10 " + shell(153) + ").");
  return std::nullopt;
}

Text arcTail(int index, int32_t v, size_t k) {
  Text head;
  switch (index) {
    case 554: head = shell(554); break;
    case 558: head = shell(558); break;
    case 915: head = shell(915); break;
    default: head = shell(916); break;
  }
  return head + " " + num(v + 1) + " " + shell(198) + " " + num(static_cast<int64_t>(k) + 1) + ".";
}

}  // namespace

std::optional<Text> checkTaskRules(const OptimTask& task, const IterationSettings& s, char sep) {
  const TaskHeader& h = task.header;
  const std::string_view code = task.code;
  const int32_t n = h.pointCount;
  if (h.startPoint < 1 || h.startPoint > n)
    return fail(code, shell(563) + " " + num(h.startPoint) + ".");
  if (h.endPoint < 0 || h.endPoint > n) return fail(code, shell(564) + " " + num(h.endPoint) + ".");
  // Written so that a value that is not a number fails as well.
  if (!(s.relaxationCoef >= 0.09999 && s.relaxationCoef < 1.0))
    return fail(code, shell(555) + " " + val(formatFixed(s.relaxationCoef, 3, sep)) + ".");
  if (s.checkInterval < 1) return fail(code, shell(552) + " " + num(s.checkInterval) + ".");
  if (s.iterationLimit < 10) return fail(code, shell(556) + " " + num(s.iterationLimit) + ".");
  if (!(s.stopCriterion >= 0.00099 && s.stopCriterion <= 0.10001))
    return fail(code, shell(553) + " " + val(formatFixed(s.stopCriterion, 3, sep)) + " .");
  for (int32_t i = 0; i < n; ++i)
    if (task.waitPenalty[i] <= -1e-8) return fail(code, shell(559) + " " + num(i + 1) + ".");

  // Inputs that the passes cannot work with.
  if (h.timeFactorFlag != 0 && h.tactMinutes <= 0)
    return fail(code, shell(912) + " " + num(h.tactMinutes) + ".");
  if (h.endPoint > 0 && h.endPoint == h.startPoint)
    return fail(code, shell(913) + " " + num(h.endPoint) + ".");
  if (h.orderMode == kNextPointGiven || h.orderMode == kPassedAfterPoint) {
    for (int32_t i = 0; i < n; ++i)
      if (task.points[i].orderValue > n) return fail(code, shell(914) + " " + num(i + 1) + ".");
  }
  if (!finite(h.finePerKm) || !finite(h.finePerHour) || !finite(h.capacity))
    return fail(code, shell(917) + ".");
  for (int32_t i = 0; i < n; ++i) {
    const TaskPointRec& p = task.points[i];
    if (!finite(p.serviceTime) || !finite(p.unloadTime) || !finite(p.waitPenalty) ||
        !finite(p.volume) || !finite(p.income))
      return fail(code, shell(918) + " " + num(i + 1) + ".");
  }
  return std::nullopt;
}

std::optional<Text> checkGraph(const OptimTask& task) {
  const std::string_view code = task.code;
  const int32_t vertices = task.graph.vertexCount();
  // Targets before costs, arc by arc, vertex by vertex.
  for (int32_t v = 0; v < vertices; ++v) {
    const auto arcs = task.graph.out(v);
    for (size_t k = 0; k < arcs.size(); ++k) {
      if (arcs[k].target < 0 || arcs[k].target >= vertices) return fail(code, arcTail(554, v, k));
      if (arcs[k].cost <= -1e-8) return fail(code, arcTail(558, v, k));
    }
  }
  for (int32_t v = 0; v < vertices; ++v) {
    const auto arcs = task.graph.out(v);
    for (size_t k = 0; k < arcs.size(); ++k) {
      if (!(arcs[k].time >= 0) || !finite(arcs[k].time)) return fail(code, arcTail(915, v, k));
      if (!finite(arcs[k].cost)) return fail(code, arcTail(916, v, k));
    }
  }
  return std::nullopt;
}

TaskInput readTaskInput(std::string_view bytes, std::string_view code, std::string_view fileName,
                        const IterationSettings& settings, char sep) {
  TaskInput result;
  ByteReader in(bytes);
  if (!in.holds(1, kTaskHeaderSize)) {
    result.failure = truncated(code, fileName);
    return result;
  }
  result.header = readTaskHeader(in);
  const TaskHeader& h = result.header;
  result.clientAddition = h.dbKind == "cli2";
  if (auto failure = checkCounts(h, code)) {
    result.failure = failure;
    return result;
  }
  if (!in.holds(h.pointCount, kTaskPointSize)) {
    result.failure = truncated(code, fileName);
    return result;
  }
  OptimTask task;
  task.code = std::string(code);
  task.header = h;
  for (int32_t i = 0; i < h.pointCount; ++i) task.points.push_back(readTaskPoint(in));
  fillPointArrays(task);
  if (result.clientAddition) {
    result.task = std::move(task);
    return result;
  }
  if (auto failure = checkTaskRules(task, settings, sep)) {
    result.failure = failure;
    return result;
  }
  const int32_t vertices = h.sectionCount + h.pointCount;
  if (!in.holds(vertices, 4)) {
    result.failure = truncated(code, fileName);
    return result;
  }
  std::vector<int32_t> counts(vertices);
  int64_t total = 0;
  for (int32_t v = 0; v < vertices; ++v) {
    counts[v] = in.i32();
    if (counts[v] < 0) {
      result.failure = fail(code, shell(560) + " " + num(v + 1) + ".");
      return result;
    }
    total += counts[v];
  }
  if (!in.holds(total, kTaskArcSize)) {
    result.failure = truncated(code, fileName);
    return result;
  }
  std::vector<Arc> arcs;
  arcs.reserve(static_cast<size_t>(total));
  for (int64_t k = 0; k < total; ++k) {
    const TaskArc a = readTaskArc(in);
    arcs.push_back({a.target, a.time, a.cost});
  }
  task.graph = Graph(counts, std::move(arcs));
  if (auto failure = checkGraph(task)) {
    result.failure = failure;
    return result;
  }
  result.task = std::move(task);
  return result;
}

}  // namespace qj::optim
