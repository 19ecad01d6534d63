#pragma once
// Small road networks and task-wizard states built in code for the tests of placement,
// transitions and the solver graph.
//
// The network every test starts from (nodes in brackets, sections 0-based, 1-based numbers
// in the database are one higher):
//
//            S0 ->   (houses 1-9)          S2 ->   (houses 11-19)
//     [1] ==================== [2] ========================== [3]
//            <- S1   (houses 10-2)   ||     <- S3  (houses 20-12)
//                                    || S4 closed, S6 open (2->4), S5 (4->2)
//                                   [4]
//
//   S0 1->2 Main  1-9    100 m 40 km/h  turns to 3, 1, 4
//   S1 2->1 Main  10-2   100 m 40 km/h  turns to 2
//   S2 2->3 Main  11-19  200 m 40 km/h  turns to 2
//   S3 3->2 Main  20-12  200 m 80 km/h  turns to 1
//   S4 2->4 Side  closed  50 m 50 km/h  turns to 2
//   S5 4->2 Side          50 m 50 km/h  turns to 1, 3
//   S6 2->4 Side          50 m 50 km/h  turns to 2
//
// S0's turn to node 4 meets the closed S4 first, so S0 has no successor towards node 4 even
// though S6 runs the same way.

#include <initializer_list>
#include <string>
#include <vector>

#include "records/dbrn_file.h"
#include "records/numbers.h"
#include "records/text.h"
#include "task/wizard_state.h"

namespace qj::test {

inline std::string padded(int node) {
  return padLeft(std::to_string(node), 5, '0');
}

class NetworkBuilder {
 public:
  explicit NetworkBuilder(const char* kind = "use1") {
    db.header.dbKind = kind;
    db.header.dbCode = "042";
    db.header.dbName = "Test city";
    db.header.language = "eng";
    db.streetTypes.push_back({"street", "st", 0});
  }

  int street(const std::string& name) {
    for (size_t k = 0; k < db.streets.size(); ++k)
      if (db.streets[k].name == name) return static_cast<int>(k);
    db.streets.push_back({"st", name, "3", static_cast<int32_t>(db.streets.size())});
    ++db.streetTypes[0].streetCount;
    return static_cast<int>(db.streets.size()) - 1;
  }

  TransitSectionRec& section(const std::string& streetName, int from, int to,
                             const std::string& houseFrom, const std::string& houseTo,
                             double length, double speed, std::initializer_list<int> turns) {
    TransitSectionRec s;
    s.streetIndex = street(streetName);
    s.houseFrom = houseFrom;
    s.houseTo = houseTo;
    s.startNode = padded(from);
    s.endNode = padded(to);
    s.length = formatReal(length, '.');
    s.speed = formatReal(speed, '.');
    for (int node : turns) s.turns.push_back({padded(node), "^"});
    db.sections.push_back(s);
    return db.sections.back();
  }

  DbrnFile finish() {
    db.syncHeaderCounts();
    db.header.nodeCount = 4;
    return db;
  }

  DbrnFile db;
};

inline NetworkBuilder mainNetwork(const char* kind = "use1") {
  NetworkBuilder b(kind);
  b.section("Main", 1, 2, "1", "9", 100, 40, {3, 1, 4});
  b.section("Main", 2, 1, "10", "2", 100, 40, {2});
  b.section("Main", 2, 3, "11", "19", 200, 40, {2});
  b.section("Main", 3, 2, "20", "12", 200, 80, {1});
  b.section("Side", 2, 4, " ", " ", 50, 50, {2}).closed = "*";
  b.section("Side", 4, 2, " ", " ", 50, 50, {1, 3});
  b.section("Side", 2, 4, " ", " ", 50, 50, {2});
  return b;
}

struct PointSpec {
  std::string street;
  std::string house;
  double serviceMinutes = 0;
};

// A level-1 task on `db` with rates of 2 per km and 10 per hour and an approach speed of 5 km/h,
// start point 1, no end point; the points as given.
inline TaskWizardState level1Task(DbrnFile db, std::initializer_list<PointSpec> points) {
  TaskWizardState st;
  st.decSep = ',';
  st.dbLevel = db.level();
  st.header.language = "eng";
  st.header.code = "TASK01";
  st.header.name = "Test task";
  st.header.dbKind = db.header.dbKind;
  st.header.dbCode = db.header.dbCode;
  st.header.dbName = db.header.dbName;
  st.header.sectionCount = db.header.sectionCount;
  st.header.pointCount = static_cast<int32_t>(points.size());
  st.header.startPoint = 1;
  st.header.finePerKm = 2;
  st.header.finePerHour = 10;
  st.approachSpeed = 5;
  int i = 0;
  for (const PointSpec& p : points) {
    TaskPointRec rec;
    rec.streetType = "st";
    rec.street = p.street;
    rec.house = p.house;
    rec.serviceTime = p.serviceMinutes;
    rec.vertexNo = st.header.sectionCount + i++;
    st.points.push_back(rec);
  }
  st.pointChanged.assign(st.points.size(), 0);
  st.db = std::move(db);
  return st;
}

}  // namespace qj::test
