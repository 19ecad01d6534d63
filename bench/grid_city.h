#pragma once
// A grid-like city for the optimiser benchmarks: crossings on a grid, two-way streets
// between neighbours (one transit section per direction), every turn but the U-turn at
// each crossing, target points on random sections. Built directly as a solver input.

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "records/task_file.h"

namespace qj::bench {

struct GridCityOptions {
  int rows = 50, cols = 51;  // 9998 sections
  int points = 10;
  uint32_t seed = 1;
  double finePerKm = 0.5, finePerHour = 15;
};

inline SolverInput gridCity(const GridCityOptions& o) {
  std::mt19937 rng(o.seed);
  auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  struct Section {
    int from, to;
    double length, speed;  // metres, km/h
  };
  std::vector<Section> sections;
  std::vector<std::vector<int>> leaving(o.rows * o.cols);
  auto street = [&](int u, int v) {
    const double length = uniform(80, 250), speed = uniform(20, 60);
    for (auto [a, b] : {std::pair{u, v}, std::pair{v, u}}) {
      leaving[a].push_back(static_cast<int>(sections.size()));
      sections.push_back({a, b, length, speed});
    }
  };
  for (int r = 0; r < o.rows; ++r)
    for (int c = 0; c < o.cols; ++c) {
      const int u = r * o.cols + c;
      if (c + 1 < o.cols) street(u, u + 1);
      if (r + 1 < o.rows) street(u, u + o.cols);
    }
  const int a = static_cast<int>(sections.size());
  auto time = [&](double metres, double speed) { return 0.001 * metres / (speed + 1e-8); };
  auto cost = [&](double metres, double hours) {
    return 0.001 * o.finePerKm * metres + o.finePerHour * hours;
  };

  SolverInput in;
  TaskHeader& h = in.header;
  h.language = "eng";
  h.code = "BENCH1";
  h.name = "Grid city benchmark";
  h.dbKind = "use1";
  h.dbCode = "900";
  h.dbName = "Grid city";
  h.sectionCount = a;
  h.pointCount = o.points;
  h.startPoint = 1;
  h.endPoint = 0;
  h.moneyUnit = "EUR";
  h.finePerKm = o.finePerKm;
  h.finePerHour = o.finePerHour;
  h.approachSpeed = 5;
  h.tactMinutes = 10;

  // Each point lies part-way along its own section.
  std::vector<int> pointSection, taken(a, -1);
  std::vector<double> fraction;
  for (int q = 0; q < o.points; ++q) {
    int s;
    do s = std::uniform_int_distribution<int>(0, a - 1)(rng);
    while (taken[s] >= 0);
    taken[s] = q;
    pointSection.push_back(s);
    fraction.push_back(uniform(0.1, 0.9));
    TaskPointRec p;
    p.streetType = "st.";
    p.street = "Grid " + std::to_string(sections[s].from);
    p.house = std::to_string(q + 1);
    p.serviceTime = 5;
    p.unloadTime = 2;
    p.waitPenalty = uniform(0, 2);
    p.vertexNo = a + q;
    p.sectionIndex = s;
    p.toCount = 1;
    p.fromCount = 1;
    in.points.push_back(p);
  }
  const double serviceHours = 5.0 / 60;
  // A section's vertex is its end: its arcs drive each onward section, and reach a point on
  // an onward section part-way along it.
  for (int s = 0; s < a; ++s) {
    int count = 0;
    for (int u : leaving[sections[s].to]) {
      if (sections[u].to == sections[s].from) continue;  // no U-turn
      const double t = time(sections[u].length, sections[u].speed);
      in.arcs.push_back({u, t, cost(sections[u].length, t)});
      ++count;
      if (const int q = taken[u]; q >= 0) {
        const double part = sections[u].length * fraction[q];
        const double tp = time(part, sections[u].speed);
        in.arcs.push_back(
            {a + q, tp + serviceHours, cost(part, tp) + o.finePerHour * serviceHours});
        ++count;
      }
    }
    in.arcCounts.push_back(count);
  }
  // From a point the vehicle drives on to the end of its section.
  for (int q = 0; q < o.points; ++q) {
    const Section& s = sections[pointSection[q]];
    const double rest = s.length * (1 - fraction[q]);
    const double t = time(rest, s.speed);
    in.arcs.push_back({pointSection[q], t, cost(rest, t)});
    in.arcCounts.push_back(1);
  }
  in.shellNameTrailer.assign(25, '\0');
  return in;
}

}  // namespace qj::bench
