#include "records/cp1251.h"

#include <gtest/gtest.h>

#include "records/text.h"

namespace qj {
namespace {

TEST(Cp1251, EveryMappedByteRoundTripsThroughUtf8) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    bool ok = false;
    const std::string back = cp1251::fromUtf8(cp1251::toUtf8(one), &ok);
    // 0x98 is unassigned in code page 1251.
    EXPECT_EQ(ok ? back : cp1251::toUtf8(one), b == 0x98 ? "\xEF\xBF\xBD" : one) << "byte " << b;
  }
}

TEST(Cp1251, CyrillicSignsUpperCaseAndUnrepresentableCharacters) {
  EXPECT_EQ(cp1251::toUtf8("\xD0\xF3\xF1"), "Рус");
  EXPECT_EQ(cp1251::fromUtf8("ёЁ№ мин."), "\xB8\xA8\xB9 \xEC\xE8\xED.");
  EXPECT_EQ(cp1251::upper(cp1251::fromUtf8("abcz абв ёя")), cp1251::fromUtf8("ABCZ АБВ ЁЯ"));
  bool ok = true;
  EXPECT_EQ(cp1251::fromUtf8("a€b中c😀\xE0\xA0\x80\xC2\x80", &ok),
            "a\x88"
            "b?c???");  // then U+0800 and U+0080
  EXPECT_FALSE(ok);
  EXPECT_FALSE(cp1251::representable("\xE4\xB8"));  // cut sequence
  EXPECT_TRUE(cp1251::representable("Улица Ленина"));
}

// Blanks are control characters too; ASCII letters compare without regard to case.
TEST(TextHelpers, TrimCompareCutAndPad) {
  EXPECT_EQ(trimmed(" \t a b\x01 ") + "|" + trimmed("   ") + "|" + trimRight(" a \x1F"), "a b|| a");
  EXPECT_TRUE(startsWith("qj_AB", "qj_") && !startsWith("q", "qj_"));
  EXPECT_TRUE(equalsIgnoreAsciiCase("Shell AZ", "sHELL az"));
  EXPECT_FALSE(equalsIgnoreAsciiCase("\xD0", "\xF0") || equalsIgnoreAsciiCase("ab", "abc"));
  EXPECT_EQ(padLeft("7", 3, '0') + padLeft("1234", 3, '0') + cut("abc", 2), "0071234ab");
  // Cut after the leading blanks go, and no blank left at the cut.
  EXPECT_EQ(cutTrimmed("  ab cd", 3) + "|" + cutTrimmed(" ab\x01 cd ", 4) + "|" +
                cutTrimmed(" abc ", 4) + "|" + cutTrimmed(" ", 2),
            "ab|ab|abc|");
  EXPECT_TRUE(isCyrillicLower('\xE0') && !isCyrillicLower('\xDF'));
  EXPECT_FALSE(allDigits("0:"));
}

}  // namespace
}  // namespace qj
