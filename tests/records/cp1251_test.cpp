#include "records/cp1251.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(Cp1251, EveryMappedByteRoundTripsThroughUtf8) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    bool ok = false;
    if (b == 0x98)  // unassigned in code page 1251
      EXPECT_EQ(cp1251::toUtf8(one), "\xEF\xBF\xBD");
    else
      EXPECT_EQ(cp1251::fromUtf8(cp1251::toUtf8(one), &ok), one) << "byte " << b;
    EXPECT_EQ(ok, b != 0x98) << "byte " << b;
  }
}

TEST(Cp1251, CyrillicSignsUpperCaseAndUnrepresentableCharacters) {
  EXPECT_EQ(cp1251::toUtf8("\xD0\xF3\xF1"), "Рус");
  EXPECT_EQ(cp1251::fromUtf8("ёЁ№ мин."), "\xB8\xA8\xB9 \xEC\xE8\xED.");
  EXPECT_EQ(cp1251::upper(cp1251::fromUtf8("abc абв ёя")), cp1251::fromUtf8("ABC АБВ ЁЯ"));
  bool ok = true;
  EXPECT_EQ(cp1251::fromUtf8("a€b中c", &ok),
            "a\x88"
            "b?c");
  EXPECT_FALSE(ok);
  EXPECT_FALSE(cp1251::representable("\xE4\xB8"));  // cut sequence
  EXPECT_TRUE(cp1251::representable("Улица Ленина"));
}

}  // namespace
}  // namespace qj
