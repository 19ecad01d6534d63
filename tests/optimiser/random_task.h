#pragma once
// Random small tasks on random street networks, with a chosen set of options.

#include <random>

#include "optimiser/task_fixture.h"

namespace qj::optim::test {

struct Rng {
  std::mt19937 engine;
  explicit Rng(uint32_t seed) : engine(seed) {}
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); }
  double real(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(engine);
  }
  bool chance(double p) { return real(0, 1) < p; }
};

namespace options {  // the options a random task may use
inline constexpr unsigned kEndPoint = 1, kRefusals = 2, kTimeWindows = 4, kCargoReturn = 8;
inline constexpr unsigned kOrder = 16, kAll = 31;
}  // namespace options

// A street network of a ring of sections with a few chords; every point is entered from one
// or two sections and leaves to one or two, now and then straight to another point.
inline OptimTask& randomTask(Rng& rng, unsigned chosen, TaskFixture& f) {
  using namespace options;
  const int32_t a = f.task.header.sectionCount, n = f.task.header.pointCount;
  auto time = [&] { return rng.real(0.02, 0.3); };
  for (int32_t s = 0; s < a; ++s) {
    f.arc(s, (s + 1) % a, rng.real(1, 10), time());
    for (int k = rng.pick(0, 2); k > 0; --k) f.arc(s, rng.pick(0, a - 1), rng.real(1, 10), time());
  }
  for (int32_t k = 1; k <= n; ++k) {
    for (int i = rng.pick(1, 2); i > 0; --i)
      f.arc(rng.pick(0, a - 1), f.point(k), rng.real(1, 5), time());
    for (int i = rng.pick(1, 2); i > 0; --i)
      f.arc(f.point(k), rng.pick(0, a - 1), rng.real(1, 5), time());
    if (rng.chance(0.2)) {
      const int32_t other = rng.pick(1, n);
      if (other != k) f.arc(f.point(k), f.point(other), rng.real(1, 5), time());
    }
  }
  TaskHeader& h = f.task.header;
  h.startPoint = rng.pick(1, n);
  h.finePerKm = rng.real(0, 2);
  h.finePerHour = rng.real(0, 20);
  for (int32_t k = 1; k <= n; ++k) {
    TaskPointRec& p = f.pointRec(k);
    p.waitPenalty = rng.chance(0.5) ? 0 : rng.real(0, 5);
    p.serviceTime = rng.real(0, 20);
    p.unloadTime = rng.real(0, 10);
    p.income = rng.real(0, 40);  // counts only with refusals, time windows or cargo
  }
  if ((chosen & kEndPoint) && n > 2 && rng.chance(0.6)) {
    do h.endPoint = rng.pick(1, n);
    while (h.endPoint == h.startPoint);
  }
  if ((chosen & kRefusals) && rng.chance(0.6)) {
    h.refusalFlag = 1;
    for (int32_t k = 1; k <= n; ++k)
      if (k != h.startPoint && k != h.endPoint) f.pointRec(k).refusalAllowed = rng.chance(0.5);
    if (rng.chance(0.4)) h.servedThreshold = rng.pick(-n, n);
  }
  if ((chosen & kTimeWindows) && rng.chance(0.6)) {
    h.timeFactorFlag = 1;
    h.tactMinutes = rng.pick(5, 30);
    for (int32_t k = 1; k <= n; ++k) {
      TaskPointRec& p = f.pointRec(k);
      if (rng.chance(0.5)) p.windowLow = rng.pick(0, 120);
      if (rng.chance(0.5)) p.windowHigh = p.windowLow + rng.pick(10, 200);
    }
  }
  if ((chosen & kCargoReturn) && rng.chance(0.6)) {
    // Return trips without cargo too: then the deferrals come at time step 0 only.
    h.cargoMode = rng.pick(0, 2);
    h.capacity = rng.real(5, 25);
    h.returnFlag = h.cargoMode == 0 || rng.chance(0.7) ? 1 : 0;
    for (int32_t k = 1; k <= n; ++k) f.pointRec(k).volume = k == h.startPoint ? 0 : rng.real(1, 10);
  }
  if ((chosen & kOrder) && rng.chance(0.6)) {
    h.orderMode = rng.pick(1, 3);
    for (int32_t k = 1; k <= n; ++k)
      f.pointRec(k).orderValue =
          h.orderMode == 3 ? rng.pick(-1, 2) : (rng.chance(0.3) ? rng.pick(1, n) : 0);
  }
  return f.finish();
}

}  // namespace qj::optim::test
