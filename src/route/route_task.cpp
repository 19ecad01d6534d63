#include "route/route_task.h"

namespace qj {

double serviceDuration(const TaskHeader& header, const TaskPointRec& point) {
  return header.cargoMode == 0 ? point.serviceTime : point.unloadTime;
}

}  // namespace qj
