#include "platform/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qj {
namespace {

class LocaleEnv : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("LC_ALL"); }
};

TEST_F(LocaleEnv, TheCLocaleHasAPoint) {
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(localeDecimalSeparator(), '.');
}

TEST_F(LocaleEnv, AnUnknownLocaleFallsBackToAComma) {
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(localeDecimalSeparator(), ',');
}

}  // namespace
}  // namespace qj
