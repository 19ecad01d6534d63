#include "route/route_texts.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj {
namespace {

TEST(RouteTexts, TimesAndNumbersInTheRegionalFormat) {
  const ShellTables t = test::markedShell();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {timeText(0, t, ','), "0 s62 0,00 s24"},
      {timeText(59.994, t, '.'), "0 s62 59.99 s24"},
      {timeText(60, t, ','), "1 s62 0,00 s24"},
      {timeText(125.5, t, ','), "2 s62 5,50 s24"},
      {timeText(-5.25, t, ','), "0 s62 -5,25 s24"},
      {timeText(6e13, t, ','), "1000000000000 s62 0,00 s24"},  // no endless loop
      {realText(2.5, ','), "2,5"},
      {realText(100.0 / 3, '.'), "33.3333333333333"},
      {fixed2Text(-1.5, ','), "-1,50"},
      {fixed2Text(-0.0, ','), "0,00"},
      {fixed2Text(-0.004, '.'), "0.00"},
      {fixed2Text(-0.005001, '.'), "-0.01"},
      {intText(-7), "-7"},
  };
  for (const auto& [shown, expected] : cases) EXPECT_EQ(shown, expected);
}

TEST(RouteTexts, PointNumbersMarkTheStartBeforeTheEnd) {
  const ShellTables t = test::markedShell();
  TaskHeader h;
  h.startPoint = 1;
  h.endPoint = 3;
  EXPECT_EQ(pointNumberText(1, h, t), "1 (s11)");
  EXPECT_EQ(pointNumberText(3, h, t), "3 (s17)");
  EXPECT_EQ(pointNumberText(2, h, t), "2");
  h.endPoint = 1;
  EXPECT_EQ(pointNumberText(1, h, t), "1 (s11)");
}

}  // namespace
}  // namespace qj
