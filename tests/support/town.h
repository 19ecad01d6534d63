#pragma once
// The town of the tests: a small road network at every level, its delivery task and the
// solution the optimiser writes for it, built in code. Tests that need another shape change a
// copy of it rather than draw a town of their own.
//
//                       6
//                 s8 ^  | (ave. Elm, one way to 6)
//                       |
//   1 --s0--> 2 --s1--> 3 --s2--> 4        st. Main, two ways:
//   1 <--s5-- 2 <--s4-- 3 <--s3-- 4          s0..s2 eastbound, s3..s5 westbound
//                       |  `
//                 s6 v ^ s7  ` s9 (ln. Birch, one way to 7)
//                       |      `
//                       5       7
//                  (st. Oak, two ways)
//
// Driving east on s1 into node 3 the turns are, in list order: right to 7, left to 6, right
// to 5, straight on to 4 and back to 2, so Oak street is the second right turn.
//
// Points: 1 (start) st. Main 3 on s0; 2 st. Main 25 on s2, its window opens at 30 min;
// 3 (end) st. Oak 4 on s6; 4 ave. Elm 5 on s8, which may be refused. A cargo task with
// returns: the vehicle loads 10 minutes, serves point 2 (waiting for its window), refuses
// point 4, defers point 3, drives back for 4 more minutes of loading and serves point 3.

#include <string>
#include <vector>

#include "records/dbrn_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"

