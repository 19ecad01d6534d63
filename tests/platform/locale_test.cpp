#include "platform/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qj {
namespace {

TEST(Locale, TheCLocaleHasAPointAnUnknownOneFallsBackToAComma) {
  for (const auto& [name, separator] : {std::pair{"C", '.'}, {"xx_NOWHERE.UTF-8", ','}}) {
    setenv("LC_ALL", name, 1);
    EXPECT_EQ(localeDecimalSeparator(), separator) << name;
  }
  unsetenv("LC_ALL");
}

}  // namespace
}  // namespace qj
