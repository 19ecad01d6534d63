#pragma once
// An independent solution of small tasks: shortest routes for every pair on the task graph
// with the other points removed, and an exhaustive search of the final pass over every
// order of visits, refusals, deferrals and trips under the task's rules.

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "optimiser/passes.h"
#include "optimiser/task_data.h"
#include "optimiser/task_fixture.h"
#include "route/state_space.h"

namespace qj::optim::test {

struct OraclePair {
  double cost = std::numeric_limits<double>::infinity();
  double hours = 0;
  std::vector<int32_t> path;  // vertices after From, the To point last
  double margin = 0;          // how much worse the best deviation from the path is
};

// Shortest route From -> To (1-based points) with weight cost + To's waiting penalty × hours.
inline OraclePair oraclePair(const OptimTask& task, int32_t from, int32_t to) {
  const int32_t a = task.sectionCount();
  const int32_t vertices = a + task.pointCount();
  const int32_t source = a + from - 1, target = a + to - 1;
  const double penalty = task.waitPenalty[to - 1];
  auto usable = [&](int32_t v) { return v < a || v == target; };
  auto weight = [&](const Arc& arc) { return arc.cost + penalty * arc.time; };
  // Distances to the To point, relaxed until they settle (Bellman and Ford).
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> toTarget(vertices, inf);
  toTarget[target] = 0;
  for (int32_t round = 0; round < vertices; ++round)
    for (int32_t v = 0; v < vertices; ++v) {
      if (v == target || (!usable(v) && v != source)) continue;  // the route ends at To
      for (const Arc& arc : task.graph.out(v))
        if (usable(arc.target))
          toTarget[v] = std::min(toTarget[v], weight(arc) + toTarget[arc.target]);
    }
  OraclePair result;
  result.cost = toTarget[source];
  if (!std::isfinite(result.cost)) return result;
  result.margin = inf;
  int32_t v = source;
  while (v != target && result.path.size() <= static_cast<size_t>(vertices)) {
    const Arc* best = nullptr;
    double bestValue = inf, second = inf;
    for (const Arc& arc : task.graph.out(v)) {
      if (!usable(arc.target)) continue;
      const double value = weight(arc) + toTarget[arc.target];
      second = std::min(second, std::max(value, bestValue));  // the old best, or this one
      if (value < bestValue) bestValue = value, best = &arc;
    }
    result.margin = std::min(result.margin, second - bestValue);
    result.hours += best->time;
    result.path.push_back(best->target);
    v = best->target;
  }
  return result;
}

// The final pass's optimum by exhaustive search over its steps, with the given pair results;
// and the cost of a given route of the final pass under the same rules.
class FinalOracle {
 public:
  FinalOracle(const OptimTask& task, const std::vector<Pair>& pairs,
              const std::vector<OraclePair>& results)
      : task_(task),
        h_(task.header),
        n_(task.pointCount()),
        rules_(finalPassRules(h_, task.points)) {
    arcs_.resize(n_);
    for (int32_t b = 0; b < n_; ++b) {
      if (n_ > 2 && b == h_.endPoint - 1) continue;
      for (size_t q = 0; q < pairs.size(); ++q)
        if (pairs[q].from == b + 1 && (n_ > 2 || b == h_.startPoint - 1))
          arcs_[b].push_back({pairs[q].to - 1, results[q].hours, results[q].cost});
    }
  }

  double solve() {
    State s = start();
    // When the rules refuse the very start, no route can meet them.
    if (!isState(s.p, s.st)) return kForbiddenCost;
    return value(s);
  }

  // Follows a route of final-pass codes (point t, refusal N + k, deferral 2N + k): its cost,
  // and the loading minutes of every departure from the start point. Infinite cost when a
  // step is no alternative, is forbidden or the route ends before every point is done.
  struct Replay {
    double cost = 0;
    std::vector<double> loading;
  };
  Replay replay(const std::vector<RouteStep>& route) const {
    Replay r;
    State s = start();
    for (const RouteStep& step : route) {
      const auto alts = alternatives(s);
      auto it =
          std::find_if(alts.begin(), alts.end(), [&](const Alt& a) { return a.code == step.code; });
      if (it == alts.end() || it->forbidden) return {std::numeric_limits<double>::infinity(), {}};
      r.cost += it->cost;
      if (it->loads) r.loading.push_back(it->minutes);
      s = it->next;
    }
    if (std::count(s.st.begin(), s.st.end(), Served) != n_)
      r.cost = std::numeric_limits<double>::infinity();
    return r;
  }

 private:
  struct State {
    int32_t p = 0;
    std::vector<uint8_t> st;
    int64_t ts = 0;
    auto key() const { return std::make_tuple(p, st, ts); }
  };
  struct Alt {
    int32_t code = 0;
    double cost = 0;  // the whole cost when forbidden
    bool forbidden = false;
    State next;
    bool loads = false;  // a departure from the start point, loading `minutes`
    double minutes = 0;
  };

  State start() const {
    State s{h_.startPoint - 1, std::vector<uint8_t>(n_, Pending), 0};
    s.st[s.p] = Served;
    return s;
  }

  bool isState(int32_t position, const std::vector<uint8_t>& st) const {
    if (st[position] != Served) return false;
    return !vectorRefused(rules_, st.data()) && !combinationRefused(rules_, st.data(), position);
  }

  int64_t step(double minutes) const {
    double r = std::nearbyint(minutes / h_.tactMinutes);
    if (!(r > 0)) r = 0;
    return std::min<int64_t>(static_cast<int64_t>(std::min(r, 1e15)), rules_.maxTimeStep);
  }

