#include "records/datetime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "support/c_locale.h"

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

// One short date per interface language, always with four-digit years, whatever locale the
// C library runs under; the time of day follows unless the moment is midnight.
TEST(DateTime, DatesAreWrittenInTheInterfaceLanguagesFormat) {
  for (const char* locale : test::kPointAndCommaLocales) {
    test::ScopedCLocale scope(locale);
    ASSERT_TRUE(scope.ok()) << locale << " is not installed";
    const std::tuple<CivilDateTime, const char*, std::string> dates[] = {
        {{2024, 6, 1}, "eng", "01/06/2024"},  {{2024, 6, 1}, "rus", "01.06.2024"},
        {{2026, 12, 7}, "eng", "07/12/2026"}, {{2026, 12, 7}, "rus", "07.12.2026"},
        {{987, 1, 31}, "deu", "31.01.0987"},  {{1899, 12, 30}, "eng", "30/12/1899"}};
    for (const auto& [civil, lang, text] : dates) EXPECT_EQ(dateText(civil, lang), text) << locale;
    EXPECT_EQ(clockText({2026, 12, 7, 9, 5, 3, 999}), "09:05:03");
    EXPECT_EQ(momentText(toDateTime({2026, 12, 7, 18, 30, 0, 0}), "eng"), "07/12/2026 18:30:00");
    EXPECT_EQ(momentText(toDateTime({2026, 12, 7}), "rus"), "07.12.2026");
    EXPECT_EQ(momentText(toDateTime({2026, 12, 7, 0, 0, 1, 0}), "rus"), "07.12.2026 00:00:01");
  }
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
