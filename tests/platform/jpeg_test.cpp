#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qj {
namespace {

// Four flat quarters: red, green (top right), blue (bottom left) and white, large enough
// for JPEG to keep their colours.
RgbImage quarters(int w, int h) {
  static constexpr uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  RgbImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* c = colours[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)];
      std::copy(c, c + 3, img.at(x, y));
    }
  return img;
}

void expectNear(const uint8_t* p, int r, int g, int b) {
  EXPECT_NEAR(p[0], r, 12);
  EXPECT_NEAR(p[1], g, 12);
  EXPECT_NEAR(p[2], b, 12);
}

TEST(Jpeg, DecodesWhatItEncodedAtItsSizeAndColours) {
  const std::string bytes = encodeJpeg(quarters(64, 48), 95);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xD8);

  const JpegDecode d = decodeJpeg(bytes);
  ASSERT_TRUE(d.image) << d.error;
  ASSERT_EQ(d.image->width, 64);
  ASSERT_EQ(d.image->height, 48);
  ASSERT_EQ(d.image->pixels.size(), 64u * 48 * 3);
  expectNear(d.image->at(8, 8), 255, 0, 0);
  expectNear(d.image->at(56, 8), 0, 255, 0);
  expectNear(d.image->at(8, 40), 0, 0, 255);
  expectNear(d.image->at(56, 40), 255, 255, 255);
}

TEST(Jpeg, RefusesEmptyForeignTruncatedAndDamagedData) {
  const std::string good = encodeJpeg(quarters(64, 48), 90);
  ASSERT_TRUE(decodeJpeg(good).image);

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

TEST(Jpeg, RefusesAPictureLargerThanTheLimitBeforeDecodingIt) {
  const std::string bytes = encodeJpeg(quarters(64, 48), 90);
  EXPECT_TRUE(decodeJpeg(bytes, 64 * 48).image);
  const JpegDecode d = decodeJpeg(bytes, 64 * 48 - 1);
  EXPECT_FALSE(d.image);
  EXPECT_NE(d.error.find("64x48"), std::string::npos) << d.error;
}

TEST(Jpeg, EncodesNothingForAnImageWithoutPixels) {
  EXPECT_TRUE(encodeJpeg(RgbImage(), 90).empty());
  RgbImage inconsistent(4, 4);
  inconsistent.pixels.resize(5);
  EXPECT_TRUE(encodeJpeg(inconsistent, 90).empty());
}

}  // namespace
}  // namespace qj
