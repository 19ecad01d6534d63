#include "records/solution_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qj {
namespace {

int32_t i32At(const std::string& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
double f64At(const std::string& b, size_t at) {
  double v;
  std::memcpy(&v, b.data() + at, 8);
  return v;
}
std::string strAt(const std::string& b, size_t at) {
  return b.substr(at + 1, static_cast<uint8_t>(b[at]));
}

SolutionHeader header() {
  SolutionHeader h;
  h.infoText1 = "Daro city services";
  h.infoText2 = "Route planning";
  h.infoText3 = "Licence 42";
  h.elapsedText = "0:00:03";
  h.finalMessage = std::string(255, ' ');
  h.checkInterval = 5;
  h.iterationLimit = 1000;
  h.solutionFound = 1;
  h.iterationsDone = 95;
  h.finishTime = 0.5;
  h.finishDate = 46000;
  h.relaxationCoef = 0.9;
  h.stopCriterion = 0.003;
  h.stateCount = 2817;
  h.routeStepCount = 2;
  h.objective = 37.25;
  return h;
}

TEST(SolutionFile, HeaderLayout) {
  SolutionFile f;
  f.header = header();
  f.body = SolutionBody::Route;
  f.steps = {{12, 0.25}, {10003, 0.5}};
  f.startServiceTimes = {7.5};
  const std::string b = writeSolutionFile(f);
  ASSERT_EQ(b.size(), kSolutionHeaderSize + 2 * kRouteStepSize + 4 + 8);
  EXPECT_EQ(strAt(b, 0), "Daro city services");
  EXPECT_EQ(strAt(b, 41), "Route planning");
  EXPECT_EQ(strAt(b, 82), "Licence 42");
  EXPECT_EQ(strAt(b, 123), "0:00:03");
  EXPECT_EQ(static_cast<uint8_t>(b[164]), 255);  // every pass completed: 255 blanks
  EXPECT_EQ(b.substr(165, 255), std::string(255, ' '));
  EXPECT_EQ(i32At(b, 420), 5);
  EXPECT_EQ(i32At(b, 424), 1000);
  EXPECT_EQ(i32At(b, 428), 1);
  EXPECT_EQ(i32At(b, 432), 95);
  EXPECT_EQ(i32At(b, 436), 0);
  EXPECT_EQ(f64At(b, 440), 0.5);
  EXPECT_EQ(f64At(b, 448), 46000);
  EXPECT_EQ(f64At(b, 456), 0.9);
  EXPECT_EQ(f64At(b, 464), 0.003);
  EXPECT_EQ(i32At(b, 472), 2817);
  EXPECT_EQ(i32At(b, 476), 2);
  EXPECT_EQ(f64At(b, 480), 37.25);
  EXPECT_EQ(i32At(b, 488), 12);
  EXPECT_EQ(i32At(b, 492), 0);
  EXPECT_EQ(f64At(b, 496), 0.25);
  EXPECT_EQ(i32At(b, 504), 10003);
  EXPECT_EQ(f64At(b, 512), 0.5);
  EXPECT_EQ(i32At(b, 520), 1);
  EXPECT_EQ(f64At(b, 524), 7.5);

  const SolutionRead read = readSolutionFile(b, false);
  ASSERT_TRUE(read.file) << read.error;
  EXPECT_EQ(*read.file, f);
}

TEST(SolutionFile, SizesOfEveryKindOfFile) {
  SolutionFile failed;
  failed.header = header();
  failed.header.solutionFound = 0;
  failed.header.routeStepCount = 0;
  failed.body = solutionBodyFor(false, 0, 3, 12);  // a task that failed a check
  EXPECT_EQ(writeSolutionFile(failed).size(), 488u + 4);
  EXPECT_EQ(i32At(writeSolutionFile(failed), 488), 0);

  failed.body = solutionBodyFor(true, 0, 3, 5);  // a failed client-addition task
  EXPECT_EQ(writeSolutionFile(failed).size(), 488u);
  EXPECT_EQ(solutionBodyFor(false, 0, 0, 0), SolutionBody::None);

  SolutionFile solved;
  solved.header = header();
  solved.body = SolutionBody::Route;
  solved.steps.assign(7, {3, 0.1});
  solved.startServiceTimes.assign(3, 2.0);
  EXPECT_EQ(writeSolutionFile(solved).size(), 488u + 16 * 7 + 4 + 8 * 3);

  SolutionFile description;
  description.header = header();
  description.body = solutionBodyFor(true, 1, 3, 5);
  ASSERT_EQ(description.body, SolutionBody::Description);
  description.routeCostTotal = 12.5;
  RouteLine line;
  line.rowNo = "1";
  line.pointNo = "1 (start)";  // nine characters: cut to eight
  line.address = "st. Main 12";
  line.turnText = "2 to the right!";
  line.endNode = "123456";
  description.lines = {line, line};
  const std::string b = writeSolutionFile(description);
  ASSERT_EQ(b.size(), 488u + 8 + 4 + 190 * 2);
  EXPECT_EQ(i32At(b, 476), 2);  // the header keeps the route's own step count
  EXPECT_EQ(f64At(b, 488), 12.5);
  EXPECT_EQ(i32At(b, 496), 2);
  EXPECT_EQ(strAt(b, 500 + 5), "1 (start");
  EXPECT_EQ(strAt(b, 500 + 169), "2 to the right");
  EXPECT_EQ(strAt(b, 500 + 184), "12345");
  EXPECT_EQ(strAt(b, 500 + 190), "1");  // the second line starts 190 bytes later
  const SolutionRead read = readSolutionFile(b, true);
  ASSERT_TRUE(read.file) << read.error;
  EXPECT_EQ(read.file->lines.size(), 2u);
  EXPECT_EQ(read.file->lines[0].pointNo, "1 (start");
}

TEST(SolutionFile, LongTextsAreCutToTheirSlots) {
  SolutionFile f;
  f.header = header();
  f.header.infoText1 = std::string(60, 'i');
  f.header.finalMessage = std::string(300, 'm');
  const std::string b = writeSolutionFile(f);
  EXPECT_EQ(strAt(b, 0), std::string(40, 'i'));
  EXPECT_EQ(strAt(b, 164), std::string(255, 'm'));
  EXPECT_EQ(b.size(), kSolutionHeaderSize);
}

TEST(SolutionFile, ReaderRefusesWhatDoesNotFit) {
  SolutionFile f;
  f.header = header();
  f.body = SolutionBody::Route;
  f.steps = {{1, 0.1}, {2, 0.2}};
  f.startServiceTimes = {1, 2};
  const std::string good = writeSolutionFile(f);
  for (size_t n = 0; n < good.size(); ++n) {
    const SolutionRead r = readSolutionFile(good.substr(0, n), false);
    if (n == kSolutionHeaderSize) continue;  // a header alone is a file without a route
    EXPECT_FALSE(r.file) << n;
    EXPECT_FALSE(r.error.empty()) << n;
  }
  std::string hostile = good;
  const int32_t negative = -5, huge = 1 << 30;
  std::memcpy(hostile.data() + 476, &negative, 4);
  EXPECT_FALSE(readSolutionFile(hostile, false).file);
  std::memcpy(hostile.data() + 476, &huge, 4);
  EXPECT_FALSE(readSolutionFile(hostile, false).file);
  hostile = good;
  std::memcpy(hostile.data() + 520, &huge, 4);
  EXPECT_FALSE(readSolutionFile(hostile, false).file);

  // A header alone, without a route, is a failed task's file.
  SolutionFile bare;
  bare.header = header();
  bare.header.routeStepCount = 0;
  const SolutionRead r = readSolutionFile(writeSolutionFile(bare), false);
  ASSERT_TRUE(r.file);
  EXPECT_EQ(r.file->body, SolutionBody::None);
  // A failed client-addition task has nothing after its header.
  bare.header.solutionFound = 0;
  EXPECT_TRUE(readSolutionFile(writeSolutionFile(bare), true).file);
}

}  // namespace
}  // namespace qj
