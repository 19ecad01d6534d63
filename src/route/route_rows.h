#pragma once
// The rows of a route: one row per route step with the times, the streets and the turns. The
// solution viewer shows them, and the optimiser stores them as the route description of a
// client-addition task.

#include <cstdint>
#include <string_view>
#include <vector>

#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "route/route_texts.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// Columns of the route table. The end node of the row's section is kept beside the eight
// shown columns: the next rows' turn and street texts read it back.
enum RouteColumn : int {
  kRouteRowNo = 0,
  kRoutePoint,         // point number with its visit number
  kRouteAddress,       // the point's address
  kRouteArrival,       // arrival time
  kRouteServiceStart,  // service start
  kRouteServiceEnd,    // service end
  kRouteSection,       // street and house range of the section driven
  kRouteTurn,          // the turn at the end of the row's section
  kRouteEndNode,       // never shown
};
inline constexpr int kRouteColumns = 9;
inline constexpr int kRouteShownColumns = 8;

// The texts that stand in the turn column besides the shell's words.
inline constexpr std::string_view kStraightOnAgain = "   . . .";
inline constexpr std::string_view kSameStreet = "              . . . , ";

// What makes a stored route impossible to show against its task and database.
enum class RouteFault {
  None,
  PointBeyondTask,        // a served point beyond the task's points
  SectionBeyondDatabase,  // a section beyond the database's sections
  TimeNotANumber,         // an infinite or undefined duration
};

// Checks every route step (codes by the route-code convention with the task's section and
// point counts) and the loading times at the start point.
RouteFault checkRoute(const TaskHeader& h, const std::vector<TaskPointRec>& points,
                      const std::vector<RouteStep>& steps,
                      const std::vector<double>& startServiceTimes, const DbrnFile& db);

struct RouteRows {
  GridTable table{kRouteColumns};
  // The cost along the route: the rates per kilometre and per hour of the whole route, plus
  // each served visit's waiting penalty up to the end of its service, minus its income.
  double cost = 0;
};

// The rows of a route on the task's own graph: the start row, then one row per step (a passed
// point beyond the task's points makes none). The route must have passed checkRoute and the
// task's start point must be one of its points. A visit of the start point shows its arrival,
// then its loading, and the route goes on when the loading is done; a visit beyond the stored
// loading times (the arrival at the end of the route) takes none.
RouteRows buildRouteRows(const TaskHeader& h, const std::vector<TaskPointRec>& points,
                         const std::vector<RouteStep>& steps,
                         const std::vector<double>& startServiceTimes, const DbrnFile& db,
                         const ShellTables& texts, char sep);

}  // namespace qj
