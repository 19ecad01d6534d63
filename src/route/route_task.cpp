#include "route/route_task.h"

namespace qj {

double serviceDuration(const TaskHeader& header, const TaskPointRec& point) {
  return header.cargoMode == kNoCargo ? point.serviceTime : point.unloadTime;
}

double sectionLength(const TransitSectionRec& s) {
  return s.lengthMetres().value_or(0);
}

double sectionSpeed(const TransitSectionRec& s) {
  return s.speedKmh().value_or(0);
}

}  // namespace qj
