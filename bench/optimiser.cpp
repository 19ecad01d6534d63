// The optimiser on the largest admitted task: a city of about 10000 sections, 10 target
// points, no end point, default iteration parameters. Solved with one thread and with every
// thread in the same run; prints the times, their ratio, the nanoseconds per record update
// of the sweeps and the sweep counts of the passes. Then every pair pass's iteration is run
// again beside a literal relaxation on plain CSR arrays (a division by the coefficient at
// every record, two value arrays), interleaved pass by pass, and the two costs per record
// update and their ratio are printed; the two must agree to the last bit.
//
//   bench_optimiser [threads] [--write FOLDER]
//
// --write also stores the task as FOLDER/Solving/qj_BENCH1_in.dat for bench_optimiser_run.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "grid_city.h"
#include "optimiser/pass_parts.h"
#include "optimiser/passes.h"
#include "platform/files.h"

using namespace qj;
using namespace qj::optim;

namespace {

struct Run {
  PassesResult result;
  double seconds = 0;
};

Run solve(const OptimTask& task, int threads) {
  SilentProgress quiet;
  const auto began = std::chrono::steady_clock::now();
  Run run;
  run.result = solvePasses(task, IterationSettings{}, {threads, '.'}, quiet);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return run;
}

// The parallel ratio that this machine gives a plain compute loop right now: on a shared
// machine the optimiser's own ratio cannot be higher.
double machineRatio(int threads) {
  auto work = [](long n) {
    volatile double x = 0;
    for (long i = 0; i < n; ++i) x = x * 0.999999 + static_cast<double>(i) * 1e-9;
    return static_cast<double>(x);
  };
  const long n = 100000000;
  auto t0 = std::chrono::steady_clock::now();
  work(n);
  auto t1 = std::chrono::steady_clock::now();
  {
    std::vector<std::jthread> pool;
    for (int i = 0; i < threads; ++i) pool.emplace_back([&] { work(n / threads); });
  }
  auto t2 = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(t1 - t0).count() /
         std::chrono::duration<double>(t2 - t1).count();
}

// The iteration as it is written, on the transitions' own CSR arrays: W updated in place, so
// that a successor already swept this time holds its new value; q := Cost + W[t] / w -
// (1 / w - 1) x V[t] at every record; the stop test as a second walk; V := W after a sweep.
struct Literal {
  double gain = 0;
  int64_t sweeps = 0;
  std::vector<double> values;
};

// With kDivide false, the successor's value is multiplied by a stored 1 / w instead: quicker
// on most machines, but not the same last bits, so a speed reference only.
template <bool kDivide>
Literal literalRelaxation(const Transitions& tr, const IterationSettings& set) {
  Literal out;
  const int32_t n = tr.stateCount();
  std::vector<double> v(n, 0.0), w(n, 0.0);
  const int32_t* start = tr.starts().data();
  const int32_t* targets = tr.targets().data();
  const double* costs = tr.costs().data();
  const double coef = set.relaxationCoef;
  [[maybe_unused]] const double inverse = 1 / coef;
  int64_t sinceCheck = 1;
  for (;;) {
    const double g = 1.0 * v[n - 1] + 0.0;
    out.gain = g;
    w[0] = 0;
    for (int32_t s = 1; s < n; ++s) {
      auto q = [&](int32_t r) {
        const int32_t t = targets[r];
        if constexpr (kDivide)
          return costs[r] + w[t] / coef - (1 / coef - 1) * v[t];
        else
          return costs[r] + w[t] * inverse - (inverse - 1) * v[t];
      };
      double best = q(start[s]);
      for (int32_t r = start[s] + 1; r < start[s + 1]; ++r) best = std::min(best, q(r));
      w[s] = coef * ((best + 1.0 * g) - g) + (1 - coef) * v[s];
    }
    ++out.sweeps;
    if (sinceCheck == set.checkInterval) {
      bool changed = false;
      for (int32_t s = 0; s < n && !changed; ++s)
        changed = std::fabs(w[s] - v[s]) / (std::fabs(w[s] + v[s]) / 2 + 1e-10) > set.stopCriterion;
      if (!changed || out.sweeps >= set.iterationLimit) break;
      sinceCheck = 1;
    } else {
      ++sinceCheck;
    }
    std::copy(w.begin(), w.end(), v.begin());
  }
  out.values = std::move(w);
  return out;
}

double secondsSince(std::chrono::steady_clock::time_point began) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// Ours against the literal loop, and against the loop that multiplies instead of dividing, on
// every pair pass: alternately pass by pass and the fastest of three runs of each, so that a
// load on a shared machine falls on all alike. Returns false when ours and the literal loop
// differ in a bit.
bool compareWithLiteral(const OptimTask& task) {
  constexpr int kRuns = 3;
  const IterationSettings set{};
  double ours = 0, literal = 0, multiplying = 0;
  int64_t oursUpdates = 0, literalUpdates = 0;
  bool identical = true;
  RelaxArrays arrays;
  for (const Pair& pair : buildPairs(task.header, task.orderValues)) {
    const test::PassParts pass(task, pair);
    const Transitions& tr = pass.transitions;
    const int64_t records = static_cast<int64_t>(tr.recordCount());
    double best[3] = {1e300, 1e300, 1e300};
    Literal lit;
    RelaxResult r;
    for (int run = 0; run < kRuns; ++run) {
      auto began = std::chrono::steady_clock::now();
      r = solveByRelaxation(tr, set, arrays);
      best[0] = std::min(best[0], secondsSince(began));
      began = std::chrono::steady_clock::now();
      lit = literalRelaxation<true>(tr, set);
      best[1] = std::min(best[1], secondsSince(began));
      began = std::chrono::steady_clock::now();
      literalRelaxation<false>(tr, set);
      best[2] = std::min(best[2], secondsSince(began));
    }
    ours += best[0];
    literal += best[1];
    multiplying += best[2];
    // Ours leaves out the finished states, whose one record the literal loops sweep.
    oursUpdates += (records - tr.finishedStates()) * r.sweeps;
    literalUpdates += records * lit.sweeps;
    identical = identical && r.sweeps == lit.sweeps &&
                arrays.newValues.size() == lit.values.size() &&
                std::memcmp(&r.gain, &lit.gain, sizeof r.gain) == 0 &&
                std::memcmp(arrays.newValues.data(), lit.values.data(),
                            sizeof(double) * lit.values.size()) == 0;
  }
  auto ns = [](double seconds, int64_t updates) {
    return 1e9 * seconds / static_cast<double>(std::max<int64_t>(updates, 1));
  };
  const double oursNs = ns(ours, oursUpdates), literalNs = ns(literal, literalUpdates),
               multiplyingNs = ns(multiplying, literalUpdates);
  std::printf("pair sweeps, ours: %.3f s for %lld record updates: %.2f ns per record update\n",
              ours, static_cast<long long>(oursUpdates), oursNs);
  std::printf(
      "pair sweeps, literal CSR loop: %.3f s for %lld record updates: %.2f ns per "
      "record update\n",
      literal, static_cast<long long>(literalUpdates), literalNs);
  std::printf(
      "pair sweeps, CSR loop multiplying by 1 / w (other last bits): %.3f s: %.2f ns per "
      "record update\n",
      multiplying, multiplyingNs);
  std::printf(
      "ns per record update, ours / literal: %.2f (whole sweeps %.2f); ours / "
      "multiplying: %.2f (whole sweeps %.2f)\n",
      oursNs / literalNs, ours / literal, oursNs / multiplyingNs, ours / multiplying);
  std::printf("ours and literal identical to the last bit: %s\n", identical ? "yes" : "NO");
  return identical;
}

bool same(const PassesResult& a, const PassesResult& b) {
  return a.solutionFound == b.solutionFound && a.objective == b.objective &&
         a.routeSteps == b.routeSteps && a.startServiceTimes == b.startServiceTimes &&
         a.stateCount == b.stateCount && a.iterationsDone == b.iterationsDone;
}

}  // namespace

