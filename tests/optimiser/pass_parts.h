#pragma once
// One pass of a task built by hand from its parts: a pair pass on the task graph, or a final
// pass on a graph of the points alone.

#include "optimiser/passes.h"
#include "optimiser/task_fixture.h"

namespace qj::optim::test {

struct PassParts {
  std::vector<int32_t> boundary, boundaryIndex;
  Graph lists;
  FinalPassRules rules;
  PassSetup setup;
  StateSpace space;
  Transitions transitions;

  PassParts(const OptimTask& t, Pair pair) {
    const int32_t a = t.sectionCount();
    boundary = boundarySections(t.graph, a);
    boundaryIndex.assign(a, -1);
    for (size_t k = 0; k < boundary.size(); ++k) boundaryIndex[boundary[k]] = int32_t(k);
    lists = pairReplacementLists(t.graph, a, boundary, pair);
    setup.sectionCount = a;
    setup.fromPoint = pair.from;
    setup.toPoint = pair.to;
    setup.task = &t;
    setup.graph = &t.graph;
    setup.boundaryIndex = &boundaryIndex;
    setup.replacements = &lists;
    space.build(pairPassShape(a));
    transitions.build(setup, space);
  }

  PassParts(const OptimTask& t, const Graph& points) : rules(finalPassRules(t.header, t.points)) {
    setup.kind = 2;
    setup.sectionCount = 0;
    setup.pointCount = t.pointCount();
    setup.startPoint = t.header.startPoint;
    setup.endPoint = t.header.endPoint;
    setup.phaseCount = 1;
    setup.maxTimeStep = rules.maxTimeStep;
    setup.task = &t;
    setup.graph = &points;
    space.build(finalPassShape(rules));
    transitions.build(setup, space);
  }
};

}  // namespace qj::optim::test