namespace qj::test {

inline TransitSectionRec townSection(int32_t street, const char* from, const char* to,
                                     const char* a, const char* b, const char* length,
                                     std::vector<TurnRec> turns) {
  TransitSectionRec s;
  s.streetIndex = street;
  s.houseFrom = from;
  s.houseTo = to;
  s.startNode = a;
  s.endNode = b;
  s.length = length;
  s.speed = "40";
  s.turns = std::move(turns);
  return s;
}

inline DbrnFile smallTown(const char* kind = "use1") {
  DbrnFile db;
  db.header.language = "eng";
  db.header.dbCode = "123";
  db.header.dbName = "Small town";
  db.header.dbKind = kind;
  db.header.nodeCount = 7;
  db.header.dbDate = "06.12.2026";
  db.streetTypes = {{"street", "st.", 2}, {"avenue", "ave.", 1}, {"lane", "ln.", 1}};
  db.streets = {{"st.", "Main", "3", 0},
                {"st.", "Oak", "3", 1},
                {"ave.", "Elm", "3", 2},
                {"ln.", "Birch", "3", 3}};
  db.sections = {
      townSection(0, "1", "9", "1", "2", "250", {{"3", "^"}, {"1", "v"}}),  // s0
      townSection(0, "11", "19", "2", "3", "250",                           // s1
                  {{"7", ">"}, {"6", "<"}, {"5", ">"}, {"4", "^"}, {"2", "v"}}),
      townSection(0, "21", "29", "3", "4", "300", {{"3", "v"}}),  // s2
      townSection(0, "30", "22", "4", "3", "300",                 // s3
                  {{"2", "^"}, {"5", "<"}, {"6", ">"}, {"4", "v"}}),
      townSection(0, "20", "12", "3", "2", "250", {{"1", "^"}, {"3", "v"}}),            // s4
      townSection(0, "10", "2", "2", "1", "250", {{"2", "v"}}),                         // s5
      townSection(1, "1", "7", "3", "5", "200", {{"3", "v"}}),                          // s6
      townSection(1, "8", "2", "5", "3", "200", {{"2", "<"}, {"4", ">"}, {"5", "v"}}),  // s7
      townSection(2, "1", "9", "3", "6", "150", {}),                                    // s8
      townSection(3, "1", "5", "3", "7", "120", {}),                                    // s9
  };
  db.sections[9].nonStdNumbering = "*";
  // Level 2: houses of Main and Oak, one in a yard reached from two sections; level 3 (a
  // client database) keeps the houses without sections.
  if (dbLevel(kind) >= 2) {
    db.streetHouseCounts = {3, 1, 0, 0};
    db.houses = {{0, "3", 0, {{1, 0, 80}}},
                 {0, "5\xE0", 1, {{1, 25, 60}, {2, 30, 10}}},
                 {0, "25", 0, {{3, 10, 40}}},
                 {1, "4", 0, {{7, 0, 50}}}};
    if (dbLevel(kind) == 3) {
      db.sections.clear();
      for (auto& h : db.houses) {
        h.yardNo = 0;
        h.links.clear();
      }
    }
  }
  db.syncHeaderCounts();
  return db;
}

inline TaskPointRec townPoint(const char* type, const char* street, const char* house,
                              int32_t section, int32_t reverse) {
  TaskPointRec p;
  p.streetType = type;
  p.street = street;
  p.house = house;
  p.sectionIndex = section;
  p.reverseSectionIndex = reverse;
  return p;
}

inline TaskFile townTask(const char* kind = "use1") {
  TaskFile t;
  TaskHeader& h = t.header;
  h.language = "eng";
  h.code = "TOWN01";
  h.name = "Morning round";
  h.dbKind = kind;
  h.dbCode = "123";
  h.dbName = "Small town";
  h.dbDate = "06.12.2026";
  h.sectionCount = 10;
  h.pointCount = 4;
  h.startPoint = 1;
  h.endPoint = 3;
  h.moneyUnit = "EUR";
  h.finePerKm = 2;
  h.finePerHour = 12;
  h.approachSpeed = 5;
  h.refusalFlag = 1;
  h.servedThreshold = -3;
  h.timeFactorFlag = 1;
  h.tactMinutes = 5;
  h.cargoMode = 1;
  h.capacity = 2.5;
  h.returnFlag = 1;
  h.orderMode = 0;
  h.stateCount2 = 1234;
  t.points = {townPoint("st.", "Main", "3", 0, 5), townPoint("st.", "Main", "25", 2, 3),
              townPoint("st.", "Oak", "4", 6, 7), townPoint("ave.", "Elm", "5", 8, -1)};
  t.points[0].serviceTime = 4;
  t.points[1].serviceTime = 3;
  t.points[1].unloadTime = 5;
  t.points[1].waitPenalty = 2;
  t.points[1].income = 50;
  t.points[1].volume = 1.5;
  t.points[1].windowLow = 30;
  t.points[1].windowHigh = 60;
  t.points[2].serviceTime = 1;
  t.points[2].unloadTime = 6;
  t.points[2].income = 40;
  t.points[2].volume = 0.5;
  t.points[3].unloadTime = 2;
  t.points[3].refusalAllowed = 1;
  t.points[3].income = 30;
  for (int32_t i = 0; i < 4; ++i) t.points[i].vertexNo = 10 + i;
  if (dbLevel(kind) < 3) {
    t.toLists.resize(4);
    t.fromLists.resize(4);
    for (int32_t i = 0; i < 4; ++i) {
      t.toLists[i] = {{40.0 + i, 5, 1}};
      if (t.points[i].reverseSectionIndex >= 0) t.toLists[i].push_back({60.5, 5, 2});
      t.fromLists[i] = {{210, 5, 3}};
    }
    t.fromLists[1].push_back({100, 5, -3});
    t.fromLists[1].push_back({45, 5, 4});
    for (int32_t i = 0; i < 4; ++i) {
      t.points[i].toCount = static_cast<int32_t>(t.toLists[i].size());
      t.points[i].fromCount = static_cast<int32_t>(t.fromLists[i].size());
    }
  }
  return t;
}

// Route codes: sections 0..9, point p served as 10 + p - 1, refused as -p, deferred as -(4 + p).
inline std::vector<RouteStep> townRoute() {
  return {{0, 0.05}, {1, 0.05}, {11, 0.1},  {-4, 0},   {-7, 0},   {2, 0.06},
          {3, 0.06}, {4, 0.05}, {10, 0.02}, {0, 0.05}, {1, 0.05}, {12, 0.15}};
}

inline SolutionFile townSolution() {
  SolutionFile s;
  s.header.infoText1 = "Route planning office";
  s.header.infoText2 = "Small town";
  s.header.infoText3 = "Demo";
  s.header.elapsedText = "0:00:02";
  s.header.finalMessage = std::string(255, ' ');
  s.header.checkInterval = 10;
  s.header.iterationLimit = 5000;
  s.header.solutionFound = 1;
  s.header.iterationsDone = 120;
  s.header.relaxationCoef = 0.9;
  s.header.stopCriterion = 0.003;
  s.header.stateCount = 321;
  s.header.objective = -18.5;
  s.body = SolutionBody::Route;
  s.steps = townRoute();
  s.header.routeStepCount = static_cast<int32_t>(s.steps.size());
  s.startServiceTimes = {10, 4};
  return s;
}

}  // namespace qj::test
