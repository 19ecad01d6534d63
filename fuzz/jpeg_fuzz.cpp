// The help window's pictures: JPEG files decoded to RGB. A picture decoded is encoded again
// and decodes to a picture of the same size.

#include "fuzz_support.h"
#include "platform/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  // The program's limit is reached by a smaller picture here: the same code, quicker runs.
  constexpr int64_t kMaxPixels = 1 << 20;
  const JpegDecode read =
      decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size), kMaxPixels);
  fuzz::require(read.image.has_value() != !read.error.empty(),
                "a decode gives a picture or a reason");
  if (!read.image) return 0;
  const RgbImage& image = *read.image;
  fuzz::require(image.width > 0 && image.height > 0 &&
                    image.pixels.size() == static_cast<size_t>(image.width) * image.height * 3 &&
                    static_cast<int64_t>(image.width) * image.height <= kMaxPixels,
                "a picture decoded has the size it says");
  const JpegDecode again = decodeJpeg(encodeJpeg(image, 90), kMaxPixels);
  fuzz::require(
      again.image && again.image->width == image.width && again.image->height == image.height,
      "a picture encoded decodes to another size");
  return 0;
}