  double penalties(const std::vector<uint8_t>& st, int32_t except) const {
    double sum = 0;
    for (int32_t j = 0; j < n_; ++j)
      if (st[j] != Served && j != except) sum += task_.waitPenalty[j];
    return sum;
  }

  // Every alternative of a state with open points; none is a dead end.
  std::vector<Alt> alternatives(const State& s) const {
    std::vector<Alt> alts;
    const int32_t p = s.p;
    const std::vector<uint8_t>& st = s.st;
    int32_t pending = 0;
    double load = 0;
    bool anyPending = false;
    for (int32_t j = 0; j < n_; ++j) {
      pending += st[j] != Served;
      anyPending |= st[j] == Pending;
      load += st[j] == Pending ? task_.points[j].volume : 0;
    }
    if (arcs_[p].empty()) return alts;
    const bool atStart = p == h_.startPoint - 1;
    const int64_t threshold = std::abs(static_cast<int64_t>(h_.servedThreshold));
    const bool overloaded = h_.capacity + 0.00001 < load;
    bool moves = true;
    if (atStart) {
      if (s.ts == 0 && h_.servedThreshold != 0 && pending > threshold - 1) moves = false;
      if (h_.cargoMode > 0 && overloaded) moves = false;
      auto statusStep = [&](int32_t code, int32_t k, uint8_t to) {
        State next = s;
        next.st[k] = to;
        const bool bad = !isState(p, next.st);
        alts.push_back({code, bad ? kForbiddenCost : 0, bad, next});
      };
      if (h_.refusalFlag == 1 && s.ts == 0)
        for (int32_t k = 0; k < n_; ++k)
          if (!(h_.servedThreshold < 0 && pending <= threshold - 1) &&
              task_.refusalAllowed[k] == 1 && st[k] == Pending)
            statusStep(n_ + k, k, Served);
      if (h_.returnFlag == 1 && (s.ts == 0 || h_.cargoMode > 0) && overloaded)
        for (int32_t k = 0; k < n_; ++k)
          if (st[k] == Pending) statusStep(2 * n_ + k, k, Deferred);
    }
    if (!moves) return alts;
    for (const Arc& arc : arcs_[p]) {
      const int32_t t = arc.target;
      double hrs = arc.time, cost = arc.cost, minutes = 0;
      if (atStart) {
        if (h_.cargoMode == 0)
          minutes = task_.points[p].serviceTime;
        else
          for (int32_t j = 0; j < n_; ++j)
            if (st[j] == Pending) minutes += task_.points[j].serviceTime;
        hrs += minutes / 60;
        cost += (h_.finePerHour + task_.waitPenalty[p] + task_.waitPenalty[t]) * minutes / 60;
      }
      Alt alt{t, 0, false, s, atStart, minutes};
      State& next = alt.next;
      next.p = t;
      if (h_.returnFlag == 1 && !anyPending && t == h_.startPoint - 1) {
        for (auto& x : next.st)
          if (x == Deferred) x = Pending;
        next.ts = rules_.maxTimeStep == 0 ? 0 : step(h_.tactMinutes * double(s.ts) + 60 * hrs);
        alt.forbidden = !isState(t, next.st);
        alt.cost = alt.forbidden ? kForbiddenCost : cost + hrs * penalties(st, t);
        alts.push_back(alt);
        continue;
      }
      if (st[t] != Pending) continue;
      next.st[t] = Served;
      bool forbidden = pending == 1 && h_.endPoint > 0 && t + 1 != h_.endPoint;
      next.ts = 0;
      if (rules_.maxTimeStep > 0) {
        const PointTime& pt = task_.times[t];
        double begin = h_.tactMinutes * double(s.ts) + 60 * hrs - pt.serviceDuration;
        if (pt.windowLow > begin) {
          const double wait = (pt.windowLow - begin) / 60;
          begin = pt.windowLow;
          hrs += wait;
          cost += (h_.finePerHour + task_.waitPenalty[t]) * wait;
        }
        const double end = begin + pt.serviceDuration;
        if (pt.windowHigh > 0 && pt.windowHigh * 1.001 < end)
          forbidden = true;
        else
          next.ts = step(end);
      }
      if (!isState(t, next.st)) forbidden = true;
      const double income = (h_.refusalFlag == 1 || h_.timeFactorFlag == 1 || h_.cargoMode > 0)
                                ? task_.incomes[t]
                                : 0;
      alt.forbidden = forbidden;
      alt.cost = (forbidden ? kForbiddenCost : cost + hrs * penalties(st, t)) - income;
      alts.push_back(alt);
    }
    return alts;
  }

  double value(const State& s) {
    const auto key = s.key();
    if (auto it = memo_.find(key); it != memo_.end()) return it->second;
    if (std::count(s.st.begin(), s.st.end(), Served) == n_) return memo_[key] = 0;
    double best = kForbiddenCost;  // a dead end
    bool any = false;
    for (const Alt& a : alternatives(s)) {
      const double v = a.forbidden ? a.cost : a.cost + value(a.next);
      best = any ? std::min(best, v) : v;
      any = true;
    }
    return memo_[key] = best;
  }

  const OptimTask& task_;
  const TaskHeader& h_;
  int32_t n_;
  FinalPassRules rules_;
  std::vector<std::vector<Arc>> arcs_;
  std::map<std::tuple<int32_t, std::vector<uint8_t>, int64_t>, double> memo_;
};

}  // namespace qj::optim::test
