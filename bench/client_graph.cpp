// Times what a client-addition task costs the optimiser before and after its passes on the
// large test city (10000 transit sections, about 19000 houses): reading and checking the
// system database, building the task's graph on it, and describing a route in lines.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "dbrn/dbrn_io.h"
#include "democity/demo_city.h"
#include "optimiser/client_task.h"
#include "platform/files.h"

namespace {

double millisSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// Ten points at single-link houses spread over the city.
qj::optim::OptimTask task(const qj::DbrnFile& db) {
  qj::optim::OptimTask t;
  t.code = "BENCH1";
  qj::TaskHeader& h = t.header;
  h.language = "eng";
  h.code = t.code;
  h.dbKind = "cli2";
  h.dbCode = db.header.dbCode;
  h.sectionCount = db.header.sectionCount;
  h.startPoint = 1;
  h.finePerKm = 1;
  h.finePerHour = 10;
  h.approachSpeed = 15;
  const size_t step = db.houses.size() / 10;
  for (size_t k = 0; k < 10; ++k) {
    size_t i = k * step;
    while (db.houses[i].links.size() != 1) ++i;
    qj::TaskPointRec p;
    p.streetType = db.streets[db.houses[i].streetIndex].streetType;
    p.street = db.streets[db.houses[i].streetIndex].name;
    p.house = db.houses[i].houseNo;
    p.houseIndex = static_cast<int32_t>(i);
    t.points.push_back(p);
  }
  h.pointCount = 10;
  qj::optim::fillPointArrays(t);
  return t;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "qj-bench-client";
  fs::create_directories(folder);
  const qj::DbrnFile city = qj::largeCity(2, "eng");
  const fs::path path = folder / qj::dbrnFileName(city.header.dbCode, "sys2", "eng");
  qj::writeFileAtomic(path, qj::writeDbrn(city));

  qj::ShellTables texts;
  texts.shellTexts.resize(1200, "text");
  double bestRead = 1e9, bestGraph = 1e9, bestLines = 1e9;
  size_t arcs = 0, lines = 0;
  for (int run = 0; run < 10; ++run) {
    qj::optim::OptimTask t = task(city);
    auto start = std::chrono::steady_clock::now();
    qj::optim::SystemDatabase system = qj::optim::readSystemDatabase(t, path);
    bestRead = std::min(bestRead, millisSince(start));
    if (!system.db) {
      std::fprintf(stderr, "the system database was refused\n");
      return 1;
    }
    qj::optim::SilentProgress progress;
    start = std::chrono::steady_clock::now();
    qj::optim::loadRoadNetworkTask(t, *system.db, progress);
    bestGraph = std::min(bestGraph, millisSince(start));
    arcs = t.graph.arcCount();

    // A route through every section once, then every point served.
    std::vector<qj::RouteStep> steps;
    for (int32_t s = 0; s < t.sectionCount(); ++s) steps.push_back({s, 0.001});
    for (int32_t p = 0; p < 10; ++p) steps.push_back({t.sectionCount() + p, 0.01});
    start = std::chrono::steady_clock::now();
    const auto d = qj::optim::buildRouteDescription(t, steps, {}, *system.db, texts, ',');
    bestLines = std::min(bestLines, millisSince(start));
    lines = d.lines.size();
  }
  std::printf(
      "%d sections, %d houses: read and check %.2f ms, graph %.2f ms (%zu arcs), "
      "%zu route lines %.2f ms (best of 10)\n",
      city.header.sectionCount, city.header.houseCount, bestRead, bestGraph, arcs, lines,
      bestLines);
  fs::remove(path);
  fs::remove(folder);
  return 0;
}
