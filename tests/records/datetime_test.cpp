#include "records/datetime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace qj {
namespace {

TEST(DateTime, DaysCountFromTheEndOf1899BothWays) {
  // clang-format off
  const std::pair<CivilDateTime, double> known[] = {
      {{1899, 12, 30}, 0.0}, {{1900, 1, 1}, 2.0}, {{1900, 3, 1}, 61.0}, {{2000, 1, 1}, 36526.0},
      {{2026, 12, 6, 18, 0, 0, 0}, 46362.75}, {{1899, 12, 29, 6, 0, 0, 0}, -0.75}};
  // clang-format on
  for (const auto& [civil, days] : known) {
    EXPECT_EQ(toDateTime(civil), days);
    EXPECT_EQ(fromDateTime(days), civil) << days;
  }
  const CivilDateTime t{2024, 2, 29, 23, 59, 58, 123};
  EXPECT_EQ(fromDateTime(toDateTime(t)), t);
}

TEST(DateTime, SystemMomentsAreTakenInLocalTime) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "UTC-3", 1);  // three hours east of Greenwich
  tzset();
  const auto moment = std::chrono::system_clock::from_time_t(0);  // 1970-01-01 00:00 UTC
  EXPECT_EQ(fromDateTime(toDateTime(moment)), (CivilDateTime{1970, 1, 1, 3, 0, 0, 0}));
  old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace qj
