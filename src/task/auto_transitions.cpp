#include "task/auto_transitions.h"

#include "route/house_transitions.h"
#include "route/solver_graph.h"
#include "task/transition_grid.h"
#include "text/message.h"

namespace qj {
namespace {

// The route must be able to leave the start point, reach the end point, and both reach and
// leave every point whose service may not be refused.
int unusablePoint(const TaskWizardState& st) {
  for (int i = 0; i < static_cast<int>(st.points.size()); ++i) {
    const bool noWayIn = st.toTransitions[i].empty(), noWayOut = st.fromTransitions[i].empty();
    const bool start = st.isStartPoint(i), end = st.isEndPoint(i);
    const bool refusable = st.header.refusalFlag != 0 && st.points[i].refusalAllowed != 0;
    if ((start && noWayOut) || (end && noWayIn) ||
        (!start && !end && !refusable && (noWayIn || noWayOut)))
      return i;
  }
  return -1;
}

}  // namespace

StepCheck autoTransitions(TaskWizardState& st) {
  resizePointLists(st);
  houseTransitions(st);
  if (const int i = unusablePoint(st); i >= 0)
    return StepCheck::refuse(
        warningMessage(shell(154).trimmed() + " " + num(i + 1) + " " + shell(184) + "."), "Table1",
        i);
  buildSolverGraph(st);
  st.transitionsEntered = 1;
  return StepCheck::ok();
}

}  // namespace qj
