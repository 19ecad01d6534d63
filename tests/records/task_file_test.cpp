#include "records/task_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/bytes_at.h"

namespace qj {
namespace {

using test::f64At;
using test::i32At;
using test::strAt;

TaskHeader header(const char* kind, int32_t m, int32_t n) {
  TaskHeader h;
  h.language = "eng";
  h.code = "AB12CD";
  h.name = "Morning deliveries";
  h.dbKind = kind;
  h.dbCode = "001";
  h.dbName = "Demo city";
  h.dbDate = "06.12.2026";
  h.sectionCount = m;
  h.pointCount = n;
  h.startPoint = 1;
  h.endPoint = n;
  h.moneyUnit = "EUR";
  h.finePerKm = 0.5;
  h.finePerHour = 15;
  h.approachSpeed = 5;
  h.refusalFlag = 1;
  h.servedThreshold = -3;
  h.timeFactorFlag = 1;
  h.tactMinutes = 10;
  h.cargoMode = 2;
  h.capacity = 1500;
  h.returnFlag = 1;
  h.orderMode = 3;
  h.priorityCount = 2;
  h.stateCount2 = 2817;
  return h;
}

TaskPointRec point(int i) {
  TaskPointRec p;
  p.streetType = "st.";
  p.street = "Main";
  p.house = std::to_string(10 + i);
  p.serviceTime = 5 + i;
  p.unloadTime = 2;
  p.waitPenalty = 3.5;
  p.orderValue = -1;
  p.refusalAllowed = i % 2;
  p.volume = 100;
  p.income = 20;
  p.windowLow = 60;
  p.windowHigh = 120;
  p.toCount = 2;
  p.fromCount = 3;
  p.vertexNo = 7 + i;
  p.sectionIndex = i;
  p.reverseSectionIndex = -1;
  p.houseIndex = 42;
  return p;
}

TEST(TaskFileLayout, HeaderFieldsSitAtTheirOffsets) {
  ByteWriter w;
  writeTaskHeader(w, header("use1", 7, 2));
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kTaskHeaderSize);
  EXPECT_EQ(strAt(b, 0), "eng");
  EXPECT_EQ(strAt(b, 4), "AB12CD");
  EXPECT_EQ(strAt(b, 11), "Morning deliveries");
  EXPECT_EQ(strAt(b, 82), "use1");
  EXPECT_EQ(strAt(b, 87), "001");
  EXPECT_EQ(strAt(b, 91), "Demo city");
  EXPECT_EQ(strAt(b, 162), "06.12.2026");
  EXPECT_EQ(b[203], '\0');
  EXPECT_EQ(i32At(b, 204), 7);
  EXPECT_EQ(i32At(b, 208), 2);
  EXPECT_EQ(i32At(b, 212), 1);
  EXPECT_EQ(i32At(b, 216), 2);
  EXPECT_EQ(strAt(b, 220), "EUR");
  EXPECT_EQ(b.substr(241, 7), std::string(7, '\0'));
  EXPECT_EQ(f64At(b, 248), 0.5);
  EXPECT_EQ(f64At(b, 256), 15.0);
  EXPECT_EQ(f64At(b, 264), 5.0);
  EXPECT_EQ(i32At(b, 272), 1);
  EXPECT_EQ(i32At(b, 276), -3);
  EXPECT_EQ(i32At(b, 280), 1);
  EXPECT_EQ(i32At(b, 284), 10);
  EXPECT_EQ(i32At(b, 288), 2);
  EXPECT_EQ(i32At(b, 292), 0);
  EXPECT_EQ(f64At(b, 296), 1500.0);
  EXPECT_EQ(i32At(b, 304), 1);
  EXPECT_EQ(i32At(b, 308), 3);
  EXPECT_EQ(i32At(b, 312), 2);
  EXPECT_EQ(i32At(b, 316), 2817);
}

TEST(TaskFileLayout, PointFieldsSitAtTheirOffsets) {
  ByteWriter w;
  writeTaskPoint(w, point(1));
  const std::string& b = w.bytes();
  ASSERT_EQ(b.size(), kTaskPointSize);
  EXPECT_EQ(strAt(b, 0), "st.");
  EXPECT_EQ(strAt(b, 5), "Main");
  EXPECT_EQ(strAt(b, 36), "11");
  EXPECT_EQ(f64At(b, 48), 6.0);
  EXPECT_EQ(f64At(b, 56), 2.0);
  EXPECT_EQ(f64At(b, 64), 3.5);
  EXPECT_EQ(i32At(b, 72), -1);
  EXPECT_EQ(i32At(b, 76), 1);
  EXPECT_EQ(f64At(b, 80), 100.0);
  EXPECT_EQ(f64At(b, 88), 20.0);
  EXPECT_EQ(i32At(b, 96), 60);
  EXPECT_EQ(i32At(b, 100), 120);
  EXPECT_EQ(i32At(b, 104), 2);
  EXPECT_EQ(i32At(b, 108), 3);
  EXPECT_EQ(i32At(b, 112), 8);
  EXPECT_EQ(i32At(b, 116), 1);
  EXPECT_EQ(i32At(b, 120), -1);
  EXPECT_EQ(i32At(b, 124), 42);
}

TaskFile levelOneTask() {
  TaskFile t;
  t.header = header("use1", 5, 2);
  for (int i = 0; i < 2; ++i) {
    t.points.push_back(point(i));
    t.toLists.push_back({{10, 20, 1}, {30, 40, 2}});
    t.fromLists.push_back({{1, 2, 3}, {4, 5, 4}, {6, 7, -(1 - i) - 1}});
  }
  return t;
}

TEST(TaskFileLayout, LevelOneTaskFileHoldsToListsThenFromLists) {
  const TaskFile t = levelOneTask();
  const std::string b = writeTaskFile(t);
  ASSERT_EQ(b.size(), 320u + 256u + 20u * 10u);
  const size_t lists = 320 + 256;
  EXPECT_EQ(f64At(b, lists), 10.0);  // point 0, to 0
  EXPECT_EQ(i32At(b, lists + 16), 1);
  EXPECT_EQ(f64At(b, lists + 2 * 20), 10.0);  // point 1, to 0
  EXPECT_EQ(f64At(b, lists + 4 * 20), 1.0);   // point 0, from 0
  EXPECT_EQ(i32At(b, lists + 6 * 20 + 16), -2);

  const auto back = readTaskFile(b);
  ASSERT_TRUE(back.task) << back.error;
  EXPECT_EQ(back.task->header, t.header);
  EXPECT_EQ(back.task->points, t.points);
  EXPECT_EQ(back.task->toLists, t.toLists);
  EXPECT_EQ(back.task->fromLists, t.fromLists);
  EXPECT_EQ(writeTaskFile(*back.task), b);
}

TEST(TaskFileLayout, ClientAdditionTaskHasNeitherTransitionsNorGraph) {
  TaskFile t = levelOneTask();
  t.header.dbKind = "cli2";
  EXPECT_EQ(writeTaskFile(t).size(), 320u + 128u * 2);
  SolverInput s{t.header, t.points, {1, 2}, {{1, 0.5, 0.25}}, {}};
  EXPECT_EQ(writeSolverInput(s, "Shell (QJ 1.6).eng").size(), 320u + 128u * 2 + 25);
}

TEST(SolverInputLayout, ArcCountsArcsAndTrailer) {
  SolverInput s;
  s.header = header("use2", 3, 2);
  s.points = {point(0), point(1)};
  s.arcCounts = {1, 0, 2, 3, 3};
  for (int i = 0; i < 9; ++i) s.arcs.push_back({i, 0.1 * i, 2.0 * i});
  const std::string b = writeSolverInput(s, "Shell (QJ 1.6).eng");
  ASSERT_EQ(b.size(), 320u + 256u + 4u * 5u + 24u * 9u + 25u);
  const size_t counts = 576;
  EXPECT_EQ(i32At(b, counts + 8), 2);
  const size_t arcs = counts + 20;
  EXPECT_EQ(i32At(b, arcs + 24), 1);
  EXPECT_EQ(i32At(b, arcs + 24 + 4), 0);  // alignment
  EXPECT_EQ(f64At(b, arcs + 24 + 8), 0.1);
  EXPECT_EQ(f64At(b, arcs + 24 + 16), 2.0);
  EXPECT_EQ(b.substr(b.size() - 25), std::string("\x12Shell (QJ 1.6).eng") + std::string(6, '\0'));

  const auto back = readSolverInput(b);
  ASSERT_TRUE(back.input) << back.error;
  EXPECT_EQ(back.input->arcCounts, s.arcCounts);
  EXPECT_EQ(back.input->arcs, s.arcs);
  EXPECT_EQ(writeSolverInput(*back.input, "Shell (QJ 1.6).eng"), b);
}

TEST(SolverInputLayout, ALongShellNameIsCutTo24CharactersUnderItsOwnLength) {
  SolverInput s;
  s.header = header("cli2", 3, 0);
  const std::string b = writeSolverInput(s, "ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(b.substr(320), std::string("\x19"
                                       "ABCDEFGHIJKLMNOPQRSTUVWX"));
}

