// The zlib codec: raw deflate streams (no zlib or gzip wrapper), as zip keeps them.

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

#include "office/zip_codecs.h"

namespace qj::office {
namespace {

constexpr int kRawWindow = -15;  // a 32 KiB window and no wrapper

// crc32_z gives the checksum's start value for no bytes at a null pointer, as an empty
// string view may have.
uLong checksum(uLong crc, const Bytef* bytes, size_t n) {
  return n == 0 ? crc : crc32_z(crc, bytes, n);
}

uInt clampToUInt(size_t n) {
  return static_cast<uInt>(std::min<size_t>(n, UINT_MAX));
}

class ZlibInflater final : public Inflater {
 public:
  ZlibInflater() {
    if (inflateInit2(&z_, kRawWindow) != Z_OK) throw std::bad_alloc();
  }
  ~ZlibInflater() override { inflateEnd(&z_); }
  ZlibInflater(const ZlibInflater&) = delete;
  ZlibInflater& operator=(const ZlibInflater&) = delete;

  void give(const uint8_t* packed, size_t n) override {
    z_.next_in = const_cast<Bytef*>(packed);
    z_.avail_in = clampToUInt(n);
  }
  bool hungry() const override { return z_.avail_in == 0; }

  size_t unpack(uint8_t* out, size_t room) override {
    if (state_ != State::Going) return 0;
    z_.next_out = out;
    z_.avail_out = clampToUInt(room);
    const uInt before = z_.avail_out;
    const int rc = inflate(&z_, Z_NO_FLUSH);
    const size_t got = before - z_.avail_out;
    crc_ = checksum(crc_, out, got);
    switch (rc) {
      case Z_STREAM_END: state_ = State::Finished; break;
      case Z_OK:
      case Z_BUF_ERROR: break;  // no progress without more bytes or room
      case Z_MEM_ERROR: throw std::bad_alloc();
      default: state_ = State::Broken;
    }
    return got;
  }
  State state() const override { return state_; }
  uint32_t crc() const override { return static_cast<uint32_t>(crc_); }

 private:
  z_stream z_{};
  State state_ = State::Going;
  uLong crc_ = crc32_z(0, nullptr, 0);
};

class ZlibDeflater final : public Deflater {
 public:
  ZlibDeflater() {
    if (deflateInit2(&z_, 1, Z_DEFLATED, kRawWindow, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
  }
  ~ZlibDeflater() override { deflateEnd(&z_); }
  ZlibDeflater(const ZlibDeflater&) = delete;
  ZlibDeflater& operator=(const ZlibDeflater&) = delete;

  void reset() override {
    deflateReset(&z_);
    crc_ = crc32_z(0, nullptr, 0);
    last_ = ended_ = false;
  }
  void give(std::string_view data, bool last) override {
    if (data.size() > UINT_MAX) throw std::length_error("deflate: too many bytes at once");
    z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z_.avail_in = static_cast<uInt>(data.size());
    crc_ = checksum(crc_, z_.next_in, data.size());
    last_ = last;
  }
  size_t pack(uint8_t* out, size_t room) override {
    z_.next_out = out;
    z_.avail_out = clampToUInt(room);
    const uInt before = z_.avail_out;
    const int rc = deflate(&z_, last_ ? Z_FINISH : Z_NO_FLUSH);
    if (rc == Z_STREAM_END) ended_ = true;
    if (rc == Z_STREAM_ERROR) throw std::runtime_error("the compressor failed");
    return before - z_.avail_out;
  }
  bool done() const override { return last_ ? ended_ : z_.avail_in == 0; }
  uint32_t crc() const override { return static_cast<uint32_t>(crc_); }

 private:
  z_stream z_{};
  uLong crc_ = crc32_z(0, nullptr, 0);
  bool last_ = false, ended_ = false;
};

}  // namespace

std::unique_ptr<Inflater> makeZlibInflater() {
  return std::make_unique<ZlibInflater>();
}

std::unique_ptr<Deflater> makeZlibDeflater() {
  return std::make_unique<ZlibDeflater>();
}

}  // namespace qj::office
