// Times the wizard's work on the largest task database (the large test city: 2500 nodes,
// 10000 transit sections, up to 10 turns each) with 10 target points: the level-1 placement
// with the step-6 grid, step 6 with the step-7 grid, step 7 with the solver graph, the
// conversion into the solver input, and the level-2 automatic transitions with their graph.

#include "route/solver_graph.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "democity/demo_city.h"
#include "records/text.h"
#include "task/auto_transitions.h"
#include "task/from_transitions_step.h"
#include "task/placement.h"
#include "task/to_transitions_step.h"
#include "task/transition_grid.h"

namespace {

constexpr int kPoints = 10;
constexpr int kRuns = 20;

qj::TaskWizardState taskOn(qj::DbrnFile db) {
  qj::TaskWizardState st;
  st.decSep = ',';
  st.dbLevel = db.level();
  st.header.dbKind = db.header.dbKind;
  st.header.sectionCount = db.header.sectionCount;
  st.header.pointCount = kPoints;
  st.header.startPoint = 1;
  st.header.finePerKm = 2;
  st.header.finePerHour = 10;
  st.header.approachSpeed = 5;
  st.approachSpeed = 5;
  st.db = std::move(db);
  st.pointChanged.assign(kPoints, 0);
  return st;
}

// Ten points spread over the city, each at the first house of an open, numbered section.
qj::TaskWizardState level1Task() {
  qj::TaskWizardState st = taskOn(qj::largeCity(1, "eng"));
  const auto& sections = st.db.sections;
  const size_t step = sections.size() / kPoints;
  for (size_t k = 0; st.points.size() < kPoints && k < sections.size(); k += step) {
    size_t j = k;
    while (j < sections.size() && (sections[j].isClosed() || sections[j].hasNonStdNumbering() ||
                                   !qj::parseHouseNumber(sections[j].houseFrom)))
      ++j;
    if (j == sections.size()) break;
    const qj::StreetRec& street = st.db.streets[sections[j].streetIndex];
    qj::TaskPointRec p;
    p.streetType = street.streetType;
    p.street = street.name;
    p.house = qj::trimmed(sections[j].houseFrom);
    p.serviceTime = 5;
    p.vertexNo = st.header.sectionCount + static_cast<int32_t>(st.points.size());
    st.points.push_back(p);
  }
  return st;
}

// Ten points at houses with links.
qj::TaskWizardState level2Task() {
  qj::TaskWizardState st = taskOn(qj::largeCity(2, "eng"));
  const size_t step = st.db.houses.size() / kPoints;
  for (size_t h = 0; st.points.size() < kPoints && h < st.db.houses.size(); h += step) {
    size_t j = h;
    while (j < st.db.houses.size() && st.db.houses[j].links.empty()) ++j;
    qj::TaskPointRec p;
    p.houseIndex = static_cast<int32_t>(j);
    p.serviceTime = 5;
    p.vertexNo = st.header.sectionCount + static_cast<int32_t>(st.points.size());
    st.points.push_back(p);
  }
  return st;
}

struct Timing {
  double best = 1e9, total = 0;
  void add(double ms) {
    best = std::min(best, ms);
    total += ms;
  }
};

double millis(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void report(const char* what, const Timing& t) {
  std::printf("  %-40s %8.2f ms best, %8.2f ms mean of %d\n", what, t.best, t.total / kRuns, kRuns);
}

}  // namespace

int main() {
  const qj::ShellTables texts;  // grid texts are not what is timed
  Timing place, step6, step7, input, whole1, autoL2;
  size_t arcs = 0;
  const qj::TaskWizardState base1 = level1Task();
  const qj::TaskWizardState base2 = level2Task();
  for (int run = 0; run < kRuns; ++run) {
    qj::TaskWizardState st = base1;
    bool ok = true;
    const double a = millis([&] { ok = qj::placeLevel1Points(st, texts).passed(); });
    if (!ok) return std::fprintf(stderr, "placement refused a point\n"), 1;
    const double b = millis([&] { ok = qj::checkStep6(st, texts).check.passed(); });
    const double c = millis([&] { ok = ok && qj::checkStep7(st).check.passed(); });
    if (!ok) return std::fprintf(stderr, "a transition row was refused\n"), 1;
    qj::SolverInput in;
    const double d = millis([&] { in = qj::solverInputOf(st); });
    arcs = in.arcs.size();
    place.add(a);
    step6.add(b);
    step7.add(c);
    input.add(d);
    whole1.add(a + b + c + d);

    qj::TaskWizardState st2 = base2;
    autoL2.add(millis([&] { ok = qj::autoTransitions(st2).passed(); }));
    if (!ok) return std::fprintf(stderr, "a level-2 point was refused\n"), 1;
  }
  std::printf("large city: %zu sections, %d points, %zu arcs (level 1)\n", base1.db.sections.size(),
              kPoints, arcs);
  report("placement and Table2", place);
  report("step 6 and Table3", step6);
  report("step 7: prices and solver graph", step7);
  report("solver input", input);
  report("level 1, steps 5 to 7 and solver input", whole1);
  report("level 2: automatic transitions and graph", autoL2);
  return 0;
}
