// The iteration against a plain transcription of it: two value arrays, a copy after every
// sweep, the stop test as a second walk over the states, the choice taken during each sweep.
// The optimiser updates in place, fuses the test into the sweep, finds the choices once at
// the end and leaves out the finished states; none of that may change a single bit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "optimiser/pass_parts.h"
#include "optimiser/random_task.h"
#include "optimiser/relaxation.h"

namespace qj::optim {
namespace {

struct Reference {
  int32_t status = Solved;
  double gain = 0;
  int64_t sweeps = 0;
  std::vector<double> values;
  std::vector<int32_t> choice;
};

Reference referenceRelaxation(const Transitions& tr, const IterationSettings& set) {
  Reference ref;
  const int32_t n = tr.stateCount();
  std::vector<double> v(n, 0.0), w(n, 0.0);
  std::vector<int32_t> choice(n, 0);
  const double coef = set.relaxationCoef;
  int64_t sinceCheck = 1;
  for (;;) {
    const double g = 1.0 * v[n - 1] + 0.0;
    ref.gain = g;
    w[0] = 0;
    choice[0] = -1;
    for (int32_t s = 1; s < n; ++s) {
      double best = 0;
      int32_t chosen = -1;
      for (int32_t r = tr.first(s); r < tr.end(s); ++r) {
        const SweepRecord rec = tr.record(r);
        const double current = rec.target < s ? w[rec.target] : v[rec.target];
        const double q = rec.cost + current / coef - (1 / coef - 1) * v[rec.target];
        if (chosen < 0 || q < best) {
          best = q;
          chosen = r;
        }
      }
      w[s] = coef * ((best + 1.0 * g) - g) + (1 - coef) * v[s];
      choice[s] = chosen;
    }
    ++ref.sweeps;
    if (sinceCheck == set.checkInterval) {
      bool failed = false;
      for (int32_t s = 0; s < n && !failed; ++s)
        failed = std::fabs(w[s] - v[s]) / (std::fabs(w[s] + v[s]) / 2 + 1e-10) > set.stopCriterion;
      if (!failed) break;
      if (ref.sweeps >= set.iterationLimit) {
        ref.status = IterationLimitReached;
        break;
      }
      sinceCheck = 1;
    } else {
      ++sinceCheck;
    }
    v = w;
  }
  if (ref.status == Solved && ref.gain > kInfeasibleGain) ref.status = NoFeasibleRoute;
  ref.values = w;
  ref.choice = choice;
  return ref;
}

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

Reference expectSameAsReference(const Transitions& tr, const IterationSettings& set) {
  RelaxArrays arrays;
  const RelaxResult r = solveByRelaxation(tr, set, arrays);
  const Reference ref = referenceRelaxation(tr, set);
  EXPECT_EQ(r.status, ref.status);
  EXPECT_EQ(r.sweeps, ref.sweeps);
  EXPECT_TRUE(sameBits(r.gain, ref.gain)) << r.gain << " " << ref.gain;
  if (arrays.newValues.size() != ref.values.size()) {
    ADD_FAILURE() << "value counts differ";
    return ref;
  }
  for (size_t s = 0; s < ref.values.size(); ++s)
    EXPECT_TRUE(sameBits(arrays.newValues[s], ref.values[s])) << s;
  if (ref.status == Solved) {
    EXPECT_EQ(arrays.choice, ref.choice);
  }
  return ref;
}

// The transitions of every pair pass of a task.
void forEachPairPass(const OptimTask& task, const std::function<void(const Transitions&)>& f) {
  for (const Pair& pair : buildPairs(task.header, task.orderValues))
    f(test::PassParts(task, pair).transitions);
}

TEST(RelaxationReference, PairAndFinalPassesOfRandomTasks) {
  test::Rng rng(31);
  for (int round = 0; round < 30; ++round) {
    test::TaskFixture f(rng.pick(4, 25), rng.pick(2, 4));
    const OptimTask& task = test::randomTask(rng, 0, f);
    // Now and then a criterion so strict that the iteration ends at its limit.
    const double stop = rng.chance(0.3) ? 1e-12 : rng.real(0.001, 0.1);
    const IterationSettings set{rng.real(0.1, 0.99), stop, rng.pick(1, 7), rng.pick(10, 40)};
    SCOPED_TRACE(round);
    forEachPairPass(task, [&](const Transitions& tr) { expectSameAsReference(tr, set); });
  }
  // Final passes with incomes, windows and now and then a point without a way out.
  rng = test::Rng(32);
  for (int round = 0; round < 40; ++round) {
    test::TaskFixture f(4, rng.pick(2, 6));
    const OptimTask& task = test::randomTask(rng, test::options::kAll, f);
    const int64_t states = countFinalStates(finalPassRules(task.header, task.points));
    if (states > kStateLimit || states < 2) continue;
    Graph graph;
    const int32_t n = task.pointCount(), deadEnd = rng.pick(0, 2 * n);
    for (int32_t b = 0; b < n; ++b) {
      std::vector<Arc> arcs;
      for (int32_t j = 0; j < n; ++j)
        if (j != b && b != deadEnd && rng.chance(0.7))
          arcs.push_back({j, rng.real(0.05, 1), rng.real(1, 30)});
      graph.addVertex(arcs);
    }
    SCOPED_TRACE(round);
    expectSameAsReference(test::PassParts(task, graph).transitions,
                          {0.9, 0.003, rng.pick(1, 5), 1000});
  }
}

TEST(RelaxationReference, CostsThatOverflowStillMatch) {
  // Sums of the largest finite costs overflow: the finished states then take part again.
  test::TaskFixture f(3, 2);
  const double huge = std::numeric_limits<double>::max() / 2;
  f.arc(f.point(1), 0, huge).arc(0, 1, huge).arc(1, 2, huge).arc(2, f.point(2), huge);
  f.arc(f.point(2), 0, 1);
  const OptimTask& task = f.finish();
  forEachPairPass(task, [&](const Transitions& tr) {
    EXPECT_GT(tr.finishedStates(), 0);
    EXPECT_FALSE(std::isfinite(expectSameAsReference(tr, {0.9, 0.003, 5, 50}).gain));
  });
}

}  // namespace
}  // namespace qj::optim