int main(int argc, char** argv) {
  int threads = static_cast<int>(std::thread::hardware_concurrency());
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--write") == 0 && i + 1 < argc)
      folder = argv[++i];
    else
      threads = std::max(1, std::atoi(argv[i]));
  }
  const SolverInput input = bench::gridCity({});
  if (!folder.empty()) {
    std::filesystem::create_directories(std::filesystem::path(folder) / "Solving");
    writeFileAtomic(std::filesystem::path(folder) / "Solving" / "qj_BENCH1_in.dat",
                    writeSolverInput(input, "Shell (QJ 1.6).eng"));
    std::printf("wrote %s/Solving/qj_BENCH1_in.dat\n", folder.c_str());
  }
  const OptimTask task = toOptimTask(input, "BENCH1");
  std::printf("task: %d sections, %zu arcs, %d points, no end point\n", task.sectionCount(),
              task.graph.arcCount(), task.pointCount());

  // The machine may be shared: each configuration runs several times, interleaved, and the
  // fastest run of each counts.
  constexpr int kRepeats = 5;
  Run one, many;
  std::vector<double> oneTimes, manyTimes;
  bool identical = true;
  for (int i = 0; i < kRepeats; ++i) {
    Run a = solve(task, 1), b = solve(task, threads);
    oneTimes.push_back(a.seconds);
    manyTimes.push_back(b.seconds);
    identical = identical && same(a.result, b.result);
    if (i == 0 || a.seconds < one.seconds) one = std::move(a);
    if (i == 0 || b.seconds < many.seconds) many = std::move(b);
  }
  std::sort(oneTimes.begin(), oneTimes.end());
  std::sort(manyTimes.begin(), manyTimes.end());
  const PassesResult& r = one.result;

  int64_t updates = 0, states = 0;
  double relax = 0;
  std::vector<int64_t> sweeps;
  for (size_t p = 0; p + 1 < r.passStats.size(); ++p) {
    const PassStats& s = r.passStats[p];
    // The finished states keep their value without a sweep computing it.
    updates += (s.records - s.finished) * s.sweeps;
    states += (s.states - 1 - s.finished) * s.sweeps;
    relax += s.relaxSeconds;
    sweeps.push_back(s.sweeps);
  }
  std::sort(sweeps.begin(), sweeps.end());
  const PassStats& fin = r.passStats.back();
  std::printf("pairs: %zu, solution found %d, objective %.4f, route steps %zu\n", r.pairs.size(),
              r.solutionFound, r.objective, r.routeSteps.size());
  if (!sweeps.empty())
    std::printf("pair sweeps: min %lld, median %lld, max %lld, total %lld\n",
                static_cast<long long>(sweeps.front()),
                static_cast<long long>(sweeps[sweeps.size() / 2]),
                static_cast<long long>(sweeps.back()),
                static_cast<long long>(std::accumulate(sweeps.begin(), sweeps.end(), int64_t{0})));
  std::printf("final pass: %lld states, %lld records, %lld sweeps\n",
              static_cast<long long>(fin.states), static_cast<long long>(fin.records),
              static_cast<long long>(fin.sweeps));
  std::printf(
      "pair sweeps, one thread (best run): %.3f s for %lld record updates (%lld state updates): "
      "%.2f ns per record update\n",
      relax, static_cast<long long>(updates), static_cast<long long>(states),
      1e9 * relax / static_cast<double>(std::max<int64_t>(updates, 1)));
  std::printf("whole task, best of %d: one thread %.3f s, %d threads %.3f s, ratio %.2f\n",
              kRepeats, one.seconds, threads, many.seconds, one.seconds / many.seconds);
  std::printf("whole task, median of %d: one thread %.3f s, %d threads %.3f s, ratio %.2f\n",
              kRepeats, oneTimes[kRepeats / 2], threads, manyTimes[kRepeats / 2],
              oneTimes[kRepeats / 2] / manyTimes[kRepeats / 2]);
  std::printf("the same machine on a plain compute loop: ratio %.2f with %d threads\n",
              machineRatio(threads), threads);
  std::printf("results identical: %s\n", identical ? "yes" : "NO");
  const bool literalAgrees = compareWithLiteral(task);
  return identical && literalAgrees ? 0 : 1;
}
