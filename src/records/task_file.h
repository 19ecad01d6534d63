#pragma once
// The two files of a route task: the task file qj_<code>.dat (the re-editable input) and
// the solver input qj_<code>_in.dat (the same header and points plus the section graph).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/bytes.h"

namespace qj {

inline constexpr size_t kTaskHeaderSize = 320;
inline constexpr size_t kTaskPointSize = 128;
inline constexpr size_t kTransitionSize = 20;
inline constexpr size_t kTaskArcSize = 24;
inline constexpr size_t kShellNameTrailerSize = 25;

// The longest task, solver input or solution file that is read: a solver input of 10000
// sections and 10 points needs a few megabytes, so anything near this is damaged. Read, a
// file takes up to four times its length (a solution's description lines the most).
inline constexpr uint64_t kMaxTaskFileBytes = 64ull << 20;

// CargoMode: what the vehicle's capacity counts.
enum CargoMode : int32_t { kNoCargo = 0, kCargoByVolume = 1, kCargoByWeight = 2 };
// OrderMode: the visiting-order variant; a point's OrderValue is the point to visit next, the
// point to be passed after, or the point's priority class.
enum OrderMode : int32_t {
  kNoOrder = 0,
  kNextPointGiven = 1,
  kPassedAfterPoint = 2,
  kPriorityClasses = 3
};

struct TaskHeader {
  std::string language;  // 3
  std::string code;      // 6
  std::string name;      // 70
  std::string dbKind;    // 4: sys1, use1, sys2, use2, cli2
  std::string dbCode;    // 3
  std::string dbName;    // 70
  std::string dbDate;    // 40
  int32_t sectionCount = 0;
  int32_t pointCount = 0;
  int32_t startPoint = 0;  // 1-based
  int32_t endPoint = 0;    // 1-based, 0 = none
  std::string moneyUnit;   // 20
  double finePerKm = 0, finePerHour = 0, approachSpeed = 0;
  int32_t refusalFlag = 0;
  int32_t servedThreshold = 0;
  int32_t timeFactorFlag = 0;
  int32_t tactMinutes = 0;
  int32_t cargoMode = 0;
  double capacity = 0;
  int32_t returnFlag = 0;
  int32_t orderMode = 0;
  int32_t priorityCount = 0;
  int32_t stateCount2 = 0;
  bool operator==(const TaskHeader&) const = default;
};

struct TaskPointRec {
  std::string streetType;                                   // 4
  std::string street;                                       // 30
  std::string house;                                        // 9
  double serviceTime = 0, unloadTime = 0, waitPenalty = 0;  // minutes, minutes, money/hour
  int32_t orderValue = 0;
  int32_t refusalAllowed = 0;
  double volume = 0, income = 0;
  int32_t windowLow = 0, windowHigh = 0;  // minutes from the route start, 0 = none
  int32_t toCount = 0, fromCount = 0;
  int32_t vertexNo = 0;
  int32_t sectionIndex = -1, reverseSectionIndex = -1;
  int32_t houseIndex = 0;
  bool operator==(const TaskPointRec&) const = default;
};

// Kinds of a transition: to-lists 1 (own section), 2 (reverse section); from-lists 3, 4,
// and -(q+1) for point q; level 2 stores the 1-based section number instead.
struct TransitionRec {
  double dist = 0;   // metres
  double speed = 0;  // km/h
  int32_t kind = 0;
  // Computed by the wizard, never stored.
  double time = 0;  // hours
  double cost = 0;
  bool operator==(const TransitionRec&) const = default;
};

struct TaskArc {
  int32_t target = 0;  // a section 0..M-1 or M + point index
  double time = 0;     // hours
  double cost = 0;
  bool operator==(const TaskArc&) const = default;
};

// 1 for sys1/use1, 2 for sys2/use2, 3 for cli2, 0 for anything else.
int dbLevel(std::string_view dbKind);

struct TaskFile {
  TaskHeader header;
  std::vector<TaskPointRec> points;
  std::vector<std::vector<TransitionRec>> toLists, fromLists;  // per point; empty at level 3
};

struct SolverInput {
  TaskHeader header;
  std::vector<TaskPointRec> points;
  std::vector<int32_t> arcCounts;  // M + N entries; empty at level 3
  std::vector<TaskArc> arcs;       // the lists of all vertices in vertex order
  std::string shellNameTrailer;    // the 25 raw trailer bytes
};

// Record layers, shared by the whole-file readers and by readers that check a header
// before they read on.
void writeTaskHeader(ByteWriter& out, const TaskHeader& h);
TaskHeader readTaskHeader(ByteReader& in);
void writeTaskPoint(ByteWriter& out, const TaskPointRec& p);
TaskPointRec readTaskPoint(ByteReader& in);
void writeTransition(ByteWriter& out, const TransitionRec& t);
TransitionRec readTransition(ByteReader& in);
void writeTaskArc(ByteWriter& out, const TaskArc& a);
TaskArc readTaskArc(ByteReader& in);

std::string writeTaskFile(const TaskFile& task);
// The trailer holds the shell file name's length byte and its first 24 characters.
std::string writeSolverInput(const SolverInput& input, std::string_view shellFileName);

// Whole-file readers that check every count against the bytes present. On failure the
// error says what does not fit, in English.
struct TaskFileRead {
  std::optional<TaskFile> task;
  std::string error;
};
TaskFileRead readTaskFile(std::string_view bytes);

struct SolverInputRead {
  std::optional<SolverInput> input;
  std::string error;
};
SolverInputRead readSolverInput(std::string_view bytes);

}  // namespace qj
