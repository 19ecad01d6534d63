#pragma once
// A task at houses of the demo city's level-2 database, as the task wizard enters it on the
// system database or on its client addition.

#include <string>
#include <vector>

#include "records/dbrn_file.h"
#include "records/task_file.h"

namespace qj::optim::test {

// `count` houses, every 40th of those that leave their yard by one open section (the first
// included), with five minutes of service each.
inline std::vector<TaskPointRec> demoCityPoints(const DbrnFile& db, size_t count = 3) {
  std::vector<TaskPointRec> points;
  int skip = 0;
  for (size_t h = 0; h < db.houses.size() && points.size() < count; ++h) {
    const HouseRec& house = db.houses[h];
    if (house.links.size() != 1 || house.yardNo != 0) continue;
    const TransitSectionRec& s = db.sections[house.links[0].sectionNo - 1];
    if (s.isClosed() || s.areReverseObjectsClosed() || skip++ % 40 != 0) continue;
    TaskPointRec p;
    p.streetType = db.streets[house.streetIndex].streetType;
    p.street = db.streets[house.streetIndex].name;
    p.house = house.houseNo;
    p.houseIndex = static_cast<int32_t>(h);
    p.serviceTime = 5;
    points.push_back(p);
  }
  return points;
}

// A task of `kind` (sys2 or cli2) on database 002 at the given points: start at the first,
// end at the last, 1 per km, 10 per hour, 15 km/h to and from the points.
inline TaskHeader demoCityHeader(const std::string& code, const std::string& kind,
                                 const DbrnFile& db, const std::vector<TaskPointRec>& points) {
  TaskHeader h;
  h.language = "eng";
  h.code = code;
  h.name = "Round of " + code;
  h.dbKind = kind;
  h.dbCode = db.header.dbCode;
  h.dbName = db.header.dbName;
  h.sectionCount = db.header.sectionCount;
  h.pointCount = static_cast<int32_t>(points.size());
  h.startPoint = 1;
  h.endPoint = h.pointCount;
  h.moneyUnit = "EUR";
  h.finePerKm = 1;
  h.finePerHour = 10;
  h.approachSpeed = 15;
  return h;
}

}  // namespace qj::optim::test