TEST(TaskFileRead, HostileCountsAreRefusedWithoutAllocating) {
  TaskFile t = levelOneTask();
  std::string b = writeTaskFile(t);
  std::string huge = b;
  int32_t n = 2000000000;
  std::memcpy(huge.data() + 208, &n, 4);
  EXPECT_FALSE(readTaskFile(huge).task);
  n = -1;
  std::memcpy(huge.data() + 208, &n, 4);
  EXPECT_FALSE(readTaskFile(huge).task);

  std::string badList = b;
  n = 1 << 30;
  std::memcpy(badList.data() + 320 + 104, &n, 4);
  const auto r = readTaskFile(badList);
  EXPECT_FALSE(r.task);
  EXPECT_NE(r.error.find("transitions"), std::string::npos);

  EXPECT_FALSE(readTaskFile(b.substr(0, b.size() - 1)).task);
  EXPECT_FALSE(readTaskFile(b.substr(0, 100)).task);
}

TEST(SolverInputRead, TruncatedAndNegativeCountsAreRefused) {
  SolverInput s;
  s.header = header("use1", 2, 1);
  s.points = {point(0)};
  s.arcCounts = {1, 1, 0};
  s.arcs = {{1, 1, 1}, {0, 1, 1}};
  const std::string b = writeSolverInput(s, "x");
  for (size_t cut : {b.size() - 1, b.size() - 26, size_t{460}})
    EXPECT_FALSE(readSolverInput(b.substr(0, cut)).input) << cut;
  std::string negative = b;
  int32_t n = -1;
  std::memcpy(negative.data() + 448, &n, 4);
  EXPECT_FALSE(readSolverInput(negative).input);
  std::string sections = b;
  std::memcpy(sections.data() + 204, &n, 4);
  EXPECT_FALSE(readSolverInput(sections).input);
}

}  // namespace
}  // namespace qj
