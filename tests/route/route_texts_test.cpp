#include "route/route_texts.h"

#include <gtest/gtest.h>

#include "support/town.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

using test::markedShell;

TEST(RouteTexts, TimesOfDayInHoursAndMinutes) {
  const ShellTables t = markedShell();
  EXPECT_EQ(timeText(0, t, ','), "0 s62 0,00 s24");
  EXPECT_EQ(timeText(59.994, t, '.'), "0 s62 59.99 s24");
  EXPECT_EQ(timeText(60, t, ','), "1 s62 0,00 s24");
  EXPECT_EQ(timeText(125.5, t, ','), "2 s62 5,50 s24");
  EXPECT_EQ(timeText(-5.25, t, ','), "0 s62 -5,25 s24");
  // A time far beyond any route still comes back, hours whole.
  EXPECT_EQ(timeText(6e13, t, ','), "1000000000000 s62 0,00 s24");
}

TEST(RouteTexts, NumbersInTheRegionalFormat) {
  EXPECT_EQ(realText(2.5, ','), "2,5");
  EXPECT_EQ(realText(3, ','), "3");
  EXPECT_EQ(realText(100.0 / 3, '.'), "33.3333333333333");
  EXPECT_EQ(fixed2Text(-1.5, ','), "-1,50");
  EXPECT_EQ(fixed2Text(-0.0, ','), "0,00");
  EXPECT_EQ(fixed2Text(-0.004, '.'), "0.00");
  EXPECT_EQ(fixed2Text(-0.005001, '.'), "-0.01");
  EXPECT_EQ(intText(-7), "-7");
}

TEST(RouteTexts, AddressesSectionsAndPointMarks) {
  const ShellTables t = markedShell();
  const TaskFile task = test::townTask();
  const DbrnFile db = test::smallTown();
  EXPECT_EQ(addressOf(task.points[1]), "st. Main, 25");
  EXPECT_EQ(sectionText(db, 9), "ln. Birch, 1-5*");
  TaskHeader h = task.header;
  EXPECT_EQ(pointNumberText(1, h, t), "1 (s11)");
  EXPECT_EQ(pointNumberText(3, h, t), "3 (s17)");
  EXPECT_EQ(pointNumberText(2, h, t), "2");
  h.endPoint = 1;  // the start mark wins
  EXPECT_EQ(pointNumberText(1, h, t), "1 (s11)");
}

}  // namespace
}  // namespace qj
