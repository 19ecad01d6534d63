#include "records/solution_file.h"

#include <gtest/gtest.h>

#include "records/record_layout.h"
#include "support/town.h"

namespace qj {
namespace {

using test::expectFields;
using test::putI32;
using test::Zeros;

SolutionFile solution() {
  SolutionFile f = test::townSolution();
  f.header.finishTime = 0.5;
  f.header.finishDate = 46000;
  return f;
}

TEST(SolutionFileLayout, HeaderRouteAndStartTimesSitAtTheirOffsets) {
  const SolutionFile f = solution();
  const std::string b = writeSolutionFile(f);
  const size_t times = kSolutionHeaderSize + 12 * kRouteStepSize;
  ASSERT_EQ(b.size(), times + 4 + 2 * 8);
  // Every pass completed: the final message is 255 blanks.
  // clang-format off
  expectFields(b, {{0, "Route planning office"},
                   {41, "Small town"}, {82, "Demo"}, {123, "0:00:02"},
                   {164, std::string(255, ' ').c_str()}, {420, 10}, {424, 5000}, {428, 1},
                   {432, 120}, {436, 0}, {440, 0.5}, {448, 46000.0}, {456, 0.9}, {464, 0.003},
                   {472, 321}, {476, 12}, {480, -18.5}, {488, 0}, {492, 0}, {496, 0.05},
                   {504 + 16, 11}, {512 + 16, 0.1}, {488 + 11 * 16, 12}, {times, 2},
                   {times + 4, 10.0}, {times + 12, 4.0}});
  // clang-format on
  const SolutionRead read = readSolutionFile(b, false);
  ASSERT_TRUE(read.file) << read.error;
  EXPECT_EQ(*read.file, f);

  // Texts longer than their slots are cut.
  SolutionFile longer = f;
  longer.header.infoText1 = std::string(60, 'i');
  longer.header.finalMessage = std::string(300, 'm');
  longer.header.routeStepCount = 0;  // a route's count is its steps'
  expectFields(
      writeSolutionFile(longer),
      {{0, std::string(40, 'i').c_str()}, {164, std::string(255, 'm').c_str()}, {476, 12}});
}

TEST(SolutionFileLayout, FailedTasksAndRouteDescriptionsHaveTheirOwnBodies) {
  SolutionFile f = solution();
  f.header.solutionFound = f.header.routeStepCount = 0;
  f.steps.clear();
  f.startServiceTimes.clear();
  f.body = solutionBodyFor(false, 0, 3, 12);  // a task that failed a check
  EXPECT_EQ(writeSolutionFile(f).size(), kSolutionHeaderSize + 4);
  f.body = solutionBodyFor(true, 0, 3, 5);  // a failed client-addition task
  EXPECT_EQ(writeSolutionFile(f).size(), kSolutionHeaderSize);
  EXPECT_EQ(solutionBodyFor(false, 0, 0, 0), SolutionBody::None);

  f = solution();
  f.body = solutionBodyFor(true, 1, 3, 5);
  ASSERT_EQ(f.body, SolutionBody::Description);
  f.routeCostTotal = 12.5;
  RouteLine line;
  line.rowNo = "1";
  line.pointNo = "1 (start)";  // nine characters: cut to eight
  line.address = "st. Main 12";
  line.turnText = "2 to the right!";
  line.endNode = "123456";
  f.lines = {line, line};
  const std::string b = writeSolutionFile(f);
  ASSERT_EQ(b.size(), kSolutionHeaderSize + 8 + 4 + 190 * 2);
  // The header keeps the route's own step count; the second line starts 190 bytes later.
  // clang-format off
  expectFields(b, {{476, 12},
                   {488, 12.5}, {496, 2}, {505, "1 (start"}, {669, "2 to the right"},
                   {684, "12345"}, {690, "1"}});
  // clang-format on
  const SolutionRead read = readSolutionFile(b, true);
  ASSERT_TRUE(read.file) << read.error;
  EXPECT_EQ(read.file->lines[0].pointNo, "1 (start");
}

TEST(SolutionFileRead, RefusesWhatDoesNotFit) {
  const std::string good = writeSolutionFile(solution());
  for (size_t n = 0; n < good.size(); ++n) {
    if (n == kSolutionHeaderSize) continue;  // a header alone is a file without a route
    const SolutionRead r = readSolutionFile(good.substr(0, n), false);
    EXPECT_FALSE(r.file) << n;
    EXPECT_FALSE(r.error.empty()) << n;
  }
  const size_t times = kSolutionHeaderSize + 12 * kRouteStepSize;
  for (const auto& [at, value] :
       {std::pair<size_t, int32_t>{476, -5}, {476, 1 << 30}, {times, 1 << 30}, {times, -1}}) {
    std::string hostile = good;
    putI32(hostile, at, value);
    EXPECT_FALSE(readSolutionFile(hostile, false).file) << at << " " << value;
  }
  // A header alone, without a route, is a failed task's file; a failed client-addition task
  // has nothing after its header.
  SolutionFile bare;
  bare.header = solution().header;
  bare.header.routeStepCount = 0;
  const SolutionRead r = readSolutionFile(writeSolutionFile(bare), false);
  ASSERT_TRUE(r.file);
  EXPECT_EQ(r.file->body, SolutionBody::None);
  bare.header.solutionFound = 0;
  EXPECT_TRUE(readSolutionFile(writeSolutionFile(bare), true).file);
}

// The longest file read keeps the reader within a few hundred megabytes: a file of route
// description lines (the most memory for their bytes: nine texts a line, five of them longer
// than a string keeps inside itself) with the file's own bytes.
TEST(SolutionFileRead, TheLongestFileReadIsHeldInAFewHundredMegabytes) {
  const uint64_t lines = kMaxTaskFileBytes / kRouteLineSize;
  const uint64_t kept = lines * (sizeof(RouteLine) + 5 * 64);
  EXPECT_LT(kMaxTaskFileBytes + kept, uint64_t{320} << 20);
}

}  // namespace
}  // namespace qj
