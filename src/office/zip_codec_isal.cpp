// The ISA-L codec: raw deflate streams, packed at its fastest level through a fixed buffer
// of its own.

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <stdexcept>

#include "office/zip_codecs.h"

namespace qj::office {
namespace {

uint32_t clampTo32(size_t n) {
  return static_cast<uint32_t>(std::min<size_t>(n, UINT32_MAX));
}

class IsalInflater final : public Inflater {
 public:
  IsalInflater() : s_(std::make_unique<inflate_state>()) {
    isal_inflate_init(s_.get());
    s_->crc_flag = ISAL_GZIP_NO_HDR;  // the checksum of what is unpacked, as zip keeps it
  }

  void give(const uint8_t* packed, size_t n) override {
    s_->next_in = const_cast<uint8_t*>(packed);
    s_->avail_in = clampTo32(n);
  }
  bool hungry() const override { return s_->avail_in == 0; }

  size_t unpack(uint8_t* out, size_t room) override {
    if (state_ != State::Going) return 0;
    s_->next_out = out;
    s_->avail_out = clampTo32(room);
    const uint32_t before = s_->avail_out;
    const int rc = isal_inflate(s_.get());
    if (rc < 0 || rc == ISAL_NEED_DICT)
      state_ = State::Broken;
    else if (s_->block_state == ISAL_BLOCK_FINISH)
      state_ = State::Finished;
    return before - s_->avail_out;
  }
  State state() const override { return state_; }
  uint32_t crc() const override { return s_->crc; }

 private:
  std::unique_ptr<inflate_state> s_;  // some 40 KiB
  State state_ = State::Going;
};

class IsalDeflater final : public Deflater {
 public:
  IsalDeflater() : level_(new uint8_t[kLevelBuffer]) { reset(); }

  void reset() override {
    isal_deflate_init(&z_);
    z_.level = 1;
    z_.level_buf = level_.get();
    z_.level_buf_size = kLevelBuffer;
    crc_ = 0;
  }
  void give(std::string_view data, bool last) override {
    if (data.size() > UINT32_MAX) throw std::length_error("deflate: too many bytes at once");
    z_.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(data.data()));
    z_.avail_in = static_cast<uint32_t>(data.size());
    z_.end_of_stream = last ? 1 : 0;
    crc_ = crc32_gzip_refl(crc_, z_.next_in, data.size());
  }
  size_t pack(uint8_t* out, size_t room) override {
    z_.next_out = out;
    z_.avail_out = clampTo32(room);
    const uint32_t before = z_.avail_out;
    if (isal_deflate(&z_) != COMP_OK) throw std::runtime_error("the compressor failed");
    return before - z_.avail_out;
  }
  bool done() const override {
    return z_.end_of_stream ? z_.internal_state.state == ZSTATE_END : z_.avail_in == 0;
  }
  uint32_t crc() const override { return crc_; }

 private:
  static constexpr size_t kLevelBuffer = ISAL_DEF_LVL1_DEFAULT;

  isal_zstream z_{};
  std::unique_ptr<uint8_t[]> level_;
  uint32_t crc_ = 0;
};

}  // namespace

std::unique_ptr<Inflater> makeIsalInflater() {
  return std::make_unique<IsalInflater>();
}

std::unique_ptr<Deflater> makeIsalDeflater() {
  return std::make_unique<IsalDeflater>();
}

}  // namespace qj::office
