#pragma once
// A task on its road network as the solver graph is built from it: the database, the task's
// header and points, the ways onto and off every point, and the graph once built. The task
// wizard's state is one (it derives from it); the optimiser makes one for a client-addition
// task on its system database.

#include <array>
#include <cstdint>
#include <vector>

#include "records/dbrn_file.h"
#include "records/task_file.h"

namespace qj {

// Kinds of the level-1 transitions (at level 2 a positive kind is the 1-based section number).
inline constexpr int32_t kToOwnSection = 1;        // to the point, from its own section
inline constexpr int32_t kToReverseSection = 2;    // to the point, from its reverse section
inline constexpr int32_t kFromOwnSection = 3;      // from the point to the end of its section
inline constexpr int32_t kFromReverseSection = 4;  // ... to the end of its reverse section
// From a point straight to point k (0-based); the same kind at level 2.
constexpr int32_t toPointKind(int k) {
  return -(k + 1);
}

// One transit section as a vertex of the solver graph (memory only).
struct SectionVertexRec {
  double time = 0;  // hours
  double cost = 0;
  int32_t pointsOnSection = 0;
  int32_t successorCount = 0;  // 0..10
  int32_t arcCount = 0;
  std::array<int32_t, 10> successors{};
};

// The to- or from-transitions of every point.
using TransitionLists = std::vector<std::vector<TransitionRec>>;

struct RouteTask {
  DbrnFile db;
  TaskHeader header;
  std::vector<TaskPointRec> points;
  TransitionLists toTransitions, fromTransitions;

  // The solver graph: sections 0..M-1, then the points; arcs per vertex.
  std::vector<SectionVertexRec> sectionVertices;
  std::vector<std::vector<TaskArc>> arcs;

  int32_t pointCount() const { return header.pointCount; }
  bool isStartPoint(int i) const { return i + 1 == header.startPoint; }
  bool isEndPoint(int i) const { return i + 1 == header.endPoint; }
};

// Service duration of a point: its service time, or its unloading time in a cargo task.
double serviceDuration(const TaskHeader& header, const TaskPointRec& point);

// Metres and km/h of a section as stored (0 when its text holds no number).
double sectionLength(const TransitSectionRec& s);
double sectionSpeed(const TransitSectionRec& s);

}  // namespace qj
