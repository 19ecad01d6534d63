#include "records/bytes.h"

#include <bit>
#include <cstring>

namespace qj {

static_assert(std::endian::native == std::endian::little, "the records are little-endian");
static_assert(sizeof(double) == 8);

bool ByteReader::holds(int64_t count, size_t itemSize) const {
  if (count < 0) return false;
  if (itemSize == 0 || count == 0) return true;
  return static_cast<uint64_t>(count) <= remaining() / itemSize;
}

void ByteReader::need(size_t n) const {
  if (n > remaining())
    throw ReadError("the file ends at byte " + std::to_string(bytes_.size()) + ", " +
                    std::to_string(n) + " bytes were expected at byte " + std::to_string(pos_));
}

void ByteReader::seek(size_t pos) {
  if (pos > bytes_.size())
    throw ReadError("byte " + std::to_string(pos) + " lies beyond the end of the file");
  pos_ = pos;
}

void ByteReader::skip(size_t n) {
  need(n);
  pos_ += n;
}

uint8_t ByteReader::u8() {
  need(1);
  return static_cast<uint8_t>(bytes_[pos_++]);
}

int32_t ByteReader::i32() {
  need(4);
  int32_t v;
  std::memcpy(&v, bytes_.data() + pos_, 4);
  pos_ += 4;
  return v;
}

double ByteReader::f64() {
  need(8);
  double v;
  std::memcpy(&v, bytes_.data() + pos_, 8);
  pos_ += 8;
  return v;
}

std::string ByteReader::raw(size_t n) {
  need(n);
  std::string out(bytes_.substr(pos_, n));
  pos_ += n;
  return out;
}

std::string ByteReader::shortString(int n) {
  const size_t slot = static_cast<size_t>(n) + 1;
  need(slot);
  size_t len = static_cast<uint8_t>(bytes_[pos_]);
  if (len > static_cast<size_t>(n)) len = static_cast<size_t>(n);
  std::string out(bytes_.substr(pos_ + 1, len));
  pos_ += slot;
  return out;
}

void ByteWriter::i32(int32_t v) {
  char b[4];
  std::memcpy(b, &v, 4);
  bytes_.append(b, 4);
}

void ByteWriter::f64(double v) {
  char b[8];
  std::memcpy(b, &v, 8);
  bytes_.append(b, 8);
}

void ByteWriter::shortString(std::string_view text, int n) {
  const size_t len = std::min(text.size(), static_cast<size_t>(std::min(n, 255)));
  u8(static_cast<uint8_t>(len));
  bytes_.append(text.substr(0, len));
  zeros(static_cast<size_t>(n) - len);
}

}  // namespace qj
