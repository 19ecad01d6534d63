#include "platform/design_scale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qj {
namespace {

// The scale is the widest reference's ratio to the design font, rounded up to an eighth.
// Each row: how many times wider than in the design font the references are (1 where not
// given), and the scale.
TEST(DesignScale, TheWidestReferenceRoundedUpToAnEighth) {
  const std::string_view latin = kDesignReferences[0].text, cyrillic = kDesignReferences[1].text,
                         digits = kDesignReferences[2].text;
  const std::pair<std::map<std::string_view, double>, double> cases[] = {
      // clang-format off
      {{}, 1.0}, {{{latin, 1.192}}, 1.25}, {{{latin, 1.25}}, 1.25},
      {{{latin, 1.19}, {cyrillic, 1.3}}, 1.375}, {{{digits, 1.6}}, 1.625},
      {{{latin, 0.9}, {cyrillic, 0.9}, {digits, 0.9}}, 1.0},
      {{{latin, 0.5}, {cyrillic, 0.5}, {digits, 0.5}}, 0.5},
      // clang-format on
  };
  for (const auto& [given, scale] : cases) {
    const auto& ratios = given;  // clang 14 lets no lambda capture a structured binding
    EXPECT_DOUBLE_EQ(designScale([&ratios](std::string_view text) {
                       for (const DesignReference& r : kDesignReferences)
                         if (r.text == text)
                           return r.designAdvance * (ratios.count(text) ? ratios.at(text) : 1.0);
                       ADD_FAILURE() << "not a reference: " << text;
                       return 0.0;
                     }),
                     scale);
  }
  EXPECT_EQ(scaledPixels(1010, 1.25), 1263);
  EXPECT_EQ(scaledPixels(37, 1.25), 46);
  EXPECT_EQ(scaledPixels(0, 1.625), 0);
  // The advances the design's captions were laid out with: "Point No." just fits a 46-pixel
  // title (limit 44), "Section" does not fit a 37-pixel one; "Улица" in code page 1251.
  EXPECT_EQ(designAdvance("Point No."), 44);
  EXPECT_EQ(designAdvance("Section"), 36);
  EXPECT_EQ(designAdvance(""), 0);
  EXPECT_EQ(designAdvance("\xD3\xEB\xE8\xF6\xE0"), 8 + 6 + 6 + 6 + 6);
}

}  // namespace
}  // namespace qj
