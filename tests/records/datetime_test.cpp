#include "records/datetime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace qj {
namespace {

TEST(DateTime, KnownDates) {
  EXPECT_EQ(toDateTime({1899, 12, 30}), 0.0);
  EXPECT_EQ(toDateTime({1900, 1, 1}), 2.0);
  EXPECT_EQ(toDateTime({2000, 1, 1}), 36526.0);
  EXPECT_EQ(toDateTime({2026, 12, 6, 18, 0, 0, 0}), 46362.75);
  EXPECT_EQ(toDateTime({1899, 12, 29, 6, 0, 0, 0}), -0.75);
}

TEST(DateTime, RoundTripsToTheMillisecond) {
  const CivilDateTime t{2024, 2, 29, 23, 59, 58, 123};
  EXPECT_EQ(fromDateTime(toDateTime(t)), t);
  EXPECT_EQ(fromDateTime(46362.75), (CivilDateTime{2026, 12, 6, 18, 0, 0, 0}));
  EXPECT_EQ(fromDateTime(-0.75), (CivilDateTime{1899, 12, 29, 6, 0, 0, 0}));
}

TEST(DateTime, SystemMomentsAreTakenInLocalTime) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "UTC-3", 1);  // three hours east of Greenwich
  tzset();
  const auto moment = std::chrono::system_clock::from_time_t(0);  // 1970-01-01 00:00 UTC
  EXPECT_EQ(fromDateTime(toDateTime(moment)), (CivilDateTime{1970, 1, 1, 3, 0, 0, 0}));
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace qj
