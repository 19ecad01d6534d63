#include "records/task_file.h"

#include <gtest/gtest.h>

#include "records/record_layout.h"
#include "support/town.h"

namespace qj {
namespace {

using test::expectFields;
using test::putI32;
using test::townTask;
using test::Zeros;

TaskFile task(const char* kind = "use1") {
  TaskFile t = townTask(kind);
  t.header.orderMode = 3;
  t.header.priorityCount = 2;
  t.points[1].orderValue = -1;
  t.points[1].houseIndex = 42;
  return t;
}

TEST(TaskFileLayout, HeaderPointsAndTransitionListsSitAtTheirOffsets) {
  const TaskFile t = task();
  const std::string b = writeTaskFile(t);
  // The header, the four points, then the to-lists of every point before the from-lists.
  const size_t points = kTaskHeaderSize, lists = points + 4 * kTaskPointSize;
  ASSERT_EQ(b.size(), lists + 13 * kTransitionSize);
  // clang-format off
  expectFields(b, {{0, "eng"},
                   {4, "TOWN01"}, {11, "Morning round"}, {82, "use1"}, {87, "123"},
                   {91, "Small town"}, {162, "06.12.2026"}, {203, Zeros{1}}, {204, 10}, {208, 4},
                   {212, 1}, {216, 3}, {220, "EUR"}, {241, Zeros{7}}, {248, 2.0}, {256, 12.0},
                   {264, 5.0}, {272, 1}, {276, -3}, {280, 1}, {284, 5}, {288, 1}, {292, 0},
                   {296, 2.5}, {304, 1}, {308, 3}, {312, 2}, {316, 1234}});
  // clang-format on
  // clang-format off
  expectFields(b,
               {{0, "st."},
                {5, "Main"}, {36, "25"}, {48, 3.0}, {56, 5.0}, {64, 2.0}, {72, -1}, {76, 0},
                {80, 1.5}, {88, 50.0}, {96, 30}, {100, 60}, {104, 2}, {108, 3}, {112, 11}, {116, 2},
                {120, 3}, {124, 42}},
               points + kTaskPointSize);
  // clang-format on
  // clang-format off
  expectFields(b,
               {{0, 40.0},
                {8, 5.0}, {16, 1}, {20, 60.5}, {36, 2}, {40, 41.0}, {120, 43.0}, {140, 210.0},
                {156, 3}, {180, 100.0}, {196, -3}, {200, 45.0}, {216, 4}},
               lists);
  // clang-format on

  const auto back = readTaskFile(b);
  ASSERT_TRUE(back.task) << back.error;
  EXPECT_EQ(back.task->header, t.header);
  EXPECT_EQ(back.task->points, t.points);
  EXPECT_EQ(back.task->toLists, t.toLists);
  EXPECT_EQ(back.task->fromLists, t.fromLists);
  EXPECT_EQ(writeTaskFile(*back.task), b);
}

TEST(SolverInputLayout, ArcCountsArcsAndTheShellNameFollowThePoints) {
  SolverInput s{task().header, {task().points[0], task().points[1]}, {1, 0, 2, 3, 3}, {}, {}};
  s.header.sectionCount = 3;
  s.header.pointCount = 2;
  for (int i = 0; i < 9; ++i) s.arcs.push_back({i, 0.1 * i, 2.0 * i});
  const std::string b = writeSolverInput(s, "Shell (QJ 1.6).eng");
  const size_t counts = kTaskHeaderSize + 2 * kTaskPointSize, arcs = counts + 5 * 4;
  ASSERT_EQ(b.size(), arcs + 9 * kTaskArcSize + kShellNameTrailerSize);
  // clang-format off
  expectFields(b, {{counts + 8, 2},
                   {arcs + 24, 1}, {arcs + 28, 0}, {arcs + 32, 0.1}, {arcs + 40, 2.0},
                   {b.size() - 25, "Shell (QJ 1.6).eng"}, {b.size() - 6, Zeros{6}}});
  // clang-format on
  const auto back = readSolverInput(b);
  ASSERT_TRUE(back.input) << back.error;
  EXPECT_EQ(back.input->arcCounts, s.arcCounts);
  EXPECT_EQ(back.input->arcs, s.arcs);
  EXPECT_EQ(writeSolverInput(*back.input, "Shell (QJ 1.6).eng"), b);

  // A client-addition task has neither transitions nor graph in its task file.
  TaskFile cli = task("cli2");
  cli.toLists = task().toLists;
  EXPECT_EQ(writeTaskFile(cli).size(), kTaskHeaderSize + 4 * kTaskPointSize);
  // A long shell name is cut to 24 characters under its own length.
  s = {cli.header, {}, {}, {}, {}};
  s.header.pointCount = s.header.sectionCount = 0;
  s.header.dbKind = "use1";  // a network without sections
  EXPECT_TRUE(readSolverInput(writeSolverInput(s, "x")).input);
  EXPECT_EQ(writeSolverInput(s, "ABCDEFGHIJKLMNOPQRSTUVWXY").substr(kTaskHeaderSize),
            "\x19"
            "ABCDEFGHIJKLMNOPQRSTUVWX");
}

TEST(TaskFileRead, HostileCountsAndCutFilesAreRefusedWithoutAllocating) {
  const std::string b = writeTaskFile(task());
  for (const auto& [at, value] :
       {std::pair<size_t, int32_t>{208, 2000000000}, {208, -1}, {kTaskHeaderSize + 104, 1 << 30}}) {
    std::string hostile = b;
    putI32(hostile, at, value);
    const auto r = readTaskFile(hostile);
    EXPECT_FALSE(r.task) << at << " " << value;
    EXPECT_FALSE(r.error.empty());
  }
  EXPECT_FALSE(readTaskFile(b.substr(0, b.size() - 1)).task);
  EXPECT_FALSE(readTaskFile(b.substr(0, 100)).task);

  SolverInput s{task().header, {task().points[0]}, {1, 1, 0}, {{1, 1, 1}, {0, 1, 1}}, {}};
  s.header.pointCount = 1;
  s.header.sectionCount = 2;
  const std::string in = writeSolverInput(s, "x");
  for (size_t cut : {in.size() - 1, in.size() - 26, size_t{460}})
    EXPECT_FALSE(readSolverInput(in.substr(0, cut)).input) << cut;
  for (size_t at : {size_t{448}, size_t{204}}) {
    std::string negative = in;
    putI32(negative, at, -1);
    EXPECT_FALSE(readSolverInput(negative).input) << at;
  }
}

}  // namespace
}  // namespace qj
