#pragma once
// The transitions of a task on a level-2 network come from the database, not from the user:
// every link of a point's house to a transit section gives ways onto and off that section and
// its reverse section, and ways straight to the other points along the same sections or in
// the same yard.

#include "route/route_task.h"

namespace qj {

// The to- and from-lists of every point from its house's links on the network of `task.db`,
// priced at the approach speed, and each point's section and reverse section when its house
// has one link (else none). Serves a level-2 task and a client-addition task on its system
// database alike. A house index outside the houses gives its point no transitions.
void houseTransitions(RouteTask& task);

}  // namespace qj
