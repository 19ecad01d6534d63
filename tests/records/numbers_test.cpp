#include "records/numbers.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(roundHalfEven(0.5), 0.0);
  EXPECT_EQ(roundHalfEven(1.5), 2.0);
  EXPECT_EQ(roundHalfEven(2.5), 2.0);
  EXPECT_EQ(roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(roundToInt64(3.5), 4);
  EXPECT_EQ(roundToInt64(1e300), INT64_MAX);
}

TEST(RealFormat, GeneralFormatWithFifteenDigitsAndTheGivenSeparator) {
  EXPECT_EQ(formatReal(100.0 / 3.0, ','), "33,3333333333333");
  EXPECT_EQ(formatReal(35.0, ','), "35");
  EXPECT_EQ(formatReal(0.003, '.'), "0.003");
  EXPECT_EQ(formatReal(-1.25, ','), "-1,25");
  EXPECT_EQ(formatFixed2(2.005, ','), "2,00");  // 2.005 is slightly below in binary
  EXPECT_EQ(formatFixed2(12.5, '.'), "12.50");
}

TEST(RealParse, TypedNumbersUseTheirSeparatorOnly) {
  EXPECT_EQ(parseReal("35,5", ','), 35.5);
  EXPECT_EQ(parseReal(" -0,9 ", ','), -0.9);
  EXPECT_EQ(parseReal("1e3", ','), 1000.0);
  EXPECT_FALSE(parseReal("35.5", ','));
  EXPECT_FALSE(parseReal("", ','));
  EXPECT_FALSE(parseReal(",", ','));
  EXPECT_FALSE(parseReal("1,2,3", ','));
  EXPECT_FALSE(parseReal("12abc", ','));
  EXPECT_FALSE(parseReal("1e400", '.'));
  EXPECT_FALSE(parseReal("nan", '.'));
  EXPECT_FALSE(parseReal("inf", '.'));
}

TEST(RealParse, StoredTextsAcceptEitherSeparator) {
  EXPECT_EQ(parseStoredReal("12.75"), 12.75);
  EXPECT_EQ(parseStoredReal("12,75"), 12.75);
  EXPECT_EQ(parseStoredReal("+7"), 7.0);
  EXPECT_FALSE(parseStoredReal("1.2,3"));
  EXPECT_FALSE(parseStoredReal(" "));
}

TEST(IntParse, DecimalInt32InRange) {
  EXPECT_EQ(parseInt("00042"), 42);
  EXPECT_EQ(parseInt(" -7 "), -7);
  EXPECT_EQ(parseInt("+7"), 7);
  EXPECT_EQ(parseInt("2147483647"), 2147483647);
  EXPECT_FALSE(parseInt("2147483648"));
  EXPECT_FALSE(parseInt("4.5"));
  EXPECT_FALSE(parseInt("+-1"));
  EXPECT_FALSE(parseInt("+"));
  EXPECT_FALSE(parseInt(""));
}

}  // namespace
}  // namespace qj
