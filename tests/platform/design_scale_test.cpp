#include "platform/design_scale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qj {
namespace {

// A font whose references are `ratios` times as wide as in the design font (1 where not
// given).
FontAdvance fontWithRatios(std::map<std::string_view, double> ratios) {
  return [ratios](std::string_view text) {
    for (const DesignReference& r : kDesignReferences)
      if (r.text == text) return r.designAdvance * (ratios.count(text) ? ratios.at(text) : 1.0);
    ADD_FAILURE() << "not a reference: " << text;
    return 0.0;
  };
}

TEST(DesignScale, TheWidestReferenceRoundedUpToAnEighth) {
  const std::string_view latin = kDesignReferences[0].text;
  const std::string_view cyrillic = kDesignReferences[1].text;
  const std::string_view digits = kDesignReferences[2].text;
  struct Case {
    std::map<std::string_view, double> ratios;
    double scale;
  } cases[] = {
      {{}, 1.0},
      {{{latin, 1.192}}, 1.25},
      {{{latin, 1.25}}, 1.25},
      {{{latin, 1.19}, {cyrillic, 1.3}}, 1.375},
      {{{digits, 1.6}}, 1.625},
      {{{latin, 0.9}, {cyrillic, 0.9}, {digits, 0.9}}, 1.0},
      {{{latin, 0.5}, {cyrillic, 0.5}, {digits, 0.5}}, 0.5},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(designScale(fontWithRatios(c.ratios)), c.scale);
}

TEST(DesignScale, DesignLengthsToThePixel) {
  EXPECT_EQ(scaledPixels(1010, 1.25), 1263);
  EXPECT_EQ(scaledPixels(37, 1.25), 46);
  EXPECT_EQ(scaledPixels(0, 1.625), 0);
}

// The advances the design's captions were laid out with: "Point No." just fits a 46-pixel
// title (limit 44), "Section" does not fit a 37-pixel one.
TEST(DesignScale, DesignAdvancesOfCaptions) {
  EXPECT_EQ(designAdvance("Point No."), 44);
  EXPECT_EQ(designAdvance("Section"), 36);
  EXPECT_EQ(designAdvance(""), 0);
  // "Улица" in code page 1251.
  EXPECT_EQ(designAdvance("\xD3\xEB\xE8\xF6\xE0"), 8 + 6 + 6 + 6 + 6);
  for (const DesignReference& r : kDesignReferences)
    if (static_cast<unsigned char>(r.text.front()) < 0x80)
      EXPECT_EQ(designAdvance(r.text), r.designAdvance) << r.text;
}

}  // namespace
}  // namespace qj
