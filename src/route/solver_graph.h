#pragma once
// The solver graph of a task: one vertex per transit section (0..M-1) and one per target point
// (M + point index). A section leads to the sections its turns allow and, where points can be
// entered from a successor section, to those points; a point leads to the sections and points
// its from-transitions name. Arcs carry hours and money. The optimiser reads the graph from the
// solver input file.

#include <cstdint>

#include "records/task_file.h"
#include "route/route_task.h"

namespace qj {

// Hours and money of a transition at its distance (metres) and speed (km/h).
void priceTransition(TransitionRec& t, const TaskHeader& header);
// Prices every to- and from-transition of the task.
void priceTransitions(RouteTask& state);

// The section (0-based) a to-transition of `point` starts on, -1 when it names none. Level 1:
// kind 1 the point's section, kind 2 its reverse section; level 2 (and a client-addition task
// on its system database): the kind is the 1-based section number.
int32_t toTransitionSection(const RouteTask& state, int point, const TransitionRec& t);
// The vertex a from-transition of `point` leads to, -1 when it names none: a section (level 1
// kinds 3 and 4, level 2 and client-addition positive kinds) or M + k for kind -(k+1).
int32_t fromTransitionTarget(const RouteTask& state, int point, const TransitionRec& t);

// Builds `sectionVertices` and `arcs` from the database's sections and turns and the priced
// transitions. The first section from a turn's end node to its node is the turn's successor
// (a closed one gives none). Every from-transition becomes one arc of its point, so a point's
// arc count is its FromCount.
void buildSolverGraph(RouteTask& state);

// What SaveTaskFiles writes into qj_<code>_in.dat: header, points and, below level 3, the arc
// counts of the M + N vertices followed by their arcs. The counts are those of the arcs
// written; a graph that disagrees with its counts is a programming error (std::logic_error).
SolverInput solverInputOf(const RouteTask& state);

}  // namespace qj
