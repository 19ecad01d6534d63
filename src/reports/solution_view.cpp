#include "reports/solution_view.h"

#include "reports/viewer_files.h"

namespace qj {
namespace {

// A solved task on its own graph: its route is shown with the database's streets and turns.
bool showsOwnRoute(int dbLevel, const SolutionHeader& s) {
  return dbLevel < 3 && s.solutionFound > 0;
}

// The blanks inside a turn's brackets ("( parking )") do not break: the grid and the report
// wrap the brackets and their word as one.
void keepBracketsTogether(GridTable& route) {
  constexpr char kNoBreakBlank = '\xA0';  // code page 1251
  for (int row = 0; row < route.rows(); ++row) {
    std::string turn = route.cell(row, kRouteTurn);
    for (size_t at = 0; (at = turn.find("( ", at)) != std::string::npos;)
      turn[++at] = kNoBreakBlank;
    for (size_t at = 0; (at = turn.find(" )", at)) != std::string::npos;) turn[at] = kNoBreakBlank;
    route.set(row, kRouteTurn, turn);
  }
}

}  // namespace

SolutionView makeSolutionView(const TaskFile& task, const SolutionFile& solution,
                              const DbrnFile* db, std::string_view langCode,
                              const ShellTables& texts, char sep) {
  SolutionView view;
  view.header = task.header;
  view.dbLevel = dbLevel(task.header.dbKind);
  view.solution = solution.header;
  view.caption = solutionCaption(task.header, texts);
  view.parameterTitles = parameterListTitles(texts);
  if (solution.header.solutionFound <= 0) {
    view.route = emptyRouteRows();
  } else if (view.dbLevel == 3) {
    view.route = routeLineRows(solution.lines);
    view.routeCost = solution.routeCostTotal;
  } else {
    RouteRows rows = buildRouteRows(task.header, task.points, solution.steps,
                                    solution.startServiceTimes, *db, texts, sep);
    view.route = std::move(rows.table);
    view.routeCost = rows.cost;
  }
  keepBracketsTogether(view.route);
  view.parameters = solutionParameters(task.header, view.dbLevel, solution.header, view.routeCost,
                                       langCode, texts, sep);
  return view;
}

SolutionViewLoad loadSolutionView(const AppState& state, char sep) {
  SolutionViewLoad result;
  ViewerRead<TaskFile> task = readViewedTask(state);
  if (!task.value) {
    result.message = task.message;
    return result;
  }
  const TaskHeader& h = task.value->header;
  ViewerRead<SolutionFile> solution = readViewedSolution(state, h);
  if (!solution.value) {
    result.message = solution.message;
    return result;
  }
  // The database gives the route its streets and turns; a solution without a route is shown
  // even when its database has gone since.
  std::optional<DbrnFile> db;
  if (showsOwnRoute(dbLevel(h.dbKind), solution.value->header)) {
    ViewerRead<DbrnFile> read = readViewedDatabase(state, h);
    if (!read.value) {
      result.message = read.message;
      return result;
    }
    db = std::move(read.value);
    const SolutionFile& s = *solution.value;
    const std::string solutionName = viewerFileName(state.dirs(), solutionPath(state.dirs(), h));
    switch (checkRoute(h, task.value->points, s.steps, s.startServiceTimes, *db)) {
      case RouteFault::None: break;
      case RouteFault::PointBeyondTask:
        result.message = solutionFileMessage(solutionName, ViewerFault::RoutePoint);
        return result;
      case RouteFault::TimeNotANumber:
        result.message = solutionFileMessage(solutionName, ViewerFault::RouteTime);
        return result;
      case RouteFault::SectionBeyondDatabase:
        result.message = routeDatabaseMessage(
            solutionName,
            viewerFileName(state.dirs(), databasePath(state.dirs(), h, state.langCode)));
        return result;
    }
  }
  result.view = makeSolutionView(*task.value, *solution.value, db ? &*db : nullptr, state.langCode,
                                 state.texts, sep);
  return result;
}

}  // namespace qj
