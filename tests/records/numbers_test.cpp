#include "records/numbers.h"

#include <gtest/gtest.h>

#include "support/c_locale.h"

namespace qj {
namespace {

TEST(Numbers, RoundingTakesHalvesToEvenAndFormattingUsesTheGivenSeparator) {
  for (const auto& [x, rounded] :
       {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}, {2.5000001, 3.0}})
    EXPECT_EQ(roundHalfEven(x), rounded) << x;
  EXPECT_EQ(roundToInt64(3.5), 4);
  EXPECT_EQ(roundToInt64(1e300), INT64_MAX);
  EXPECT_EQ(formatReal(100.0 / 3.0, ','), "33,3333333333333");  // fifteen digits
  EXPECT_EQ(formatReal(0.003, '.'), "0.003");
  EXPECT_EQ(formatReal(-1.25, ',') + " " + formatReal(35.0, ','), "-1,25 35");
  EXPECT_EQ(formatFixed(2.005, 2, ','), "2,00");  // 2.005 is slightly below in binary
  EXPECT_EQ(formatFixed(12.5, 2, '.'), "12.50");
}

// Under a locale with a decimal comma the C library's own formatting writes "3,5"; the
// program's numbers keep the separator they are given, and parsing takes only that one.
TEST(Numbers, TextsOfNumbersDoNotFollowTheCLibrarysLocale) {
  for (const char* locale : test::kPointAndCommaLocales) {
    test::ScopedCLocale scope(locale);
    ASSERT_TRUE(scope.ok()) << locale << " is not installed";
    const std::pair<std::string, std::string> cases[] = {
        {formatReal(3.5, '.'), "3.5"},
        {formatReal(3.5, ','), "3,5"},
        {formatReal(100.0 / 3.0, '.'), "33.3333333333333"},
        {formatReal(175.5, '.') + " " + formatReal(1e20, '.'), "175.5 1e+20"},
        {formatReal(-0.001, ','), "-0,001"},
        {formatFixed(12.5, 2, '.'), "12.50"},
        {formatFixed(12.5, 2, ','), "12,50"},
        {formatFixed(0.0005, 3, '.') + " " + formatFixed(2.0625, 3, ','), "0.001 2,062"},
        {formatFixed(1234.5, 0, ','), "1234"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want) << locale;
    EXPECT_EQ(parseReal("175.5", '.'), 175.5) << locale;
    EXPECT_EQ(parseReal("175,5", ','), 175.5) << locale;
    EXPECT_EQ(parseReal("175,5", '.'), std::nullopt) << locale;
    EXPECT_EQ(parseStoredReal("0,003"), 0.003) << locale;
  }
}

// Typed numbers use their separator only; stored texts accept either.
TEST(Numbers, ParsingTakesWholeNumbersOnly) {
  const std::pair<const char*, std::optional<double>> typed[] = {
      {"35,5", 35.5}, {" -0,9 ", -0.9}, {"5e09", 5e9}, {"35.5", {}}, {"", {}},    {",", {}},
      {"1,2,3", {}},  {"12abc", {}},    {"1e400", {}}, {"nan", {}},  {"inf", {}}, {"5E+1", 50.0},
      {"2e-1", 0.2},  {"2e", {}},       {"2e-", {}},   {"2f1", {}}};
  for (const auto& [text, value] : typed) EXPECT_EQ(parseReal(text, ','), value) << text;
  const std::pair<const char*, std::optional<double>> stored[] = {
      {"12.75", 12.75}, {"12,75", 12.75}, {"+7", 7.0}, {"1.2,3", {}}, {" ", {}}};
  for (const auto& [text, value] : stored) EXPECT_EQ(parseStoredReal(text), value) << text;
  // clang-format off
  const std::pair<const char*, std::optional<int32_t>> ints[] = {
      {"00042", 42}, {" -7 ", -7}, {"+7", 7}, {"2147483647", 2147483647}, {"2147483648", {}},
      {"4.5", {}}, {"+-1", {}}, {"+", {}}, {"", {}}};
  // clang-format on
  for (const auto& [text, value] : ints) EXPECT_EQ(parseInt(text), value) << text;
}

}  // namespace
}  // namespace qj
