#include "platform/jpeg.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
// clang-format on

namespace qj {
namespace {

// libjpeg's own error handler ends the process; ours jumps back to the call that started
// the work with the library's message.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void failJpeg(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings are counted (the decoder refuses a picture that raised one), never printed.
void quietJpeg(j_common_ptr) {}

void installErrors(ErrorManager& err) {
  jpeg_std_error(&err.base);
  err.base.error_exit = failJpeg;
  err.base.output_message = quietJpeg;
  err.message[0] = '\0';
}

// The library's work, in a frame of its own: after a jump back to its setjmp only trivial
// locals of this frame are left behind, and everything the work changed lives in the
// caller's frame. Returns false with err.message set on failure.
bool decodeInto(jpeg_decompress_struct* info, ErrorManager* err, std::string_view bytes,
                int64_t maxPixels, RgbImage* out) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(info);
  jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(info, TRUE);
  const int64_t pixels = static_cast<int64_t>(info->image_width) * info->image_height;
  if (pixels > maxPixels) {
    std::snprintf(err->message, sizeof err->message, "the picture of %ux%u pixels is too large",
                  info->image_width, info->image_height);
    return false;
  }
  info->out_color_space = JCS_RGB;
  jpeg_start_decompress(info);
  if (info->output_components != 3) {
    std::snprintf(err->message, sizeof err->message, "the picture does not decode to RGB");
    return false;
  }
  *out = RgbImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height));
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = out->at(0, static_cast<int>(info->output_scanline));
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  if (err->base.num_warnings > 0) {
    std::snprintf(err->message, sizeof err->message, "the picture's data is damaged");
    return false;
  }
  return true;
}

bool encodeInto(jpeg_compress_struct* info, ErrorManager* err, const RgbImage* image, int quality,
                unsigned char** buffer, unsigned long* size) {
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(info);
  jpeg_mem_dest(info, buffer, size);
  info->image_width = static_cast<JDIMENSION>(image->width);
  info->image_height = static_cast<JDIMENSION>(image->height);
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    // libjpeg reads the rows; its interface merely lacks the const.
    JSAMPROW row = const_cast<uint8_t*>(image->at(0, static_cast<int>(info->next_scanline)));
    jpeg_write_scanlines(info, &row, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

}  // namespace

JpegDecode decodeJpeg(std::string_view bytes, int64_t maxPixels) {
  JpegDecode result;
  RgbImage image;
  jpeg_decompress_struct info{};
  ErrorManager err{};
  installErrors(err);
  info.err = &err.base;
  if (decodeInto(&info, &err, bytes, maxPixels, &image))
    result.image = std::move(image);
  else
    result.error = err.message;
  jpeg_destroy_decompress(&info);
  return result;
}

std::string encodeJpeg(const RgbImage& image, int quality) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3)
    return {};
  jpeg_compress_struct info{};
  ErrorManager err{};
  installErrors(err);
  info.err = &err.base;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::string bytes;
  if (encodeInto(&info, &err, &image, quality, &buffer, &size))
    bytes.assign(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

}  // namespace qj
