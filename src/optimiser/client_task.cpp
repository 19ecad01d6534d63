#include "optimiser/client_task.h"

#include "dbrn/dbrn_io.h"
#include "optimiser/texts.h"
#include "records/text.h"
#include "route/house_transitions.h"
#include "route/route_rows.h"
#include "route/solver_graph.h"

namespace qj::optim {

std::string systemDatabaseName(const TaskHeader& header, std::string_view langCode) {
  return dbrnFileName(header.dbCode, "sys2", langCode);
}

namespace {

// The opening of a refusal of the system database: "<830> "<file>" <1051>: ".
Text notTheTasksNetwork(std::string_view code, std::string_view fileName) {
  return validationHead(code) + shell(830) + " \"" + val(fileName) + "\" " + shell(1051) + ": ";
}

bool numbersReadable(const TransitSectionRec& s) {
  return s.startNodeNumber() && s.endNodeNumber() && s.lengthMetres() && s.speedKmh();
}

// The house at the point's index is the point's address: same street, same number.
bool holdsHouseOf(const DbrnFile& db, const TaskPointRec& p) {
  if (p.houseIndex < 0 || static_cast<size_t>(p.houseIndex) >= db.houses.size()) return false;
  const HouseRec& house = db.houses[static_cast<size_t>(p.houseIndex)];
  const StreetRec& street = db.streets[static_cast<size_t>(house.streetIndex)];
  return trim(house.houseNo) == trim(p.house) && trim(street.name) == trim(p.street) &&
         trim(street.streetType) == trim(p.streetType);
}

std::optional<Text> misfit(const OptimTask& task, const DbrnFile& db, std::string_view fileName) {
  const Text head = notTheTasksNetwork(task.code, fileName);
  if (db.level() != 2) return head + shell(1052) + ".";
  const int64_t m = task.sectionCount();
  if (static_cast<int64_t>(db.sections.size()) != m)
    return head + shell(1053) + " (" + num(static_cast<int64_t>(db.sections.size())) + ", " +
           num(m) + ").";
  for (size_t s = 0; s < db.sections.size(); ++s)
    if (!numbersReadable(db.sections[s]))
      return head + shell(1055) + " " + num(static_cast<int64_t>(s) + 1) + ".";
  for (size_t i = 0; i < task.points.size(); ++i)
    if (!holdsHouseOf(db, task.points[i]))
      return head + shell(1054) + " " + num(static_cast<int64_t>(i) + 1) + ".";
  return std::nullopt;
}

}  // namespace

SystemDatabase readSystemDatabase(const OptimTask& task, const std::filesystem::path& path) {
  SystemDatabase result;
  const std::string fileName = path.filename().string();
  DbrnRead read = readDbrnFile(path);
  if (!read.db) {
    result.failure = validationHead(task.code) + dbrnReadFailure(fileName, read.error);
    return result;
  }
  result.failure = misfit(task, *read.db, fileName);
  if (!result.failure) result.db = std::move(read.db);
  return result;
}

void loadRoadNetworkTask(OptimTask& task, DbrnFile& system, RunProgress& progress) {
  progress.setText(RunLabel::Busy, shell(118) + " ...");
  progress.setBusyVisible(true);
  // The wizard's own graph of a task whose points stand at houses: the same placement, the
  // same transitions and the same arcs as a level-2 task entered on the system database.
  RouteTask st;
  st.header = task.header;
  st.points = task.points;
  st.db = std::move(system);
  houseTransitions(st);
  buildSolverGraph(st);
  system = std::move(st.db);

  task.points = std::move(st.points);
  std::vector<int32_t> counts;
  std::vector<Arc> arcs;
  counts.reserve(st.arcs.size());
  for (const std::vector<TaskArc>& list : st.arcs) {
    counts.push_back(static_cast<int32_t>(list.size()));
    for (const TaskArc& a : list) arcs.push_back({a.target, a.time, a.cost});
  }
  task.graph = Graph(counts, std::move(arcs));
  fillPointArrays(task);
  progress.setBusyVisible(false);
}

namespace {

RouteLine lineOf(const GridTable& t, int r) {
  const auto field = [&](int col, size_t width) { return cut(t.cell(r, col), width); };
  return {field(kRouteRowNo, 4),    field(kRoutePoint, 8),         field(kRouteAddress, 40),
          field(kRouteArrival, 20), field(kRouteServiceStart, 20), field(kRouteServiceEnd, 20),
          field(kRouteSection, 50), field(kRouteTurn, 14),         field(kRouteEndNode, 5)};
}

}  // namespace

RouteDescription buildRouteDescription(const OptimTask& task, const std::vector<RouteStep>& steps,
                                       const std::vector<double>& startServiceTimes,
                                       const DbrnFile& system, const ShellTables& texts,
                                       char decimalSeparator) {
  const RouteRows rows = buildRouteRows(task.header, task.points, steps, startServiceTimes, system,
                                        texts, decimalSeparator);
  RouteDescription d;
  d.routeCostTotal = rows.cost;
  d.lines.reserve(static_cast<size_t>(rows.table.rows()));
  for (int r = 0; r < rows.table.rows(); ++r) d.lines.push_back(lineOf(rows.table, r));
  return d;
}

}  // namespace qj::optim
