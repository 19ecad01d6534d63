#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

namespace qj {
namespace {

// Four flat quarters: red, green (top right), blue (bottom left) and white, large enough
// for JPEG to keep their colours.
RgbImage quarters() {
  static constexpr uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  RgbImage img(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint8_t* c = colours[(y >= 24 ? 2 : 0) + (x >= 32 ? 1 : 0)];
      std::copy(c, c + 3, img.at(x, y));
    }
  return img;
}

TEST(Jpeg, DecodesWhatItEncodedAtItsSizeAndColoursWithinTheLimit) {
  const std::string bytes = encodeJpeg(quarters(), 95);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
  const JpegDecode d = decodeJpeg(bytes, 64 * 48);
  ASSERT_TRUE(d.image) << d.error;
  ASSERT_EQ(d.image->width, 64);
  ASSERT_EQ(d.image->height, 48);
  ASSERT_EQ(d.image->pixels.size(), 64u * 48 * 3);
  const std::tuple<int, int, std::array<int, 3>> probes[] = {
      {8, 8, {255, 0, 0}}, {56, 8, {0, 255, 0}}, {8, 40, {0, 0, 255}}, {56, 40, {255, 255, 255}}};
  for (const auto& [x, y, rgb] : probes)
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(d.image->at(x, y)[i], rgb[i], 12) << x << "," << y;
  // A picture larger than the limit is refused before it is decoded.
  const JpegDecode large = decodeJpeg(bytes, 64 * 48 - 1);
  EXPECT_FALSE(large.image);
  EXPECT_NE(large.error.find("64x48"), std::string::npos) << large.error;
  // An image without pixels encodes to nothing.
  EXPECT_TRUE(encodeJpeg(RgbImage(), 90).empty());
  RgbImage inconsistent(4, 4);
  inconsistent.pixels.resize(5);
  EXPECT_TRUE(encodeJpeg(inconsistent, 90).empty());
}

TEST(Jpeg, RefusesEmptyForeignTruncatedAndDamagedData) {
  const std::string good = encodeJpeg(quarters(), 90);
  for (const std::string& bad :
       {std::string(), std::string("not a picture at all"), good.substr(0, 2),
        good.substr(0, good.size() / 2), good.substr(0, good.size() - 2)}) {
    const JpegDecode d = decodeJpeg(bad);
    EXPECT_FALSE(d.image) << bad.size() << " bytes";
    EXPECT_FALSE(d.error.empty()) << bad.size() << " bytes";
  }
  // Bytes flipped inside the entropy-coded data: refused or decoded, never a crash.
  std::string damaged = good;
  for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 40; ++i) damaged[i] ^= 0x5A;
  const JpegDecode d = decodeJpeg(damaged);
  if (d.image) {
    EXPECT_EQ(d.image->pixels.size(), 64u * 48 * 3);
  }
}

}  // namespace
}  // namespace qj
