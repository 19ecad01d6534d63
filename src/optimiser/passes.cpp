#include "optimiser/passes.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

#include "optimiser/texts.h"

namespace qj::optim {

bool pairAdmissible(const TaskHeader& h, const std::vector<int32_t>& orderValues, int32_t i,
                    int32_t j) {
  if (i == h.endPoint) return false;
  if (h.returnFlag == 0 && j == h.startPoint) return false;
  if (i == j) return false;
  if (h.refusalFlag == 0 && h.returnFlag == 0 && i == h.startPoint && j == h.endPoint) return false;
  const int64_t oi = orderValues[i - 1], oj = orderValues[j - 1];
  if (h.orderMode == kNextPointGiven && oi > 0 && oi != j) return false;  // a fixed next point
  if (h.orderMode == kPassedAfterPoint && oj > 0 && oj == i) return false;
  if (h.orderMode == kPriorityClasses && oi >= 0 && oj >= 0 &&
      (oj < oi || (h.refusalFlag == 0 && j != h.endPoint && oj > oi + 1)))
    return false;  // classes in non-decreasing order, none skipped without refusals
  return true;
}

std::vector<Pair> buildPairs(const TaskHeader& h, const std::vector<int32_t>& orderValues) {
  const int32_t n = h.pointCount;
  std::vector<Pair> pairs;
  if (n == 2) {
    pairs.push_back({h.startPoint, h.startPoint == 1 ? 2 : 1});
    return pairs;
  }
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j)
      if (pairAdmissible(h, orderValues, i, j)) pairs.push_back({i, j});
  return pairs;
}

std::vector<int32_t> boundarySections(const Graph& graph, int32_t sectionCount) {
  std::vector<int32_t> boundary;
  for (int32_t v = 0; v < sectionCount; ++v) {
    const auto arcs = graph.out(v);
    if (std::any_of(arcs.begin(), arcs.end(),
                    [&](const Arc& a) { return a.target >= sectionCount; }))
      boundary.push_back(v);
  }
  return boundary;
}

Graph pairReplacementLists(const Graph& graph, int32_t sectionCount,
                           const std::vector<int32_t>& boundary, const Pair& pair) {
  const int32_t a = sectionCount;
  const int32_t toVertex = a + pair.to - 1;
  Graph lists;
  std::vector<Arc> list;
  auto replace = [&](int32_t taskVertex, bool intoTo) {
    list.clear();
    for (Arc arc : graph.out(taskVertex)) {
      if (arc.target < a) {
        list.push_back(arc);
      } else if (intoTo && arc.target == toVertex) {
        arc.target = a + 1;
        list.push_back(arc);
      }
    }
    lists.addVertex(list);
  };
  for (int32_t s : boundary) replace(s, true);
  replace(a + pair.from - 1, true);
  replace(toVertex, false);
  return lists;
}

Graph finalGraph(int32_t pointCount, int32_t startPoint, int32_t endPoint,
                 const std::vector<Pair>& pairs, const std::vector<PassResult>& results) {
  Graph graph;
  std::vector<Arc> list;
  for (int32_t b = 0; b < pointCount; ++b) {
    list.clear();
    if (pointCount == 2) {
      if (b == startPoint - 1 && !pairs.empty() && pairs[0].failed == 0)
        list.push_back({pairs[0].to - 1, results[0].time, results[0].cost});
    } else if (b != endPoint - 1) {
      for (size_t q = 0; q < pairs.size(); ++q)
        if (pairs[q].from == b + 1 && pairs[q].failed == 0)
          list.push_back({pairs[q].to - 1, results[q].time, results[q].cost});
    }
    graph.addVertex(list);
  }
  return graph;
}

std::vector<RouteStep> expandFinalRoute(int32_t pointCount, int32_t startPoint,
                                        const std::vector<Pair>& pairs,
                                        const std::vector<std::vector<RouteStep>>& pairRoutes,
                                        const std::vector<RouteStep>& finalRoute) {
  std::vector<RouteStep> route;
  int32_t previous = startPoint;
  for (const RouteStep& step : finalRoute) {
    const int32_t q = step.code + 1;
    if (q > pointCount) {
      route.push_back({pointCount - q, 0.0});  // refused -k, deferred -(N + k)
      continue;
    }
    const auto pair = std::find_if(pairs.begin(), pairs.end(),
                                   [&](const Pair& p) { return p.from == previous && p.to == q; });
    if (pair == pairs.end()) continue;
    const auto& steps = pairRoutes[static_cast<size_t>(pair - pairs.begin())];
    if (!steps.empty()) {
      route.insert(route.end(), steps.begin(), steps.end());
      route.back().code += q - 2;  // the pair's To vertex A + 1 becomes the task's A + q - 1
    }
    previous = q;
  }
  return route;
}

