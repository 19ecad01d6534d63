#pragma once
// A task at houses of the test town's level-2 database, as a client-addition task file
// leaves it: addresses and house indices, no sections; no options but the start point.

#include <vector>

#include "optimiser/task_data.h"
#include "support/town.h"

namespace qj::optim::test {

inline OptimTask townHouseTask(const std::vector<int32_t>& houses, const char* kind = "cli2") {
  const DbrnFile db = qj::test::smallTown("sys2");
  OptimTask task;
  task.code = "CLI001";
  task.header = qj::test::townTask(kind).header;
  TaskHeader& h = task.header;
  h.code = task.code;
  h.pointCount = static_cast<int32_t>(houses.size());
  h.endPoint = 0;
  h.refusalFlag = h.timeFactorFlag = h.cargoMode = h.returnFlag = 0;
  for (int32_t house : houses) {
    const HouseRec& rec = db.houses[house];
    TaskPointRec p;
    p.streetType = db.streets[rec.streetIndex].streetType;
    p.street = db.streets[rec.streetIndex].name;
    p.house = rec.houseNo;
    p.houseIndex = house;
    p.vertexNo = h.sectionCount + static_cast<int32_t>(task.points.size());
    p.serviceTime = 3;
    task.points.push_back(p);
  }
  fillPointArrays(task);
  return task;
}

}  // namespace qj::optim::test
