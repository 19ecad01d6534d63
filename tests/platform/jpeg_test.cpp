#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <array>

namespace qj {
namespace {

// Four flat quarters: red, green (top right), blue (bottom left) and white, large enough for
// JPEG to keep their colours.
const std::array<std::array<int, 3>, 4> kColours = {
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};

TEST(Jpeg, DecodesWhatItEncodedWithinTheLimitAndRefusesWhatIsNotAPicture) {
  RgbImage img(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      for (int i = 0; i < 3; ++i) img.at(x, y)[i] = kColours[(y >= 24) * 2 + (x >= 32)][i];
  const std::string bytes = encodeJpeg(img, 95);
  const JpegDecode d = decodeJpeg(bytes, 64 * 48);
  ASSERT_TRUE(d.image) << d.error;
  ASSERT_EQ(std::pair(d.image->width, d.image->height), std::pair(64, 48));
  for (const auto& [x, y] : {std::pair{8, 8}, {56, 8}, {8, 40}, {56, 40}})
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(d.image->at(x, y)[i], kColours[(y >= 24) * 2 + (x >= 32)][i], 12) << x << y;
  // A picture larger than the limit is refused before it is decoded.
  EXPECT_NE(decodeJpeg(bytes, 64 * 48 - 1).error.find("64x48"), std::string::npos);
  EXPECT_TRUE(encodeJpeg(RgbImage(4, 0), 90).empty() && encodeJpeg(RgbImage(0, 4), 90).empty());
  img.pixels.resize(5);
  EXPECT_TRUE(encodeJpeg(img, 90).empty());

  for (const std::string& bad :
       {std::string(), std::string("not a picture at all"), bytes.substr(0, 2),
        bytes.substr(0, bytes.size() / 2), bytes.substr(0, bytes.size() - 2)}) {
    const JpegDecode r = decodeJpeg(bad);
    EXPECT_FALSE(r.image) << bad.size() << " bytes";
    EXPECT_FALSE(r.error.empty()) << bad.size() << " bytes";
  }
  // Bytes flipped inside the entropy-coded data: refused or decoded, never a crash.
  std::string damaged = bytes;
  for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 40; ++i) damaged[i] ^= 0x5A;
  const JpegDecode r = decodeJpeg(damaged);
  EXPECT_TRUE(!r.image || r.image->pixels.size() == 64u * 48 * 3);
}

}  // namespace
}  // namespace qj