namespace {

struct PassWorkspace {
  StateSpace space;
  Transitions transitions;
  RelaxArrays arrays;
};

struct PassOutcome {
  int64_t stateCount = 0;
  bool iterationStarted = false;  // IterationsDone was reset for this pass
  bool gainComputed = false;
  double gain = 0;
  int32_t iterationsDone = 0;
  int32_t solveStatus = Solved;
  bool cancelled = false;
  bool extracted = false;
  ExtractResult route;
  bool failed = false;
  Text message;
  PassStats stats;
};

struct TaskContext {
  const OptimTask& task;
  const IterationSettings& settings;
  char decimalSeparator;
  std::vector<Pair> pairs;
  std::vector<int32_t> boundary;
  std::vector<int32_t> boundaryIndex;
  FinalPassRules rules;
};

PassSetup pairSetup(const TaskContext& ctx, int32_t p, const Graph& replacements) {
  PassSetup s;
  s.kind = 1;
  s.passIndex = p;
  s.pairCount = static_cast<int32_t>(ctx.pairs.size());
  s.sectionCount = ctx.task.sectionCount();
  s.pointCount = 2;
  s.startPoint = 1;
  s.endPoint = 2;
  s.phaseCount = 2;
  s.fromPoint = ctx.pairs[p].from;
  s.toPoint = ctx.pairs[p].to;
  s.task = &ctx.task;
  s.graph = &ctx.task.graph;
  s.boundaryIndex = &ctx.boundaryIndex;
  s.replacements = &replacements;
  return s;
}

PassSetup finalSetup(const TaskContext& ctx, const Graph& graph) {
  PassSetup s;
  s.kind = 2;
  s.pairCount = static_cast<int32_t>(ctx.pairs.size());
  s.passIndex = s.pairCount;
  s.sectionCount = 0;
  s.pointCount = ctx.task.pointCount();
  s.startPoint = ctx.task.header.startPoint;
  s.endPoint = ctx.task.header.endPoint;
  s.phaseCount = 1;
  s.maxTimeStep = ctx.rules.maxTimeStep;
  s.task = &ctx.task;
  s.graph = &graph;
  return s;
}

// One pass: states, transitions, iteration, route, with the progress lines in their order.
PassOutcome runPass(PassWorkspace& ws, const PassSetup& pass, const TaskContext& ctx,
                    RunProgress& progress, const std::atomic<bool>* cancel) {
  PassOutcome out;
  const bool final = pass.finalPass();
  const std::string& code = ctx.task.code;
  const TaskHeader& h = ctx.task.header;
  auto fail = [&](Text message) {
    out.failed = true;
    out.message = std::move(message);
    progress.setText(RunLabel::Failure, out.message);
  };

  progress.setText(RunLabel::Busy, busyStatesText());
  progress.setBusyVisible(final);
  const PassShape shape = final ? finalPassShape(ctx.rules) : pairPassShape(pass.sectionCount);
  out.stateCount = StateSpace::count(shape);
  if (out.stateCount > kStateLimit) {
    fail(stateLimitMessage(code, pass.kind, out.stateCount));
    return out;
  }
  ws.space.build(shape);
  progress.setText(RunLabel::Line3, stateSpaceLine(final, pass.passIndex, pass.pairCount,
                                                   pass.fromPoint, pass.toPoint, out.stateCount));
  if (!ws.space.startingStateLast()) {
    // The task's order or end-point rules refuse the very start: no route can meet them.
    out.solveStatus = NoFeasibleRoute;
    fail(relaxationMessage(code, pass.kind, out.solveStatus, final, h.timeFactorFlag != 0));
    return out;
  }

  progress.setText(RunLabel::Busy, busyTransitionsText());
  ws.transitions.build(pass, ws.space);
  progress.setText(RunLabel::Busy, busyIterationText());
  progress.setText(RunLabel::Line4, transitionsLine(final, pass.passIndex, pass.pairCount,
                                                    pass.fromPoint, pass.toPoint));
  out.iterationStarted = true;
  std::function<void(int64_t)> blink;
  if (final) blink = [&](int64_t sweeps) { progress.setBusyVisible(sweeps % 2 == 0); };
  out.stats.states = out.stateCount;
  out.stats.records = static_cast<int64_t>(ws.transitions.recordCount());
  out.stats.finished = ws.transitions.finishedStates();
  const auto began = std::chrono::steady_clock::now();
  const RelaxResult r = solveByRelaxation(ws.transitions, ctx.settings, ws.arrays, blink, cancel);
  out.stats.relaxSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  out.stats.sweeps = r.sweeps;
  if (r.status == Cancelled) {
    out.cancelled = true;
    return out;
  }
  out.gainComputed = r.gainComputed;
  out.gain = r.gain;
  out.solveStatus = r.status;
  if (r.status == Solved) {
    out.iterationsDone =
        static_cast<int32_t>(std::min<int64_t>(r.sweeps, std::numeric_limits<int32_t>::max()));
    const bool profit =
        final && (h.refusalFlag != 0 || h.timeFactorFlag != 0 || h.cargoMode != kNoCargo);
    progress.setText(RunLabel::Line5, convergedLine(pass.kind, r.sweeps, pass.pointCount, r.gain,
                                                    profit, ctx.decimalSeparator));
  }
  progress.setBusyVisible(false);
  if (r.status != Solved) {
    fail(relaxationMessage(code, pass.kind, r.status, final, h.timeFactorFlag != 0));
    return out;
  }

  out.route = extractRoute(pass, ws.space, ws.transitions, ws.arrays.choice);
  out.extracted = true;
  switch (out.route.status) {
    case ExtractStatus::Complete: break;
    case ExtractStatus::NotAStep:
      out.solveStatus = 1;
      fail(notAStepMessage(code, pass.kind, out.route.alternative));
      return out;
    case ExtractStatus::RevisitsStates:
      out.solveStatus = 2;
      fail(revisitsStatesMessage(code, pass.kind));
      return out;
    case ExtractStatus::ForbiddenStep:
      out.solveStatus = NoFeasibleRoute;
      fail(relaxationMessage(code, pass.kind, NoFeasibleRoute, final, h.timeFactorFlag != 0));
      return out;
  }
  progress.setText(RunLabel::Line6,
                   routeLine(final, pass.passIndex, pass.pairCount, pass.fromPoint, pass.toPoint));
  return out;
}

PassOutcome runPairPass(PassWorkspace& ws, const TaskContext& ctx, int32_t p, RunProgress& progress,
                        const std::atomic<bool>* cancel) {
  const Graph lists =
      pairReplacementLists(ctx.task.graph, ctx.task.sectionCount(), ctx.boundary, ctx.pairs[p]);
  return runPass(ws, pairSetup(ctx, p, lists), ctx, progress, cancel);
}

// Takes a pass's outcome into the task's result, as the passes leave it one after another.
// False when the pass failed and the task ends.
bool commit(PassesResult& res, const TaskContext& ctx, int32_t p, const PassOutcome& out) {
  const int32_t pairCount = static_cast<int32_t>(ctx.pairs.size());
  const bool final = p == pairCount;
  res.solutionFound = p - pairCount;
  res.stateCount = out.stateCount;
  res.passStats.push_back(out.stats);
  if (out.gainComputed) res.objective = out.gain;
  if (out.iterationStarted) {
    res.iterationsDone = out.iterationsDone;
    if (!final) res.pairs[p].failed = out.solveStatus == Solved ? 0 : 1;
  }
  if (out.iterationStarted && out.solveStatus == Solved) res.passResults[p].cost = out.gain;
  if (out.extracted) {
    res.passRoutes[p] = out.route.steps;
    res.passResults[p].stepCount = static_cast<int32_t>(out.route.steps.size());
    res.passResults[p].time = out.route.hours;
    res.routeSteps = final ? expandFinalRoute(ctx.task.pointCount(), ctx.task.header.startPoint,
                                              res.pairs, res.passRoutes, out.route.steps)
                           : out.route.steps;
    res.startServiceTimes = out.route.startServiceTimes;
  }
  if (out.failed) {
    res.failure = out.message;
    return false;
  }
  res.solutionFound = 1;
  return true;
}

// Pair passes on several threads. Workers take the next pair; the caller commits the
// outcomes in pair order and shows what each pass reported, so the result and the lines
// are those of one pass after another. A failed pair stops the passes still running.
bool runPairPassesParallel(PassesResult& res, const TaskContext& ctx, int threads,
                           RunProgress& progress) {
  const int32_t pairCount = static_cast<int32_t>(ctx.pairs.size());
  struct Slot {
    PassOutcome outcome;
    RecordedProgress events;
    std::exception_ptr error;
    bool ready = false;
  };
  std::vector<Slot> slots(pairCount);
  std::mutex mutex;
  std::condition_variable readyChanged;
  std::atomic<int32_t> next{0};
  std::atomic<bool> stop{false};

  auto work = [&] {
    PassWorkspace ws;
    for (;;) {
      const int32_t p = next.fetch_add(1);
      if (p >= pairCount || stop.load()) return;
      Slot& slot = slots[p];
      try {
        slot.outcome = runPairPass(ws, ctx, p, slot.events, &stop);
      } catch (...) {
        slot.error = std::current_exception();
      }
      {
        std::lock_guard lock(mutex);
        slot.ready = true;
      }
      readyChanged.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  for (int t = 0; t < threads; ++t) workers.emplace_back(work);

  bool ok = true;
  std::exception_ptr error;
  for (int32_t p = 0; p < pairCount && ok; ++p) {
    {
      std::unique_lock lock(mutex);
      readyChanged.wait(lock, [&] { return slots[p].ready; });
    }
    Slot& slot = slots[p];
    if (slot.error) {
      error = slot.error;
      ok = false;
      break;
    }
    slot.events.replay(progress);
    ok = commit(res, ctx, p, slot.outcome);
    slot = Slot{};  // the pass's memory is no longer needed
    slot.ready = true;
  }
  stop = true;
  workers.clear();  // joins
  if (error) std::rethrow_exception(error);
  return ok;
}

}  // namespace

PassesResult solvePasses(const OptimTask& task, const IterationSettings& settings,
                         const SolveOptions& options, RunProgress& progress) {
  PassesResult res;
  TaskContext ctx{task, settings, options.decimalSeparator, {}, {}, {}, {}};
  const int32_t a = task.sectionCount();
  ctx.pairs = buildPairs(task.header, task.orderValues);
  ctx.boundary = boundarySections(task.graph, a);
  ctx.boundaryIndex.assign(a, -1);
  for (size_t k = 0; k < ctx.boundary.size(); ++k)
    ctx.boundaryIndex[ctx.boundary[k]] = static_cast<int32_t>(k);
  ctx.rules = finalPassRules(task.header, task.points);

  const int32_t pairCount = static_cast<int32_t>(ctx.pairs.size());
  res.pairs = ctx.pairs;
  res.passResults.resize(pairCount + 1);
  res.passRoutes.resize(pairCount + 1);

  progress.setText(RunLabel::Line2, passesBeginLine());
  progress.setText(RunLabel::Line3, Text{});
  progress.setText(RunLabel::Line4, Text{});
  progress.setText(RunLabel::Line6, Text{});

  int threads =
      options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
  threads = std::clamp(threads, 1, std::max(1, pairCount));
  // Every thread holds the tables of one pair pass: a graph with a great many arcs runs on
  // fewer threads, so that the passes together stay within a fixed memory budget.
  const int64_t states = 2 * (int64_t{a} + 2) + 2;
  const int64_t passBytes = static_cast<int64_t>(task.graph.arcCount() + states) * 32 + states * 72;
  constexpr int64_t kBudget = int64_t{1} << 30;
  threads =
      static_cast<int>(std::clamp<int64_t>(kBudget / std::max<int64_t>(passBytes, 1), 1, threads));
  if (threads > 1) {
    if (!runPairPassesParallel(res, ctx, threads, progress)) return res;
  } else {
    PassWorkspace ws;
    for (int32_t p = 0; p < pairCount; ++p)
      if (!commit(res, ctx, p, runPairPass(ws, ctx, p, progress, nullptr))) return res;
  }

  const Graph graph = finalGraph(task.pointCount(), task.header.startPoint, task.header.endPoint,
                                 res.pairs, res.passResults);
  progress.setText(RunLabel::Failure, Text{});
  PassWorkspace ws;
  commit(res, ctx, pairCount, runPass(ws, finalSetup(ctx, graph), ctx, progress, nullptr));
  return res;
}

}  // namespace qj::optim
