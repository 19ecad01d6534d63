#pragma once
// The solution file qj_<code>_out.dat: the outcome of one task, solved or not. A header of
// 488 bytes, then either the route steps and the loading times at the start point (a task on
// its own graph), or the route description lines (a solved client-addition task). The file
// does not say which body it holds: the reader takes the database kind from the task files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

inline constexpr size_t kSolutionHeaderSize = 488;
inline constexpr size_t kRouteStepSize = 16;
inline constexpr size_t kRouteLineSize = 190;

struct SolutionHeader {
  std::string infoText1, infoText2, infoText3;  // 40 each
  std::string elapsedText;                      // 40
  std::string finalMessage;                     // 255; 255 blanks when every pass completed
  int32_t checkInterval = 0;
  int32_t iterationLimit = 0;
  int32_t solutionFound = 0;  // 1 solved, 0 failed check or final pass, -k pair pass failed
  int32_t iterationsDone = 0;
  double finishTime = 0;  // fraction of a day
  double finishDate = 0;  // whole days since 1899-12-30
  double relaxationCoef = 0;
  double stopCriterion = 0;
  int32_t stateCount = 0;
  int32_t routeStepCount = 0;
  double objective = 0;
  bool operator==(const SolutionHeader&) const = default;
};

// Route codes, with N points and A sections: -N..-1 point refused; below -N point deferred;
// 0..A-1 section driven; A and above point served.
struct RouteStep {
  int32_t code = 0;
  double hours = 0;
  bool operator==(const RouteStep&) const = default;
};

struct RouteLine {
  std::string rowNo;         // 4
  std::string pointNo;       // 8
  std::string address;       // 40
  std::string arrivalTime;   // 20
  std::string serviceStart;  // 20
  std::string serviceEnd;    // 20
  std::string sectionName;   // 50
  std::string turnText;      // 14
  std::string endNode;       // 5
  bool operator==(const RouteLine&) const = default;
};

enum class SolutionBody {
  None,         // the header only
  Route,        // route steps and start-point loading times (a task on its own graph)
  Description,  // route cost and description lines (a solved client-addition task)
};

struct SolutionFile {
  SolutionHeader header;
  SolutionBody body = SolutionBody::None;
  std::vector<RouteStep> steps;
  std::vector<double> startServiceTimes;  // minutes
  double routeCostTotal = 0;
  std::vector<RouteLine> lines;
  bool operator==(const SolutionFile&) const = default;
};

// The body a task's file carries: a client-addition task has its description only when
// solved; a task on its own graph has its route unless it has neither sections nor points.
SolutionBody solutionBodyFor(bool clientAddition, int32_t solutionFound, int64_t sectionCount,
                             int64_t pointCount);

// The file's bytes. For a route body the header's RouteStepCount is the number of steps.
std::string writeSolutionFile(const SolutionFile& file);

struct SolutionRead {
  std::optional<SolutionFile> file;
  std::string error;  // English, when the file is refused
};
// Reads a solution file of a client-addition task or of a task on its own graph. Every count
// is checked against the bytes present. A task file on its own graph that ends right after
// its header is read as having no route.
SolutionRead readSolutionFile(std::string_view bytes, bool clientAddition);

}  // namespace qj
