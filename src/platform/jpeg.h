#pragma once
// JPEG pictures as plain RGB pixels, through libjpeg: the help window's backgrounds are
// decoded here and the build-time tool that draws them encodes them here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

// Three bytes (red, green, blue) per pixel, rows from the top, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 0) {}
  uint8_t* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* at(int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width + x) * 3];
  }
};

struct JpegDecode {
  std::optional<RgbImage> image;
  std::string error;  // UTF-8, set when the bytes are not a sound picture
};

// The largest picture decoded: a header that claims more pixels is refused before any
// allocation.
inline constexpr int64_t kJpegMaxPixels = 16 * 1024 * 1024;

// Decodes a whole JPEG file (grey or colour) into RGB. Damaged data, a truncated file and
// a picture larger than maxPixels are refused with the reason; nothing is written to the
// terminal.
JpegDecode decodeJpeg(std::string_view bytes, int64_t maxPixels = kJpegMaxPixels);

// The JPEG file of a picture at a quality of 1 to 100; empty for an image without pixels.
std::string encodeJpeg(const RgbImage& image, int quality);

}  // namespace qj
